#!/usr/bin/env bash
# The tray menu opened by a click on the icon: Show, Hide, Reload
# directories, Help and Exit, which stores the window's position.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha'
wh_install 'C:\wh' "$(main_ini)"
wh_start
wait_until 60 items_loaded 1
expect_eq "hidden at the start" 0 "$(driver main | dval visible)"

tray_menu_pick 1
wait_until 20 driver_is visible 1 main
expect_eq "caption" "Wordhopper (Hot-key: F4)" "$(driver main | dval caption)"
tray_menu_pick 2
wait_until 20 driver_is visible 0 main
tray_menu_pick 1
wait_until 20 driver_is visible 1 main

make_items 'Beta'
tray_menu_pick 3
wait_until 20 items_loaded 2
expect_eq "keywords" "Keywords: 2" "$(driver main | dval status.keywords)"

tray_menu_pick 5
wait_until 20 driver_matches msgbox.0.text '^Quick intro:' msgbox --caption Wordhopper
driver msgbox-press OK >/dev/null
wait_until 20 _no_message_box

read -r left top _ <<<"$(driver main | dval rect)"
tray_menu_pick 6
expect_eq "exit code" 0 "$(wait_exit 30)"
expect_eq "FormLeft" "$left" "$(ini_value "$WH_DIR/wordhopper.ini" Form FormLeft)"
expect_eq "FormTop" "$top" "$(ini_value "$WH_DIR/wordhopper.ini" Form FormTop)"
log "passed"
