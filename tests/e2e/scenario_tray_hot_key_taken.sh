#!/usr/bin/env bash
# When another program holds the hot key, the start reports it and the
# caption shows no hot key.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha'
# A copy in another folder is a program of its own; it takes F4 first.
wh_install 'C:\holder' "$(main_ini)"
wh_start
holder=$WH_PID
wait_until 60 items_loaded 1
press_hot_key
wait_until 20 driver_is window.0.caption "Wordhopper (Hot-key: F4)" windows --class WordhopperMain

wh_install 'C:\wh' "$(main_ini)"
wh_start show
wait_until 60 driver_is msgbox.0.text 'Unable to assign hot-key.' msgbox --caption Wordhopper
driver msgbox-press OK >/dev/null
wait_until 30 driver windows --caption "Wordhopper (Hot-key: n/a)" --class WordhopperMain
wh_pid_alive || fail "wordhopper.exe ended"
wh_pid_alive "$holder" || fail "the first copy ended"
log "passed"
