#!/usr/bin/env bash
# A key word typed and ENTER lists the launcher entries that match it; ENTER
# on the item starts that entry's program, once, and the window goes away.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0\nHideWhenLaunching=1'
marker="$E2E_WORK/marker"
other="$E2E_WORK/other"
add_entry marker-maker.desktop "Marker Maker" "/bin/sh -c \"echo made >> $marker\""
add_entry other-tool.desktop "Other Tool" "/bin/sh -c \"echo other >> $other\""

_marker_written() { [ -s "$marker" ]; }

wh_start
wh_wait_ready
press F4
wait_until 10 main_has_focus

type_text marker
press Return
# The matching items' list drops down where the key word box was; ENTER
# starts its choice.
wait_until 10 popup_window_id
press Return
wait_until 15 _marker_written
wait_until 10 window_hidden "$WH_MAIN_NAME"
expect_eq "marker file" "made" "$(cat "$marker")"
[ ! -e "$other" ] || fail "the entry that did not match was started too"
wh_pid_alive || fail "the program ended"
