#!/usr/bin/env bash
# The window is placed at FormLeft/FormTop when it isn't centred, and its
# client height is the sum of the bands shown: 70, 45 without the
# information panel, 50 without the status bar, 25 without both.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

start_copy 'C:\placed' "$(ini_text AlwaysScreenCenter=0 FormLeft=100 FormTop=200 StartWithWindows=0)" show
wait_until 60 copy_is 'C:\placed' visible 1
read -r left top _ _ <<<"$(main_of_copy 'C:\placed' | dval rect)"
expect_eq "top-left corner" "100 200" "$left $top"

# Centred otherwise, on the 1280 x 1024 screen, at the window's own size.
start_copy 'C:\centred' "$(ini_text StartWithWindows=0 HotKey=F5)" show
wait_until 60 copy_is 'C:\centred' visible 1
read -r left top right bottom <<<"$(main_of_copy 'C:\centred' | dval rect)"
expect_eq "centred left" $(((1280 - (right - left)) / 2)) "$left"
expect_eq "centred top" $(((1024 - (bottom - top)) / 2)) "$top"

n=5
for case in '1 1 70' '0 1 45' '1 0 50' '0 0 25'; do
  read -r info status height <<<"$case"
  dir="C:\\bands$((++n))"
  start_copy "$dir" "$(ini_text StartWithWindows=0 HotKey=F$n ShowInfoPanel="$info" \
    ShowStatusBar="$status")" show
  wait_until 60 copy_is "$dir" visible 1
  expect_eq "client with panel=$info status=$status" "457 $height" \
    "$(main_of_copy "$dir" | dval client)"
done
log "passed"
