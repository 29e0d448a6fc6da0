#!/usr/bin/env bash
# At 144 dots per inch the information panel's labels are as wide as their
# texts, a five-digit page-file figure included, and the window fits the
# screen's work area.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
wh_install 'C:\wh' "$(main_ini)"
make_items alpha
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 1

seen=$(driver main)
log "$(grep -E '^(rect|Label[0-9]\.(text|width|textwidth))=' <<<"$seen")"
for label in Label1 Label2 Label3 Label4 Label5; do
  width=$(dval "$label.width" <<<"$seen")
  text=$(dval "$label.textwidth" <<<"$seen")
  [ "$text" != unknown ] || fail "$label: its font could not be read"
  [ "$width" -ge "$text" ] || fail "$label: $width pixels for a text of $text"
done
read -r left top right bottom <<<"$(dval rect <<<"$seen")"
[ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1280 ] && [ "$bottom" -le 1024 ] ||
  fail "the window [$left $top $right $bottom] leaves the 1280 x 1024 screen"
[ -z "${WH_SHOTS:-}" ] || import -window root "$WH_SHOTS/panel-labels-144.png" || log "no screenshot"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
