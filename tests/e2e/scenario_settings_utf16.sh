#!/usr/bin/env bash
# A settings file saved as UTF-16 (Notepad's "Unicode") is read as the
# system reads it, and the tray's Exit writes the window position back into
# it in UTF-16, the whole file one encoding.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

items=$(unix_path 'C:\Bücher')
mkdir -p "$items"
: >"$items/Alpha.txt"
: >"$items/Beta.txt"
wh_install 'C:\wh'
ini="$WH_DIR/wordhopper.ini"
{
  printf '\xff\xfe'
  main_ini 'HotKey=F6' 'UserDir=C:\Bücher' 'FormTop=1' 'FormLeft=2' | iconv -f UTF-8 -t UTF-16LE
} >"$ini"

wh_start show
# FirstShow=1 was read: no help; the key, the folder with its umlaut too.
wait_until 60 driver windows --caption "Wordhopper (Hot-key: F6)" --class WordhopperMain
wait_until 30 items_loaded 2
_no_message_box || fail "a message box came up: $(driver msgbox | dval msgbox.0.text)"

tray_menu_pick 6
expect_eq "exit code" 0 "$(wait_exit 30)"
expect_eq "byte-order mark" "fffe" "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' \n')"
expect_eq "whole UTF-16 units" 0 $(($(stat -c %s "$ini") % 2))
text="$E2E_WORK/wordhopper.utf8.ini"
tail -c +3 "$ini" | iconv -f UTF-16LE -t UTF-8 >"$text" || fail "not UTF-16 throughout"
expect_eq "HotKey" F6 "$(ini_value "$text" Form HotKey)"
expect_eq "UserDir" 'C:\Bücher' "$(ini_value "$text" Directories UserDir)"
expect_match "FormTop" '^-?[0-9]+$' "$(ini_value "$text" Form FormTop)"
expect_match "FormLeft" '^-?[0-9]+$' "$(ini_value "$text" Form FormLeft)"
[ "$(ini_value "$text" Form FormTop)" != 1 ] || fail "FormTop was not written"
expect_eq "one FormTop" 1 "$(grep -c '^FormTop=' "$text")"
log "passed"
