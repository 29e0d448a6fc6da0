#!/usr/bin/env bash
# The settings window opened from the tray shows the saved settings; while
# it is open the hot key is the field's, not the program's; after Cancel the
# hot key shows the main window again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

ini=$(settings_ini)
ini=${ini/UserDir=/UserDir=C:\\tools}
ini=${ini/AllUsersDeskTop=1/AllUsersDeskTop=0}
ini=${ini/HideToSystemTray=1/HideToSystemTray=1$'\r\n'StayOnTop=1}
wh_install 'C:\wh' "$ini"
mkdir -p "$(unix_path 'C:\tools')"
wh_start
wait_until 60 driver windows --class WordhopperSettings
expect_eq "hidden at the start" 0 "$(driver settings | dval visible)"

open_settings_from_tray
seen=$(driver settings)
expect_eq "caption" "Wordhopper Settings" "$(dval caption <<<"$seen")"
expect_eq "topmost" 1 "$(dval topmost <<<"$seen")"
expect_eq "client size" "592 595" "$(dval client <<<"$seen")"
expect_eq "focus" user_dir "$(dval focus <<<"$seen")"
expect_eq "user directory" 'C:\\tools' "$(dval user_dir.text <<<"$seen")"
expect_eq "masks" "exe lnk" "$(dval masks.text <<<"$seen")"
expect_eq "ignore list" "the a of" "$(dval ignore_list.text <<<"$seen")"
# F4 without modifiers.
expect_eq "hot-key field" "115 0" "$(dval hot_key.hotkey <<<"$seen")"
expect_match "version label" '^Wordhopper version: [0-9]+\.[0-9]+\.[0-9]+ \(Build [0-9]+\)$' \
  "$(dval version.text <<<"$seen")"
for box in user_start_menu:1 all_users_start_menu:1 user_desktop:1 all_users_desktop:0 \
  favorites:1 history:1 recent_files:1 hide_when_launching:0 start_with_windows:0 \
  hide_to_system_tray:1 start_on_one_match:1 stay_on_top:1; do
  expect_eq "${box%:*}" "${box#*:}" "$(dval "${box%:*}.checked" <<<"$seen")"
done
expect_eq "check box caption" "Automaticilly start application when keyword maches a single item (not recommended with many items) ." \
  "$(dval start_on_one_match.text <<<"$seen")"
expect_eq "link" "This software is freeware, any donations are welcome." "$(dval donation_link.text <<<"$seen")"
expect_eq "buttons" "Save Cancel" "$(dval save.text <<<"$seen") $(dval cancel.text <<<"$seen")"

# The window is centred on the 1280 x 1024 screen.
read -r left top right bottom <<<"$(dval rect <<<"$seen")"
expect_eq "centred across" 1 $(( (left + right) / 2 >= 638 && (left + right) / 2 <= 642 ))
expect_eq "centred down" 1 $(( (top + bottom) / 2 >= 510 && (top + bottom) / 2 <= 514 ))

# The hot key belongs to the field while the window is open: pressed into
# the field, it is recorded there and does not show the main window. The
# field is reached backwards from the user-directory field: the seven check
# boxes of the first group, then round to Save, Cancel and the hot-key field.
focus_wine_window '^Wordhopper Settings$'
wait_until 10 driver_is focus user_dir settings
press shift+Tab
wait_until 10 driver_is focus favorites settings
press shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
wait_until 10 driver_is focus user_start_menu settings
press shift+Tab shift+Tab shift+Tab
wait_until 10 driver_is focus hot_key settings
press ctrl+F7
wait_until 10 driver_is hot_key.hotkey "118 2" settings
press F4
wait_until 10 driver_is hot_key.hotkey "115 0" settings
expect_eq "main window after F4 with settings open" 0 "$(driver main | dval visible)"

driver click --class WordhopperSettings --id "$ID_CANCEL" >/dev/null
wait_until 20 driver_is visible 0 settings
focus_wine_window '^Wine System Tray$'
press F4
wait_until 20 driver_is visible 1 main
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
