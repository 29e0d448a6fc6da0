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
checkbox_id() { echo $((3000 + $1)); }
ID_USERDIR=3030
ID_BROWSE=3031
ID_EDIT2=3032
ID_MEMO1=3033
ID_LABEL8=3037
ID_BUTTON1=3039
ID_BUTTON2=3040

_tray_menu_open() { driver windows --class '#32768' | grep -q '^window\.[0-9]*\.visible=1$'; }

# The tray menu's "Settings", picked as a user would: a click on the icon in
# Wine's tray window (the first icon), then on the item (Show, Hide, Reload
# directories, Settings, Help, Exit).
open_settings_from_tray() {
  focus_wine_window '^Wine System Tray$'
  local tray
  tray=$(_visible_window '^Wine System Tray$')
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove --window "$tray" $((HEIGHT / 2)) $((HEIGHT / 2)) click 1
  wait_until 20 _tray_menu_open
  # The keys would go to Wine's tray window, which has the X focus, not to
  # the menu: the item is clicked, the fourth of six equal lines.
  local left top right bottom
  read -r left top right bottom <<<"$(driver windows --class '#32768' | dval window.0.rect)"
  xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) * 7 / 12)) click 1
  wait_until 20 driver_is visible 1 settings
}

# A key's value in the [section] of an INI file (CR LF or LF lines).
ini_value() {
  local file=$1 section=$2 key=$3
  tr -d '\r' <"$file" | awk -v s="[$section]" -v k="$key" '
    /^\[/ { inside = ($0 == s); next }
    inside && index($0, k "=") == 1 { print substr($0, length(k) + 2); found = 1; exit }
    END { exit !found }'
}

_no_message_box() { ! driver msgbox >/dev/null; }
