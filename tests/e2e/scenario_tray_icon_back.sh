#!/usr/bin/env bash
# A task bar that ends takes the program's icon with it; the one that starts
# anew announces itself with "TaskbarCreated", and the icon comes back,
# menu and all. (Wine's own tray can't be restarted: its tray window does
# not come back when explorer.exe starts again, so the loss is made here.)
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

make_items 'Alpha'
wh_install 'C:\wh' "$(main_ini)"
wh_start
wait_until 60 items_loaded 1
wait_until 20 driver_is present 1 tray-icon

expect_eq "forgotten" 1 "$(driver tray-icon forget | dval forgotten)"
expect_eq "icon gone" 0 "$(driver tray-icon | dval present)"
driver taskbar-created >/dev/null
wait_until 20 driver_is present 1 tray-icon

tray_menu_pick 1
wait_until 20 driver_is visible 1 main
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
