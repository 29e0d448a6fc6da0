#!/usr/bin/env bash
# A user directory that doesn't exist is reported at the load, in a message
# box titled "Wordhopper" and in the status panel. (The title bar setting is
# off so that no activation writes the memory line over the report.)
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

start_copy 'C:\wh' "$(ini_text StartWithWindows=0 'UserDir=C:\no such folder' MessageBoxOnError=1 ShowTitleBar=0)"
wait_until 60 driver_matches msgbox.0.text '^Error: User directory not found\.$' msgbox
expect_eq "caption" Wordhopper "$(driver msgbox | dval msgbox.0.caption)"
expect_eq "buttons" 1 "$(driver msgbox | dval msgbox.0.buttons)"
driver msgbox-press OK >/dev/null
no_message_box() { ! driver msgbox >/dev/null; }
wait_until 20 no_message_box
wait_until 20 driver_is status.message 'Error: User directory not found.' main
wh_pid_alive || fail "the program ended"
log "passed"
