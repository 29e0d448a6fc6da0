#!/usr/bin/env bash
# Cancel, ESC and the close box drop the edits: the file stays as it was, and
# the next opening shows the saved values again. The window is only hidden.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

wh_install 'C:\wh' "$(settings_ini)"
ini="$WH_DIR/wordhopper.ini"
wh_start
wait_until 60 driver windows --class WordhopperSettings
hwnd=$(driver settings | dval hwnd)
window=(--class WordhopperSettings)
sumBefore=$(md5sum <"$ini")

# Each way of leaving without saving: the Cancel button, ESC, the close box.
for leave in cancel escape close; do
  open_settings_from_tray
  driver set-check "${window[@]}" --id "$ID_FAVORITES" 0 >/dev/null
  driver set-text "${window[@]}" --id "$ID_USERDIR" 'C:\elsewhere' >/dev/null
  driver set-text "${window[@]}" --id "$ID_IGNORE_LIST" $'one\r\ntwo' >/dev/null
  expect_eq "$leave: edited" 0 "$(driver settings | dval favorites.checked)"
  if [ "$leave" = cancel ]; then
    driver click "${window[@]}" --id "$ID_CANCEL" >/dev/null
  elif [ "$leave" = escape ]; then
    focus_wine_window '^Wordhopper Settings$'
    press Escape
  else
    focus_wine_window '^Wordhopper Settings$'
    press alt+F4
  fi
  wait_until 20 driver_is visible 0 settings
  expect_eq "$leave: the same window" "$hwnd" "$(driver settings | dval hwnd)"
  expect_eq "$leave: file untouched" "$sumBefore" "$(md5sum <"$ini")"

  open_settings_from_tray
  seen=$(driver settings)
  expect_eq "$leave: Favorites again" 1 "$(dval favorites.checked <<<"$seen")"
  expect_eq "$leave: user directory again" "" "$(dval user_dir.text <<<"$seen")"
  expect_eq "$leave: ignore list again" "the a of" "$(dval ignore_list.text <<<"$seen")"
  driver click "${window[@]}" --id "$ID_CANCEL" >/dev/null
  wait_until 20 driver_is visible 0 settings
done
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
