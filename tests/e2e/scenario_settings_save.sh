#!/usr/bin/env bash
# Save writes every setting to the file, the edited ones with their new
# values, closes the window and rebuilds the index from the new settings.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

wh_install 'C:\wh' "$(settings_ini)"
apps=$(unix_path 'C:\apps')
mkdir -p "$apps/deeper"
: >"$apps/Alpha Tool.exe"
: >"$apps/deeper/Beta.exe"
: >"$apps/notes.txt"
wh_start
wait_until 60 driver windows --class WordhopperSettings
# The start-up load, of empty start menus and desktops, has been reported
# (the panel said "Items:" before it).
wait_until 30 driver_matches status.items '^Items: ' main
seen=$(driver main)
keywordsBefore=$(dval status.keywords <<<"$seen")
itemsBefore=$(dval status.items <<<"$seen")
itemsBefore=${itemsBefore#Items: }

open_settings_from_tray
window=(--class WordhopperSettings)
driver set-check "${window[@]}" --id "$ID_USER_START_MENU" 0 >/dev/null
driver set-text "${window[@]}" --id "$ID_USERDIR" 'C:\apps' >/dev/null
driver set-text "${window[@]}" --id "$ID_MASKS" 'exe' >/dev/null
driver click "${window[@]}" --id "$ID_SAVE" >/dev/null

wait_until 20 driver_is visible 0 settings
ini="$WH_DIR/wordhopper.ini"
expect_eq "UserStartMenu" 0 "$(ini_value "$ini" Directories UserStartMenu)"
expect_eq "UserDir" 'C:\apps' "$(ini_value "$ini" Directories UserDir)"
expect_eq "UserMasks" 'exe' "$(ini_value "$ini" Directories UserMasks)"
expect_eq "IgnoreList" 'the a of' "$(ini_value "$ini" Directories IgnoreList)"
expect_eq "HotKey" F4 "$(ini_value "$ini" Form HotKey)"
expect_eq "HideWhenLaunching" 0 "$(ini_value "$ini" Program HideWhenLaunching)"
for key in AllUsersStartMenu UserDeskTop AllUsersDeskTop Favorites History RecentFiles; do
  expect_eq "$key" 1 "$(ini_value "$ini" Directories "$key" || echo missing)"
done
for key in HideWhenLaunching AlwaysScreenCenter StartWithWindows MessageBoxOnError \
           ReloadOnPopup ShowTitleBar ShowInfoPanel HideToSystemTray ShowStatusBar \
           StartOnOneMatch AutoComplete UseFindDialog StayOnTop LoadUserDirOnPopup FirstShow; do
  expect_match "$key" '^[01]$' "$(ini_value "$ini" Program "$key" || echo missing)"
done

# The two executables of the user directory join what the prefix's own
# folders hold (the count of none reads empty).
wait_until 30 driver_is status.items "Items: $((itemsBefore + 2))" main
keywordsAfter=$(driver main | dval status.keywords)
[ "$keywordsAfter" != "$keywordsBefore" ] ||
  fail "the keyword count stayed [$keywordsBefore] after the rebuild"
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
