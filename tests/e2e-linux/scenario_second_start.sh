#!/usr/bin/env bash
# A second start of the same program brings the running copy's window
# back from the tray and ends at once; a copy never shown stays hidden, unless
# the second start says "show".
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0'

wh_start
first=$WH_PID
wh_wait_ready

# Never shown yet: the second start shows nothing. It ends only after the
# running copy has answered, so the window is settled by then.
wh_start
expect_eq "exit code while never shown" 0 "$(wait_exit 10 "$WH_PID")"
window_hidden "$WH_MAIN_NAME" || fail "a second start showed a window never shown"

# "wordhopper show", the hot key of desktops without one, shows it.
wh_start show
expect_eq "exit code with show" 0 "$(wait_exit 10 "$WH_PID")"
wait_until 10 window_visible "$WH_MAIN_NAME"

WH_PID=$first
press F4
wait_until 10 main_has_focus
press Escape
wait_until 10 window_hidden "$WH_MAIN_NAME"

wh_start
second=$WH_PID
expect_eq "second copy's exit code" 0 "$(wait_exit 10 "$second")"
wait_until 10 window_visible "$WH_MAIN_NAME"
wh_pid_alive "$first" || fail "the first copy ended"
