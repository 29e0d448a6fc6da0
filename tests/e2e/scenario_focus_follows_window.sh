#!/usr/bin/env bash
# With another program in front (Notepad), the hot key shows the window and
# the typed letters reach the keyword box; so again after a message box is
# closed with ENTER, and after Save in the settings window. On a bare
# display, or with E2E_WM=openbox under a window manager.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"

if [ -z "${E2E_WM:-}" ]; then
  # With no window manager on the display, Wine moves the X keyboard focus
  # itself only for windows it does not leave to one.
  wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
fi
wh_install 'C:\wh' "$(main_ini)"
make_items 'Gone Away'
wh_start
wait_until 60 items_loaded 1
rm "$(unix_path 'C:\items')/Gone Away.txt"

# Notepad away from the tray window, which the tray menu is opened from.
for value in iWindowPosX=300 iWindowPosY=600 iWindowPosDX=500 iWindowPosDY=300; do
  wine_run reg add 'HKCU\Software\Microsoft\Notepad' /v "${value%=*}" /t REG_DWORD \
    /d "${value#*=}" /f
done
wine_start notepad.exe
NOTEPAD_PID=$E2E_STARTED_PID

# Notepad in front, the main window hidden; F4, then typing without any
# help from outside.
hot_key_over_notepad() {
  focus_wine_window 'Notepad$'
  press F4
  wait_until 20 driver_is visible 1 main
  wait_until 10 driver_is foreground 1 main
  wait_until 10 driver_is focus keyword_box main
  type_text "$1"
  wait_until 10 driver_is keyword_box.text "$1" main
}

hot_key_over_notepad gone

# A message box, closed with ENTER: the keyboard comes back to the box.
press Return
wait_until 20 driver_is item_box.text 'Gone Away' main
press Return
wait_until 20 driver_is msgbox.0.text 'Execute failed, file not found.' msgbox --caption Wordhopper
press Return
wait_until 20 _no_message_box
wait_until 10 driver_is focus keyword_box main
type_text qqq
wait_until 10 driver_is keyword_box.text qqq main

# Hidden to the tray, Notepad in front again.
press Escape Escape
wait_until 20 driver_is visible 0 main
hot_key_over_notepad uvw

# The settings window opened from the tray takes the keyboard; after Save
# it goes back to the keyword box.
source "$(dirname "$0")/settings_steps.sh"
open_settings_from_tray
wait_until 10 driver_is foreground 1 settings
wait_until 10 driver_is focus user_dir settings
press ctrl+a
type_text 'C:\items'
wait_until 10 driver_is user_dir.text 'C:\\items' settings
driver click --class WordhopperSettings --id "$ID_SAVE" >/dev/null
wait_until 20 driver_is visible 0 settings
wait_until 10 driver_is foreground 1 main
wait_until 10 driver_is focus keyword_box main
press ctrl+a
type_text rst
wait_until 10 driver_is keyword_box.text rst main

# A second start over Notepad brings the first copy's window back with the
# keyboard, and ends.
press Escape Escape
wait_until 20 driver_is visible 0 main
FIRST_PID=$WH_PID
focus_wine_window 'Notepad$'
wh_start
SECOND_PID=$WH_PID
WH_PID=$FIRST_PID
expect_eq "the second start's exit code" 0 "$(wait_exit 30 "$SECOND_PID")"
wait_until 20 driver_is visible 1 main
wait_until 10 driver_is foreground 1 main
wait_until 10 driver_is focus keyword_box main
type_text opq
wait_until 10 driver_is keyword_box.text opq main

wh_pid_alive || fail "wordhopper.exe ended"
wh_pid_alive "$NOTEPAD_PID" || fail "notepad.exe ended"
log "passed"
