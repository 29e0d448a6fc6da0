#!/usr/bin/env bash
# ShowTitleBar off takes the caption off, the window shorter by the
# caption's height; StayOnTop off keeps the window out of the topmost band
# at every showing, although it is created topmost.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

_close_main() {
  focus_main
  wait_until 10 driver_is focus keyword_box main
  press alt+F4
  expect_eq "exit code" 0 "$(wait_exit 30)"
}

make_items 'Alpha'
wh_install 'C:\wh' "$(main_ini 'HideToSystemTray=0')"
wh_start show
wait_until 60 driver_is visible 1 main
seen=$(driver main)
expect_eq "topmost with StayOnTop" 1 "$(dval topmost <<<"$seen")"
read -r left1 top1 right1 bottom1 <<<"$(dval rect <<<"$seen")"
read -r clientWidth1 clientHeight1 <<<"$(dval client <<<"$seen")"
expect_eq "client area" "457 70" "$clientWidth1 $clientHeight1"
# The frame is as thick at the bottom as at the sides; the rest is caption.
caption=$(((bottom1 - top1 - clientHeight1) - (right1 - left1 - clientWidth1)))
[ "$caption" -gt 0 ] || fail "no caption height measured: $seen"
_close_main

# Without both: first shown from the tray menu, then by the hot key.
restyled=$(main_ini 'ShowTitleBar=0' 'StayOnTop=0' 'HideToSystemTray=0')
wh_install 'C:\wh' "$restyled"
wh_start
wait_until 60 items_loaded 1
tray_menu_pick 1
wait_until 20 driver_is visible 1 main
seen=$(driver main)
read -r left2 top2 right2 bottom2 <<<"$(dval rect <<<"$seen")"
expect_eq "width" $((right1 - left1)) $((right2 - left2))
expect_eq "height" $((bottom1 - top1 - caption)) $((bottom2 - top2))
expect_eq "topmost, first shown from the menu" 0 "$(dval topmost <<<"$seen")"
focus_main
wait_until 10 driver_is focus keyword_box main
press Escape
wait_until 20 driver_is visible 0 main
press_hot_key
wait_until 20 driver_is visible 1 main
seen=$(driver main)
read -r left3 top3 right3 bottom3 <<<"$(dval rect <<<"$seen")"
expect_eq "height when shown again" $((bottom2 - top2)) $((bottom3 - top3))
expect_eq "topmost, shown again by the hot key" 0 "$(dval topmost <<<"$seen")"
_close_main

# A new start, first shown by the hot key.
wh_install 'C:\wh' "$restyled"
wh_start
wait_until 60 items_loaded 1
press_hot_key
wait_until 20 driver_is visible 1 main
seen=$(driver main)
read -r left4 top4 right4 bottom4 <<<"$(dval rect <<<"$seen")"
expect_eq "height, first shown by the hot key" $((bottom2 - top2)) $((bottom4 - top4))
expect_eq "topmost, first shown by the hot key" 0 "$(dval topmost <<<"$seen")"
log "passed"
