#!/usr/bin/env bash
# The tray host ends and a new one starts (a panel restarted, a desktop
# session's shell crashed): the icon docks in the new one, and the hot key
# and the window go on working.
source "$(dirname "$0")/lib.sh"

have_tray || { echo "SKIP: no tray host (trayer) on this machine" >&2; exit 77; }

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0'

panel_id() {
  local found
  found=$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null) || return 1
  echo "${found%%$'\n'*}"
}
_icon_docked() {
  local panel
  panel=$(panel_id) || return 1
  xwininfo -tree -id "$panel" | grep -q '("wordhopper" '
}
_tray_gone() { ! panel_id >/dev/null; }

wh_start
wh_wait_ready
wait_until 10 _icon_docked

kill "$E2E_TRAYER_PID"
wait "$E2E_TRAYER_PID" 2>/dev/null || true
wait_until 10 _tray_gone
wh_pid_alive || fail "the program ended with its tray host"

_start_tray
wait_until 10 _icon_docked

press F4
wait_until 10 main_has_focus
press Escape
wait_until 10 window_hidden "$WH_MAIN_NAME"
