# Steps shared by the settings-window scenarios; sourced after lib.sh.

# A settings file of a program that has run before (no help at the start),
# with every search directory, the hot key F4 and a few flags off their
# defaults.
settings_ini() {
  local lines=('[Form]' 'HotKey=F4'
    '[Directories]' 'UserStartMenu=1' 'AllUsersStartMenu=1' 'UserDeskTop=1'
    'AllUsersDeskTop=1' 'Favorites=1' 'History=1' 'RecentFiles=1'
    'IgnoreList=the a of' 'UserDir=' 'UserMasks=exe lnk'
    '[Program]' 'FirstShow=1' 'HideToSystemTray=1' 'ShowStatusBar=1' 'ShowInfoPanel=1'
    'StartWithWindows=0' 'HideWhenLaunching=0' 'StartOnOneMatch=1')
  # CR LF between lines and none after the last, so that $(...) cuts
  # nothing off.
  printf '%s' "${lines[0]}"
  printf '\r\n%s' "${lines[@]:1}"
}

# The control identifiers of the settings window (win32/window_ids.h).
ID_USER_START_MENU=3001
ID_FAVORITES=3005
ID_USERDIR=3030
ID_BROWSE=3031
ID_MASKS=3032
ID_IGNORE_LIST=3033
ID_DONATION_LINK=3037
ID_SAVE=3039
ID_CANCEL=3040

# The tray menu's "Settings", picked as a user would.
open_settings_from_tray() {
  tray_menu_pick 4
  wait_until 20 driver_is visible 1 settings
}
