#!/usr/bin/env bash
# Started with "show", the program opens its main window at once, captioned
# with the hot key in use.
source "$(dirname "$0")/lib.sh"

wh_install 'C:\wh'
wh_start show
# A first run, with no settings file yet, greets with the help first.
# A box is listed a moment before its text is set: wait for the text.
wait_until 60 driver_matches msgbox.0.text '^Quick intro:' msgbox --caption Wordhopper
driver msgbox-press OK >/dev/null
wait_until 60 driver_is visible 1 main
seen=$(driver main --items)
expect_eq "caption" "Wordhopper (Hot-key: F4)" "$(dval caption <<<"$seen")"
expect_eq "main windows" 1 "$(dval count <<<"$seen")"
expect_eq "keyword box" 1 "$(dval keyword_box.visible <<<"$seen")"
wh_pid_alive || fail "wordhopper.exe ended while its window was shown"
log "passed"
