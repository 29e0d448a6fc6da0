#!/usr/bin/env bash
# The hot key, grabbed on the root window, brings the hidden window up without
# any window of the program having the focus.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0'
wh_start
wh_wait_ready
window_hidden "$WH_MAIN_NAME" || fail "the main window is up before the hot key"

press F4
wait_until 10 window_visible "$WH_MAIN_NAME"
eval "$(xdotool getwindowgeometry --shell "$(visible_window_id "$WH_MAIN_NAME")")"
expect_eq "main window size" "457x70" "${WIDTH}x${HEIGHT}"
wh_pid_alive || fail "the program ended"
