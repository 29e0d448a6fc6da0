#!/usr/bin/env bash
# A normal start stays in the tray; the hot key shows the window for the
# first time: the help on a first run, then the window centred, captioned
# with the hot key, the keyword box focused.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

wh_install 'C:\wh'
wh_start
wait_until 60 driver main
expect_eq "hidden at the start" 0 "$(driver main | dval visible)"
_no_message_box || fail "a message box before the window was shown"

press_hot_key
wait_until 30 driver_matches msgbox.0.text '^Quick intro:' msgbox --caption Wordhopper
driver msgbox-press OK >/dev/null
wait_until 30 driver_is visible 1 main
wait_until 10 driver_is focus keyword_box main
seen=$(driver main)
expect_eq "caption" "Wordhopper (Hot-key: F4)" "$(dval caption <<<"$seen")"
expect_eq "keyword mode" "1 0" "$(dval keyword_box.visible <<<"$seen") $(dval item_box.visible <<<"$seen")"
expect_eq "foreground" 1 "$(dval foreground <<<"$seen")"
# Centred on the 1280 x 1024 screen.
read -r left top right bottom <<<"$(dval rect <<<"$seen")"
expect_eq "centred across" 1 $(((left + right) / 2 >= 638 && (left + right) / 2 <= 642))
expect_eq "centred down" 1 $(((top + bottom) / 2 >= 510 && (top + bottom) / 2 <= 514))
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
