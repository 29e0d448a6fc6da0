#!/usr/bin/env bash
# A position saved on a monitor that isn't there, right of the screen or left
# of it, brings the window onto the screen (the Xvfb screen, 1280 x 1024, is
# the only monitor); its top, on screen, is kept.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

n=4
for saved in 5000 -5000; do
  dir="C:\\off$((++n))"
  start_copy "$dir" "$(ini_text AlwaysScreenCenter=0 FormLeft="$saved" FormTop=200 \
    StartWithWindows=0 HotKey=F$n)" show
  wait_until 60 copy_is "$dir" visible 1
  read -r left top right _ <<<"$(main_of_copy "$dir" | dval rect)"
  expect_eq "FormLeft=$saved: on the screen" 1 $((left >= 0 && right <= 1280))
  expect_eq "FormLeft=$saved: top kept" 200 "$top"
done
log "passed"
