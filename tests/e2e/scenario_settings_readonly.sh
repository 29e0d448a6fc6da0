#!/usr/bin/env bash
# A settings file that cannot be written: Save says so, and the settings
# window stays open with the edits; Cancel closes it after that.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

wh_install 'C:\wh' "$(settings_ini)"
ini="$WH_DIR/wordhopper.ini"
wh_start
wait_until 60 driver windows --class WordhopperSettings
wine_run attrib +r 'C:\wh\wordhopper.ini' >/dev/null
sumBefore=$(md5sum <"$ini")

open_settings_from_tray
window=(--class WordhopperSettings)
driver set-text "${window[@]}" --id "$ID_MASKS" 'com' >/dev/null
driver click "${window[@]}" --id "$ID_SAVE" >/dev/null
wait_until 20 driver msgbox --caption Wordhopper
expect_eq "message" 'Unable to write to C:\\wh\\wordhopper.ini' \
  "$(driver msgbox --caption Wordhopper | dval msgbox.0.text)"
seen=$(driver settings)
expect_eq "still open" 1 "$(dval visible <<<"$seen")"
expect_eq "edit kept" com "$(dval masks.text <<<"$seen")"
driver msgbox-press OK >/dev/null
wait_until 20 _no_message_box
expect_eq "still open after the message" 1 "$(driver settings | dval visible)"
expect_eq "file untouched" "$sumBefore" "$(md5sum <"$ini")"
driver click "${window[@]}" --id "$ID_CANCEL" >/dev/null
wait_until 20 driver_is visible 0 settings
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
