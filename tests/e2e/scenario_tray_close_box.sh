#!/usr/bin/env bash
# The close box (Alt+F4): with HideToSystemTray on it hides the window and
# the program runs on, and a first run records FirstShow=1; with it off the
# program ends without storing the window's position.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha'
wh_install 'C:\wh' "$(main_ini 'FirstShow=0')"
wh_start show
wait_until 30 driver_matches msgbox.0.text '^Quick intro:' msgbox --caption Wordhopper
driver msgbox-press OK >/dev/null
wait_until 30 driver_is visible 1 main
expect_eq "first run before closing" 0 "$(ini_value "$WH_DIR/wordhopper.ini" Program FirstShow)"
focus_main
wait_until 10 driver_is focus keyword_box main
press alt+F4
wait_until 20 driver_is visible 0 main
_first_show_stored() { [ "$(ini_value "$WH_DIR/wordhopper.ini" Program FirstShow)" = 1 ]; }
wait_until 20 _first_show_stored
wh_pid_alive || fail "wordhopper.exe ended on the close box with HideToSystemTray on"
tray_menu_pick 6
expect_eq "exit code" 0 "$(wait_exit 30)"

wh_install 'C:\wh' "$(main_ini 'HideToSystemTray=0' 'FormLeft=17' 'FormTop=29')"
wh_start show
wait_until 60 driver_is visible 1 main
# Centred, so a stored position would differ from the file's.
left=$(driver main | dval rect | cut -d' ' -f1)
[ "$left" != 17 ] || fail "the window stands at the stored position; the check would prove nothing"
focus_main
wait_until 10 driver_is focus keyword_box main
press alt+F4
expect_eq "exit code" 0 "$(wait_exit 30)"
expect_eq "FormLeft" 17 "$(ini_value "$WH_DIR/wordhopper.ini" Form FormLeft)"
expect_eq "FormTop" 29 "$(ini_value "$WH_DIR/wordhopper.ini" Form FormTop)"
log "passed"
