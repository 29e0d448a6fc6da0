#!/usr/bin/env bash
# Launching from the item box: ENTER on a command file runs it exactly once,
# hides the window and leaves keyword mode for the next showing; a file
# whose name holds '&' and a second command runs as itself and nothing more.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

items=$(unix_path 'C:\items')
marks=$(unix_path 'C:\marks')
mkdir -p "$items" "$marks"
printf '@echo run>>C:\\marks\\ran.txt\r\n' >"$items/Marker.cmd"
# Run through an unquoted command line, this name would make a directory
# "pwned" in the current directory before failing on ".cmd".
printf '@echo amp>>C:\\marks\\amp.txt\r\n' >"$items/b&md pwned&.cmd"
wh_install 'C:\wh' "$(main_ini 'UserMasks=cmd')"
wh_start show
wait_until 60 driver_is visible 1 main
wait_until 20 items_loaded 2

_lines_in() { [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ]; }

focus_main
wait_until 10 driver_is focus keyword_box main
type_keyword marker
press Return
wait_until 20 driver_is item_box.text Marker main
press Down Return
wait_until 30 _lines_in "$marks/ran.txt" 1
wait_until 20 driver_is visible 0 main

press_hot_key
wait_until 20 driver_is visible 1 main
seen=$(driver main)
expect_eq "keyword box back" 1 "$(dval keyword_box.visible <<<"$seen")"
expect_eq "item box gone" 0 "$(dval item_box.visible <<<"$seen")"
expect_eq "keyword box empty" "" "$(dval keyword_box.text <<<"$seen")"
expect_eq "focus" keyword_box "$(dval focus <<<"$seen")"

focus_main
wait_until 10 driver_is focus keyword_box main
# '&' is no word separator: the name's last keyword is 'pwned&', and the
# box completes to it.
type_text pwned
wait_until 10 driver_is keyword_box.text 'pwned&' main
press Return
wait_until 20 driver_is item_box.text 'b&md pwned&' main
press Return
wait_until 30 _lines_in "$marks/amp.txt" 1
wait_until 20 driver_is visible 0 main
expect_eq "the '&' file ran once" amp "$(tr -d '\r' <"$marks/amp.txt")"
found=$(find "$WINEPREFIX/drive_c" "$WH_DIR" -name pwned)
expect_eq "no second command" "" "$found"
# By now a second start of the first file would have written its line too.
expect_eq "the first file ran once" run "$(tr -d '\r' <"$marks/ran.txt")"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
