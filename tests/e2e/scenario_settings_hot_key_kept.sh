#!/usr/bin/env bash
# A hot key chosen while the start's key is taken is kept: another program
# holds F6, so the start shows "n/a"; the user saves Ctrl+Alt+W. Closing the
# settings window registers F6 again and fails again, but the field and the
# file keep the saved key through the next opening and Save.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

ini=$(settings_ini)
ini=${ini/HotKey=F4/HotKey=F6}
# A copy in another folder is a program of its own; it takes F6 first. Its
# settings window is made once its hot key is registered.
wh_install 'C:\holder' "${ini/UserMasks=exe lnk/UserMasks=holder}"
wh_start
holder=$WH_PID
wait_until 60 driver windows --class WordhopperSettings

wh_install 'C:\wh' "$ini"
wh_start
wait_until 60 driver_is msgbox.0.text 'Unable to assign hot-key.' msgbox --caption Wordhopper
driver msgbox-press OK >/dev/null
wait_until 20 _no_message_box

# The tray menu of this copy: its icon is the second in Wine's tray window.
# A click that reaches the menu before it takes clicks is tried again.
_settings_shown() { driver_is visible 1 settings; }
open_settings_of_second_icon() {
  local tray WIDTH HEIGHT X Y SCREEN WINDOW left top right bottom attempt
  for attempt in 1 2 3; do
    focus_wine_window '^Wine System Tray$'
    tray=$(_visible_window '^Wine System Tray$')
    eval "$(xdotool getwindowgeometry --shell "$tray")"
    xdotool mousemove --window "$tray" $((HEIGHT * 3 / 2)) $((HEIGHT / 2)) click 1
    wait_until 20 _tray_menu_open
    read -r left top right bottom <<<"$(driver windows --class '#32768' | dval window.0.rect)"
    # Settings, the fourth of six equal lines.
    xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) * 7 / 12))
    xdotool click 1
    for _ in $(seq 25); do
      _settings_shown && break 2
      sleep 0.2
    done
    log "the menu missed the click (attempt $attempt)"
    press Escape
  done
  wait_until 20 _settings_shown
  expect_eq "this copy's settings" "exe lnk" "$(driver settings | dval masks.text)"
}

# Save, then the refused registration of F6 as the window closes.
save_settings() {
  driver click --hwnd "$(driver settings | dval hwnd)" --id "$ID_SAVE" >/dev/null
  wait_until 20 driver_is msgbox.0.text 'Unable to assign hot-key.' msgbox --caption Wordhopper
  driver msgbox-press OK >/dev/null
  wait_until 20 _no_message_box
}

open_settings_of_second_icon
expect_eq "field after the refused start" "0 0" "$(driver settings | dval hot_key.hotkey)"
focus_wine_window '^Wordhopper Settings$'
for _ in $(seq 20); do
  [ "$(driver settings | dval focus)" = hot_key ] && break
  press shift+Tab
done
wait_until 10 driver_is focus hot_key settings
press ctrl+alt+w
# W with HOTKEYF_CONTROL and HOTKEYF_ALT.
wait_until 10 driver_is hot_key.hotkey "87 6" settings
save_settings
ini_file="$WH_DIR/wordhopper.ini"
expect_eq "saved" "Ctrl+Alt+W" "$(ini_value "$ini_file" Form HotKey)"

open_settings_of_second_icon
expect_eq "field at the next opening" "87 6" "$(driver settings | dval hot_key.hotkey)"
save_settings
expect_eq "saved again" "Ctrl+Alt+W" "$(ini_value "$ini_file" Form HotKey)"
wh_pid_alive || fail "wordhopper.exe ended"
wh_pid_alive "$holder" || fail "the first copy ended"
log "passed"
