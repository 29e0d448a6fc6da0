#!/usr/bin/env bash
# A Start Menu folder's desktop.ini (UTF-16, as Explorer writes it) names a
# shortcut as a German Windows shows it: the item is listed as "Editor", and
# typing the file's own name still finds it and starts the program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

user='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
wait_until 20 reg_query "$user" 'Start Menu'
programs="$(reg_query "$user" 'Start Menu')\\Programs"
mklink "$programs\\Notepad.lnk" 'C:\windows\notepad.exe'
printf '\xFF\xFE' >"$(unix_path "$programs")/desktop.ini"
printf '[LocalizedFileNames]\r\nNotepad.lnk=Editor\r\n' | iconv -f UTF-8 -t UTF-16LE \
  >>"$(unix_path "$programs")/desktop.ini"

start_copy 'C:\wh' "$(ini_text StartWithWindows=0 AllUsersStartMenu=0 UserDeskTop=0 \
  AllUsersDeskTop=0)" show
wait_until 60 driver_is visible 1 main
wait_until 30 driver_is status.items 'Items: 1' main
seen=$(driver main --items)
expect_eq "keyword list" "editor notepad" \
  "$(dval keyword_box.item.0 <<<"$seen") $(dval keyword_box.item.1 <<<"$seen")"

focus_wine_window '^Wordhopper \(Hot-key'
wait_until 20 driver_is focus keyword_box main
type_text notepad
wait_until 20 driver_is keyword_box.text notepad main
press Return
wait_until 20 driver_is item_box.visible 1 main
expect_eq "item shown" Editor "$(driver main | dval item_box.text)"
press Return
wait_until 30 driver windows --caption 'Untitled - Notepad'
log "passed"
