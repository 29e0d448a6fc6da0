#!/usr/bin/env bash
# ESC twice after a typed key word hides the window; the program stays, and
# its hot key brings the window back.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0'

wh_start
wh_wait_ready
press F4
wait_until 10 main_has_focus

type_text abc
press Escape Escape
wait_until 10 window_hidden "$WH_MAIN_NAME"
wh_pid_alive || fail "ESC ended the program"

press F4
wait_until 10 window_visible "$WH_MAIN_NAME"
