#!/usr/bin/env bash
# Without the show argument the program starts with nothing on screen and
# keeps running; only "/show", "-show" and "show", exactly so, show the
# window at the start.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

# A first run without an argument: no window, and no help either, since the
# help comes with the first showing.
start_copy 'C:\plain' "$(ini_text FirstShow=0 StartWithWindows=0)"
wait_until 60 driver instance 'C:\plain\wordhopper.exe'
wait_until 30 main_of_copy 'C:\plain'
expect_eq "main window shown" 0 "$(main_of_copy 'C:\plain' | dval visible)"
expect_eq "caption before the first showing" "Wordhopper" "$(main_of_copy 'C:\plain' | dval caption)"
if driver msgbox >/dev/null; then fail "a message box came up at a hidden start"; fi
plain=$WH_PID

# The argument decides, with case: each copy at a path of its own, with a
# hot key of its own (a key can be registered once only).
n=0
for case in 'Show:0' '/SHOW:0' 'show2:0' '/show:1' '-show:1' 'show:1'; do
  argument=${case%:*}
  shown=${case##*:}
  dir="C:\\arg$((++n))"
  start_copy "$dir" "$(ini_text StartWithWindows=0 HotKey=F$((4 + n)))" "$argument"
  wait_until 60 main_of_copy "$dir"
  if [ "$shown" = 1 ]; then
    wait_until 30 copy_is "$dir" visible 1
  fi
  # The load ends before the window would show: by then the status bar holds
  # the counts.
  wait_until 30 copy_is "$dir" caption "$([ "$shown" = 1 ] && echo "Wordhopper (Hot-key: F$((4 + n)))" || echo Wordhopper)"
  expect_eq "shown with [$argument]" "$shown" "$(main_of_copy "$dir" | dval visible)"
done

wh_pid_alive "$plain" || fail "the hidden copy ended"
log "passed"
