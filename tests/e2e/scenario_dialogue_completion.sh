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
wait_until 10 driver_is focus ComboBox1 main

type_text n
wait_until 10 driver_is ComboBox1.text notepad main
expect_eq "rest selected after n" "1 7" "$(driver main | dval ComboBox1.editsel)"
type_text ote
wait_until 10 driver_is ComboBox1.editsel "4 7" main
expect_eq "after note" notepad "$(driver main | dval ComboBox1.text)"
type_text s
wait_until 10 driver_is ComboBox1.text notes main
expect_eq "nothing left to select" "5 5" "$(driver main | dval ComboBox1.editsel)"

press Return
wait_until 20 driver_is ComboBox2.visible 1 main
seen=$(driver main --items)
expect_eq "found" "1 Notes" "$(dval ComboBox2.count <<<"$seen") $(dval ComboBox2.item.0 <<<"$seen")"
log "passed"
