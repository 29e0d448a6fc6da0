#!/usr/bin/env bash
# The settings window from the keyboard alone: TAB visits every control in
# reading order (Save and Cancel last) and comes round again; Shift+TAB goes
# back; the multi-line field lets TAB go on and takes Ctrl+TAB as a tab.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_steps.sh"

wh_install 'C:\wh' "$(settings_ini)"
wh_start
wait_until 60 driver windows --class WordhopperSettings
open_settings_from_tray
focus_wine_window '^Wordhopper Settings$'
wait_until 10 driver_is focus user_dir settings

# Presses KEY and waits for the focus to leave where it was, FOCUS then
# says where it went.
FOCUS=user_dir
_focus_left() {
  local now
  now=$(driver settings | dval focus)
  [ "$now" != "$1" ] && FOCUS=$now
}
press_and_wait() {
  local before=$FOCUS
  press "$1"
  wait_until 10 _focus_left "$before"
}

order=(user_dir)
for ((i = 0; i < 40; i++)); do
  press_and_wait Tab
  [ "$FOCUS" != user_dir ] || break
  order+=("$FOCUS")
done
expect_eq "tab order" "user_dir user_dir_browse masks ignore_list start_with_windows \
always_screen_center hide_to_system_tray hide_when_launching stay_on_top message_box_on_error \
show_title_bar show_info_panel show_status_bar auto_complete reload_on_popup \
load_user_dir_on_popup start_on_one_match use_find_dialog hot_key cancel save user_start_menu \
all_users_start_menu recent_files user_desktop all_users_desktop history favorites" \
  "${order[*]}"

press_and_wait shift+Tab
expect_eq "back with Shift+TAB" favorites "$FOCUS"

# Into the ignore list: Ctrl+TAB types a tab there, TAB leaves it.
for ((i = 0; i < 4; i++)); do press_and_wait Tab; done
expect_eq "at the ignore list" ignore_list "$FOCUS"
before=$(driver settings | dval ignore_list.text)
_ignore_list_changed() { [ "$(driver settings | dval ignore_list.text)" != "$before" ]; }
press ctrl+Tab
wait_until 10 _ignore_list_changed
expect_eq "still in the ignore list" ignore_list "$(driver settings | dval focus)"
press_and_wait Tab
expect_eq "TAB leaves the ignore list" start_with_windows "$FOCUS"
log "passed"
