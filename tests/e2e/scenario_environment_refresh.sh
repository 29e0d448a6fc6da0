#!/usr/bin/env bash
# A variable the user stores after the start reaches the programs started
# from then on, once the system announces the change (WM_SETTINGCHANGE
# "Environment"), as with programs started from Explorer.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

items=$(unix_path 'C:\items')
mkdir -p "$items"
printf '@echo %%WH_PROBE%%> C:\\probe.txt\r\n' >"$items/probe.cmd"
wh_install 'C:\wh' "$(main_ini UserMasks=cmd)"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 1

wine_run reg add 'HKCU\Environment' /v WH_PROBE /d 'set after the start' /f >/dev/null
driver environment-changed

focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword probe
press Return
wait_until 20 driver_is item_box.visible 1 main
press Return
probe=$(unix_path 'C:\probe.txt')
wait_until 30 test -s "$probe"
expect_eq "the started program's variable" 'set after the start' "$(tr -d '\r\n' <"$probe")"
log "passed"
