#!/usr/bin/env bash
# The index is loaded at the start from both Start Menus, both desktops
# (real shortcuts, the per-user one winning an equal name) and the user
# directory; the status bar counts it, the keyword box lists its keywords,
# and a shortcut found by its name starts its program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

user='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
common='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
# Wine may still be filling the shell folders in as the prefix's first
# programs come up (one CI run found the per-user Start Menu missing a few
# seconds in): wait for each rather than read it once.
shell_folder() {
  wait_until 20 reg_query "$1" "$2"
  reg_query "$1" "$2"
}
start_menu=$(shell_folder "$user" 'Start Menu')
common_start_menu=$(shell_folder "$common" 'Common Start Menu')
desktop=$(shell_folder "$user" Desktop)
common_desktop=$(shell_folder "$common" 'Common Desktop')

# "Notepad" twice: the all-users one would start the registry editor.
mklink "$common_start_menu\\Programs\\Accessories\\Notepad.lnk" 'C:\windows\regedit.exe'
mklink "$start_menu\\Programs\\Notepad.lnk" 'C:\windows\notepad.exe'
mklink "$start_menu\\Programs\\WordPad.lnk" 'C:\Program Files\Windows NT\Accessories\wordpad.exe'
mklink "$desktop\\Command Prompt.lnk" 'C:\windows\system32\cmd.exe'
mklink "$common_desktop\\Registry Editor.lnk" 'C:\windows\regedit.exe'
docs=$(unix_path 'C:\docs')
mkdir -p "$docs/old"
echo x >"$docs/Quarterly Report.pdf"
echo x >"$docs/old/Budget.xls"
echo x >"$docs/notes.txt"

start_copy 'C:\wh' "$(ini_text StartWithWindows=0 'UserDir=C:\docs')" show
wait_until 60 driver_is visible 1 main
wait_until 30 driver_is status.items 'Items: 6' main
seen=$(driver main --items)
expect_eq "keywords panel" 'Keywords: 9' "$(dval status.keywords <<<"$seen")"
words=()
for ((i = 0; i < $(dval keyword_box.count <<<"$seen"); i++)); do
  words+=("$(dval "keyword_box.item.$i" <<<"$seen")")
done
expect_eq "keyword list" "budget command editor notepad prompt quarterly registry report wordpad" \
  "${words[*]}"

# Found by its name and started for real: the per-user shortcut's Notepad.
focus_wine_window '^Wordhopper \(Hot-key'
wait_until 20 driver_is focus keyword_box main
type_text notepad
wait_until 20 driver_is keyword_box.text notepad main
press Return
wait_until 20 driver_is item_box.visible 1 main
expect_eq "item box" 1 "$(driver main --items | dval item_box.count)"
expect_eq "selected" Notepad "$(driver main | dval item_box.text)"
press Return
wait_until 30 driver windows --caption 'Untitled - Notepad'
if driver windows --caption 'Registry Editor' >/dev/null; then
  fail "the all-users shortcut was started"
fi
# Hidden with HideWhenLaunching, back in keyword mode.
wait_until 20 driver_is visible 0 main
seen=$(driver main)
expect_eq "keyword box emptied" "" "$(dval keyword_box.text <<<"$seen")"
expect_eq "item box emptied" 0 "$(dval item_box.count <<<"$seen")"
log "passed"
