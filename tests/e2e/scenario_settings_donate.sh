#!/usr/bin/env bash
# The donation link, with no donate.html beside the program: the failed
# launch is reported and the settings window closes all the same, without
# saving.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

wh_install 'C:\wh' "$(settings_ini)"
ini="$WH_DIR/wordhopper.ini"
wh_start
wait_until 60 driver windows --class WordhopperSettings
sumBefore=$(md5sum <"$ini")
open_settings_from_tray
driver set-check --class WordhopperSettings --id "$ID_FAVORITES" 0 >/dev/null
driver click --class WordhopperSettings --id "$ID_DONATION_LINK" >/dev/null
wait_until 20 driver_matches msgbox.0.text '.' msgbox --caption Wordhopper
expect_eq "report" "Execute failed, file not found." \
  "$(driver msgbox --caption Wordhopper | dval msgbox.0.text)"
driver msgbox-press OK >/dev/null
wait_until 20 driver_is visible 0 settings
expect_eq "file untouched" "$sumBefore" "$(md5sum <"$ini")"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
