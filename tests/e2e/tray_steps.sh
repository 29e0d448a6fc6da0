# Steps shared by the main-window and tray scenarios; sourced after lib.sh.

# A settings file of a program that has run before: only the user directory
# C:\items is scanned (files *.txt), the hot key is F4, and each KEY=VALUE
# argument replaces the value of that key. A key the file does not hold
# fails the scenario, so a misspelt override cannot pass unnoticed.
main_ini() {
  local lines=('[Form]' 'FormTop=0' 'FormLeft=0' 'HotKey=F4'
    '[Directories]' 'UserStartMenu=0' 'AllUsersStartMenu=0' 'UserDeskTop=0'
    'AllUsersDeskTop=0' 'Favorites=0' 'History=0' 'RecentFiles=0'
    'IgnoreList=the of' 'UserDir=C:\items' 'UserMasks=txt'
    '[Program]' 'FirstShow=1' 'HideToSystemTray=1' 'HideWhenLaunching=1'
    'AlwaysScreenCenter=1' 'StartWithWindows=0' 'MessageBoxOnError=1'
    'ReloadOnPopup=0' 'LoadUserDirOnPopup=0' 'ShowTitleBar=1' 'ShowInfoPanel=1'
    'ShowStatusBar=1' 'StartOnOneMatch=0' 'AutoComplete=1' 'StayOnTop=1'
    'UseFindDialog=0')
  local override key i found
  for override in "$@"; do
    key=${override%%=*}
    found=0
    for i in "${!lines[@]}"; do
      if [ "${lines[$i]%%=*}" = "$key" ]; then
        lines[i]=$override
        found=1
      fi
    done
    [ "$found" = 1 ] || fail "main_ini: no key $key"
  done
  printf '%s\r\n' "${lines[@]}"
}

# Empty files in C:\items, one per display name given.
make_items() {
  local dir name
  dir=$(unix_path 'C:\items')
  mkdir -p "$dir"
  for name in "$@"; do : >"$dir/$name.txt"; done
}

# The status bar's item count, once the index is loaded.
items_loaded() { driver_is status.items "Items: $1" main; }

# A registered hot key reaches Wine only while one of its windows has the X
# focus: Wine's tray window is given it first.
press_hot_key() {
  focus_wine_window '^Wine System Tray$'
  press F4
}

# Gives the main window the X focus so that typed keys reach its boxes.
focus_main() {
  focus_wine_window '^Wordhopper( \(Hot-key: .*\))?$'
}

# Types TEXT into the keyword box and waits until the box shows it (the
# driver writes a backslash as two).
type_keyword() {
  type_text "$1"
  wait_until 10 driver_is keyword_box.text "${1//\\/\\\\}" main
}
