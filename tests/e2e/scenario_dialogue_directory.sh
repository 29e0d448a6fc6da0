#!/usr/bin/env bash
# A typed path of an existing directory opens a file-explorer window on it;
# the keyword box is emptied and the main window hidden.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha'
mkdir -p "$(unix_path 'C:\docs\inner')"
wh_install 'C:\wh' "$(main_ini)"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 1
_no_explorer() { ! driver windows --class ExplorerWClass >/dev/null; }
_no_explorer || fail "an explorer window before ENTER"

focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword 'C:\docs'
press Return
wait_until 30 driver windows --class ExplorerWClass
wait_until 20 driver_is visible 0 main
seen=$(driver main)
expect_eq "keyword box empty" "" "$(dval keyword_box.text <<<"$seen")"
_no_message_box || fail "a message box after opening the directory: $(driver msgbox)"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
