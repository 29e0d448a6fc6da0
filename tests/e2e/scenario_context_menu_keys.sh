#!/usr/bin/env bash
# The main window's context menu from the keyboard: Shift+F10 and the menu
# key open it below the caret (not at the far-away mouse pointer), ESC
# closes it, the typed text stays.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha'
wh_install 'C:\wh' "$(main_ini)"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 1
focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword ab

xdotool mousemove 1270 1010
# The shown menu's rectangle: left top right bottom.
shown_menu_rect() {
  driver windows --class '#32768' | awk -F= '
    /\.visible=1$/ { split($1, k, "."); shown[k[2]] = 1 }
    /\.rect=/ { split($1, k, "."); rect[k[2]] = $2 }
    END { for (i in shown) { print rect[i]; exit } }'
}
read -r box_left box_top box_right box_bottom <<<"$(driver main | dval keyword_box.rect)"
for key in shift+F10 Menu; do
  press "$key"
  wait_until 10 _tray_menu_open
  read -r menu_left menu_top _ _ <<<"$(shown_menu_rect)"
  log "$key: menu at $menu_left,$menu_top; keyword box $box_left,$box_top-$box_right,$box_bottom"
  ((menu_left >= box_left && menu_left <= box_right && menu_top >= box_top &&
    menu_top <= box_bottom + 8)) || fail "$key: the menu is not at the caret"
  press Escape
  wait_until 10 _tray_menu_closed
done
expect_eq "typed text" ab "$(driver main | dval keyword_box.text)"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
