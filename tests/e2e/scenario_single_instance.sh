#!/usr/bin/env bash
# One copy runs per executable path: a second start ends at once without a
# window and brings the first copy's window back; a copy at another path runs
# alongside.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

ini=$(ini_text StartWithWindows=0)
start_copy 'C:\wh' "$ini" show
first=$WH_PID
wait_until 60 driver_is visible 1 main
wait_until 20 driver_is count 1 instance 'C:\wh\wordhopper.exe'

# Sent to the tray: ESC on the empty keyword box.
focus_wine_window '^Wordhopper \(Hot-key'
wait_until 20 driver_is focus keyword_box main
press Escape
wait_until 20 driver_is visible 0 main

# The second start of the same file ends within a few seconds, with exit
# code 0, without a window or a tray icon of its own.
wh_start show
second=$WH_PID
expect_eq "second start's exit code" 0 "$(wait_exit 15 "$second")"
expect_eq "main windows" 1 "$(main_windows_count)"
expect_eq "instances counted" 1 "$(driver instance 'C:\wh\wordhopper.exe' | dval count)"
# The first copy's window is back, in front.
wait_until 20 driver_is visible 1 main
wh_pid_alive "$first" || fail "the first copy ended"

# A copy at another path is another program as far as the record goes.
start_copy 'C:\other' "$(ini_text StartWithWindows=0 HotKey=F6)" show
wait_until 60 driver_is count 1 instance 'C:\other\wordhopper.exe'
wait_until 30 driver_is count 2 windows --class WordhopperMain
wh_pid_alive "$WH_PID" || fail "the copy at another path ended"
wh_pid_alive "$first" || fail "the first copy ended"
expect_eq "first record" 1 "$(driver instance 'C:\wh\wordhopper.exe' | dval count)"
log "passed"
