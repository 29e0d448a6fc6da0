#!/usr/bin/env bash
# A start the desktop refuses is told, not hidden: a long word that is no
# address keeps its text in the shown window; an entry whose program is
# missing gives "Unknown execute error.", and the window comes back with the
# entry still chosen, to be tried again.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0\nHideWhenLaunching=1\nStartOnOneMatch=1\nAutoComplete=0\nMessageBoxOnError=1'
marker="$E2E_WORK/marker"
add_entry zebra.desktop "Zebra Stripes" "/bin/sh -c \"echo zebra >> $marker\""
add_entry broken.desktop "Broken Thing" "/no/such/program"

_marker_written() { [ -s "$marker" ]; }
_marker_has_two_lines() { [ "$(wc -l <"$marker")" -ge 2 ]; }
# The report's message box: the program's title alone.
_box_id() { visible_window_id '^Wordhopper$'; }
close_report() {
  local box
  wait_until 10 _box_id
  box=$(_box_id)
  xdotool windowfocus --sync "$box"
  press Return
  wait_until 10 window_hidden '^Wordhopper$'
}
focus_main() { xdotool windowfocus --sync "$(visible_window_id "$WH_MAIN_NAME")"; }

wh_start
wh_wait_ready
press F4
wait_until 10 main_has_focus

# Thirteen characters or more count as an address; a plain word names none.
type_text zebra-is-no-address
press Return
close_report
window_visible "$WH_MAIN_NAME" || fail "the window went away after a refused address"
focus_main
# The text is still there: cut back to "zebra", it finds the one item.
press End
for _ in $(seq 14); do press BackSpace; done
press Return
wait_until 15 _marker_written
expect_eq "marker file" "zebra" "$(cat "$marker")"
wait_until 10 window_hidden "$WH_MAIN_NAME"

# A start that fails hides the window (HideWhenLaunching) and is reported.
press F4
wait_until 10 main_has_focus
type_text broken
press Return
close_report
wait_until 10 window_hidden "$WH_MAIN_NAME"

# Shown again, the entry is still chosen: ENTER tries it once more.
press F4
wait_until 10 main_has_focus
press Return
close_report
wait_until 10 window_hidden "$WH_MAIN_NAME"

# ESC leaves the item box for an empty key word box.
press F4
wait_until 10 main_has_focus
press Escape
type_text zebra
press Return
wait_until 15 _marker_has_two_lines
expect_eq "marker file" $'zebra\nzebra' "$(cat "$marker")"
wh_pid_alive || fail "the program ended"
