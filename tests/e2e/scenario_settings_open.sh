#!/usr/bin/env bash
# The settings window opened from the tray shows the saved settings; while
# it is open the hot key is the field's, not the program's; after Cancel the
# hot key shows the main window again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

ini=$(settings_ini)
ini=${ini/UserDir=/UserDir=C:\\tools}
ini=${ini/AllUsersDeskTop=1/AllUsersDeskTop=0}
ini=${ini/HideToSystemTray=1/HideToSystemTray=1$'\r\n'StayOnTop=1}
wh_install 'C:\wh' "$ini"
mkdir -p "$(unix_path 'C:\tools')"
wh_start
wait_until 60 driver windows --class WordhopperSettings
expect_eq "hidden at the start" 0 "$(driver settings | dval visible)"

open_settings_from_tray
seen=$(driver settings)
expect_eq "caption" "Wordhopper Settings" "$(dval caption <<<"$seen")"
expect_eq "topmost" 1 "$(dval topmost <<<"$seen")"
expect_eq "client size" "592 595" "$(dval client <<<"$seen")"
expect_eq "focus" UserDir "$(dval focus <<<"$seen")"
expect_eq "user directory" 'C:\\tools' "$(dval UserDir.text <<<"$seen")"
expect_eq "masks" "exe lnk" "$(dval Edit2.text <<<"$seen")"
expect_eq "ignore list" "the a of" "$(dval Memo1.text <<<"$seen")"
# F4 without modifiers.
expect_eq "hot-key field" "115 0" "$(dval HotKey1.hotkey <<<"$seen")"
expect_match "version label" '^Wordhopper version: [0-9]+\.[0-9]+\.[0-9]+ \(Build [0-9]+\)$' \
  "$(dval Label7.text <<<"$seen")"
for box in 1:1 2:1 3:1 4:0 5:1 6:1 7:1 8:0 10:0 15:1 17:1 20:1; do
  expect_eq "CheckBox${box%:*}" "${box#*:}" "$(dval "CheckBox${box%:*}.checked" <<<"$seen")"
done
expect_eq "check box caption" "Automaticilly start application when keyword maches a single item (not recommended with many items) ." \
  "$(dval CheckBox17.text <<<"$seen")"
expect_eq "link" "This software is freeware, any donations are welcome." "$(dval Label8.text <<<"$seen")"
expect_eq "buttons" "Save Cancel" "$(dval Button1.text <<<"$seen") $(dval Button2.text <<<"$seen")"

# The window is centred on the 1280 x 1024 screen.
read -r left top right bottom <<<"$(dval rect <<<"$seen")"
expect_eq "centred across" 1 $(( (left + right) / 2 >= 638 && (left + right) / 2 <= 642 ))
expect_eq "centred down" 1 $(( (top + bottom) / 2 >= 510 && (top + bottom) / 2 <= 514 ))

# The hot key belongs to the field while the window is open: pressed into
# the field, it is recorded there and does not show the main window. The
# field is reached backwards from the user-directory field: the seven check
# boxes of the first group, then round to Save, Cancel, the find dialog's
# check box and the hot-key field.
focus_wine_window '^Wordhopper Settings$'
wait_until 10 driver_is focus UserDir settings
press shift+Tab
wait_until 10 driver_is focus CheckBox7 settings
press shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
wait_until 10 driver_is focus CheckBox1 settings
press shift+Tab shift+Tab shift+Tab
wait_until 10 driver_is focus CheckBox21 settings
press shift+Tab
wait_until 10 driver_is focus HotKey1 settings
press ctrl+F7
wait_until 10 driver_is HotKey1.hotkey "118 2" settings
press F4
wait_until 10 driver_is HotKey1.hotkey "115 0" settings
expect_eq "main window after F4 with settings open" 0 "$(driver main | dval visible)"

driver click --class WordhopperSettings --id "$ID_BUTTON2" >/dev/null
wait_until 20 driver_is visible 0 settings
focus_wine_window '^Wine System Tray$'
press F4
wait_until 20 driver_is visible 1 main
wh_pid_alive || fail "wordhopper.exe ended"
log "passed"
