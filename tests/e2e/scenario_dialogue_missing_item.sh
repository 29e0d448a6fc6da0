#!/usr/bin/env bash
# An item whose file went away after the index was loaded: ENTER reports it
# and returns to an empty keyword box, the window staying on screen.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Gone Away' 'Stays Here'
wh_install 'C:\wh' "$(main_ini)"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 2
rm "$(unix_path 'C:\items')/Gone Away.txt"

focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword gone
press Return
wait_until 20 driver_is item_box.text 'Gone Away' main
press Return
wait_until 20 driver_is msgbox.0.text 'Execute failed, file not found.' msgbox --caption Wordhopper
expect_eq "status panel" 'Execute failed, file not found.' "$(driver main | dval status.message)"
driver msgbox-press OK >/dev/null
wait_until 20 _no_message_box
# The box is modal: the return to keyword mode follows its closing.
wait_until 10 driver_is keyword_box.visible 1 main
seen=$(driver main)
expect_eq "item box gone" 0 "$(dval item_box.visible <<<"$seen")"
expect_eq "keyword box empty" "" "$(dval keyword_box.text <<<"$seen")"
expect_eq "still shown" 1 "$(dval visible <<<"$seen")"
expect_eq "focus" keyword_box "$(dval focus <<<"$seen")"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
