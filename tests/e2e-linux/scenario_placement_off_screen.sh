#!/usr/bin/env bash
# A position saved on a monitor that isn't there, right of the screen or left
# of it, brings the window onto the screen when the hot key shows it (the
# Xvfb screen, 1280 x 1024, is the only monitor); its top, on screen, is kept.
source "$(dirname "$0")/lib.sh"

for saved in 5000 -5000; do
  write_settings "$(printf '[Form]\nFormLeft=%s\nFormTop=200\n[Program]\n%s' "$saved" \
    $'FirstShow=1\nStartWithWindows=0\nAlwaysScreenCenter=0')"
  wh_start
  wh_wait_ready
  press F4
  wait_until 10 window_visible "$WH_MAIN_NAME"
  eval "$(xdotool getwindowgeometry --shell "$(visible_window_id "$WH_MAIN_NAME")")"
  expect_eq "FormLeft=$saved: on the screen" 1 $((X >= 0 && X + WIDTH <= 1280))
  expect_eq "FormLeft=$saved: top kept" 200 "$Y"
  # Ended for the next start to read its settings; a copy ended so leaves the
  # copies' shared record and its socket behind, and the next start would
  # look ready before it listens (and has its hot key).
  kill "$WH_PID"
  wait_exit 10 >/dev/null
  rm -f "$(wh_record_file)" "$(instance_socket)"
done
