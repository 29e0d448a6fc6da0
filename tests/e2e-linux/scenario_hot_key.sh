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
main=$(visible_window_id "$WH_MAIN_NAME")
eval "$(xdotool getwindowgeometry --shell "$main")"
# The window comes up at the size its bands lay out to, and keeps it.
hints=$(xprop -id "$main" WM_NORMAL_HINTS)
expect_eq "minimum size" "${WIDTH} by ${HEIGHT}" \
  "$(sed -n 's/.*program specified minimum size: //p' <<<"$hints")"
expect_eq "maximum size" "${WIDTH} by ${HEIGHT}" \
  "$(sed -n 's/.*program specified maximum size: //p' <<<"$hints")"
wh_pid_alive || fail "the program ended"
