#!/usr/bin/env bash
# The browse button of the user-directory field: the chooser starts at the
# field's directory, or at the root of the current drive when the field is
# empty or names no directory; OK puts the choice in the field, Cancel
# leaves the field alone.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

wh_install 'C:\wh' "$(settings_ini)"
mkdir -p "$(unix_path 'C:\tools')"
wh_start
wait_until 60 driver windows --class WordhopperSettings
open_settings_from_tray
window=(--class WordhopperSettings)

_chooser_open() { driver windows --caption "Select Directory" | grep -q '^window\.0\.visible=1$'; }
_chooser_gone() { ! _chooser_open; }

# field before | button | field after. Wine's chooser selects a start one
# level below a drive's root, but not deeper (C:\tools\inner ends on Z:\),
# so the start directory here is C:\tools.
for case in '|OK|C:\' 'C:\tools|OK|C:\tools' 'C:\nowhere|OK|C:\' \
            'C:\tools|Cancel|C:\tools'; do
  IFS='|' read -r before button after <<<"$case"
  driver set-text "${window[@]}" --id "$ID_USERDIR" "$before" >/dev/null
  driver click "${window[@]}" --id "$ID_BROWSE" >/dev/null
  wait_until 20 _chooser_open
  expect_eq "[$before] $button: pressed" "$button" \
    "$(driver msgbox-press "$button" --caption "Select Directory" | dval pressed)"
  wait_until 20 _chooser_gone
  expected=${after//\\/\\\\}
  wait_until 10 driver_is user_dir.text "$expected" settings
  expect_eq "[$before] $button: window open" 1 "$(driver settings | dval visible)"
done
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
