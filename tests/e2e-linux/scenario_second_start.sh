#!/usr/bin/env bash
# A second start of the same program brings the running copy's window
# forward and ends at once.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0'

wh_start
first=$WH_PID
wh_wait_ready
press F4
wait_until 10 main_has_focus
press Escape
wait_until 10 window_hidden "$WH_MAIN_NAME"

wh_start
second=$WH_PID
expect_eq "second copy's exit code" 0 "$(wait_exit 10 "$second")"
wait_until 10 window_visible "$WH_MAIN_NAME"
wh_pid_alive "$first" || fail "the first copy ended"
