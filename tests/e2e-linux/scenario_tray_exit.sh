#!/usr/bin/env bash
# "Exit" in the tray icon's menu ends the program cleanly: the window's place
# is kept in the settings file and the copies' shared record is removed.
source "$(dirname "$0")/lib.sh"

have_tray || { echo "SKIP: no tray host (trayer) on this machine" >&2; exit 77; }

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0'

_icon_docked() { xwininfo -tree -id "$panel" | grep -q '("wordhopper" '; }

panel=$(xdotool search --onlyvisible --class '^trayer$')
panel=${panel%%$'\n'*}

wh_start show
wh_wait_ready
[ -e "$(wh_record_file)" ] || fail "no shared record at $(wh_record_file)"
wait_until 10 window_visible "$WH_MAIN_NAME"
wait_until 10 _icon_docked
eval "$(xdotool getwindowgeometry --shell "$(visible_window_id "$WH_MAIN_NAME")")"
left=$X top=$Y
if ini_value Form FormLeft >/dev/null; then fail "FormLeft written before the end"; fi

# The panel holds the one icon: its middle is the icon's.
eval "$(xdotool getwindowgeometry --shell "$panel")"
xdotool mousemove --window "$panel" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
wait_until 10 popup_window_id
# Off the menu, so no item is under the pointer; UP from none picks the last,
# "Exit".
xdotool mousemove 0 1000
press Up Return

expect_eq "exit code" 0 "$(wait_exit 15)"
expect_eq "FormLeft" "$left" "$(ini_value Form FormLeft)"
expect_eq "FormTop" "$top" "$(ini_value Form FormTop)"
[ ! -e "$(wh_record_file)" ] || fail "the shared record was left behind"
