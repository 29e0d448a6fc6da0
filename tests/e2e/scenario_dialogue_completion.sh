#!/usr/bin/env bash
# Completion in the keyword box: each typed letter completes to the first
# keyword that begins with the typed text, the added rest selected; ENTER
# searches the completed word.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Notepad' 'Notes'
wh_install 'C:\wh' "$(main_ini)"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 2
focus_main
wait_until 10 driver_is focus keyword_box main

type_text n
wait_until 10 driver_is keyword_box.text notepad main
expect_eq "rest selected after n" "1 7" "$(driver main | dval keyword_box.editsel)"
type_text ote
wait_until 10 driver_is keyword_box.editsel "4 7" main
expect_eq "after note" notepad "$(driver main | dval keyword_box.text)"
type_text s
wait_until 10 driver_is keyword_box.text notes main
expect_eq "nothing left to select" "5 5" "$(driver main | dval keyword_box.editsel)"

press Return
wait_until 20 driver_is item_box.visible 1 main
seen=$(driver main --items)
expect_eq "found" "1 Notes" "$(dval item_box.count <<<"$seen") $(dval item_box.item.0 <<<"$seen")"
log "passed"
