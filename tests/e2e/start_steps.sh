# Steps shared by the start-up scenarios; sourced after lib.sh.

# A settings file holding KEY=VALUE pairs, each in its own section; a run
# that has shown its window before (FirstShow=1) unless told otherwise.
ini_text() {
  local form=() dirs=() program=('FirstShow=1') pair key
  for pair in "$@"; do
    key=${pair%%=*}
    case $key in
      FormTop | FormLeft | HotKey) form+=("$pair") ;;
      UserStartMenu | AllUsersStartMenu | UserDeskTop | AllUsersDeskTop | Favorites | History | \
        RecentFiles | IgnoreList | UserDir | UserMasks) dirs+=("$pair") ;;
      FirstShow) program[0]=$pair ;;
      *) program+=("$pair") ;;
    esac
  done
  printf '[Form]\r\n'
  printf '%s\r\n' "${form[@]}"
  printf '[Directories]\r\n'
  [ ${#dirs[@]} -eq 0 ] || printf '%s\r\n' "${dirs[@]}"
  printf '[Program]\r\n'
  printf '%s\r\n' "${program[@]}"
}

# Copies wordhopper.exe to DIR with a settings file and starts it with ARGS;
# WH_PID is its process.
start_copy() {
  local dir=$1 ini=$2
  shift 2
  wh_install "$dir" "$ini"
  wh_start "$@"
}

# The driver's description of the main window of the copy in DIR (window.N.*
# keys without their prefix): the one owned by the application window that
# the copy's instance record names.
main_of_copy() {
  local dir=$1 app lines n
  app=$(driver instance "$dir\\wordhopper.exe" | dval window) || return 1
  lines=$(driver windows --class WordhopperMain) || return 1
  n=$(grep -iE "^window\.[0-9]+\.owner=0x0*$(printf '%x' "$app")\$" <<<"$lines" |
    head -n1 | sed -E 's/^window\.([0-9]+)\..*/\1/')
  [ -n "$n" ] || return 1
  grep -E "^window\.$n\." <<<"$lines" | sed -E "s/^window\.$n\.//"
}

# True when the main window of the copy in DIR has KEY = VALUE.
copy_is() { [ "$(main_of_copy "$1" | dval "$2")" = "$3" ]; }

main_windows_count() { driver windows --class WordhopperMain | dval count; }

# Text of status panel K of the copy in DIR.
copy_status_part() {
  local dir=$1 part=$2 hwnd lines n
  hwnd=$(main_of_copy "$dir" | dval hwnd) || return 1
  lines=$(driver children --hwnd "$hwnd") || return 1
  n=$(grep -E '^child\.[0-9]+\.class=msctls_statusbar32$' <<<"$lines" | head -n1 |
    sed -E 's/^child\.([0-9]+)\..*/\1/')
  [ -n "$n" ] || return 1
  dval "child.$n.part.$part" <<<"$lines"
}

# True once the copy in DIR has loaded its index: the items panel then holds
# the count after its caption ("Items: " and the count, empty for none).
copy_loaded() { [[ $(copy_status_part "$1" 2) == "Items: "* ]]; }
