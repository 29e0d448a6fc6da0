#!/usr/bin/env bash
# With ReloadOnPopup on, the hot key rebuilds the index on its way to the
# screen, which also brings an item-mode window back to keyword mode.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha One' 'Alpha Two'
wh_install 'C:\wh' "$(main_ini 'ReloadOnPopup=1')"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 2
focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword alpha
press Return
wait_until 20 driver_is item_box.visible 1 main
expect_eq "found" 2 "$(driver main | dval item_box.count)"

make_items 'Alpha Three'
press_hot_key
wait_until 20 items_loaded 3
wait_until 20 driver_is keyword_box.visible 1 main
seen=$(driver main)
expect_eq "item box gone" 0 "$(dval item_box.visible <<<"$seen")"
expect_eq "keyword box empty" "" "$(dval keyword_box.text <<<"$seen")"
expect_eq "shown" 1 "$(dval visible <<<"$seen")"
expect_eq "focus" keyword_box "$(dval focus <<<"$seen")"
log "passed"
