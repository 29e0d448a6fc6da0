# shellcheck shell=bash
# Harness of the end-to-end scenarios, sourced by each tests/e2e/scenario_*.sh.
#
# Sourcing it gives the scenario its own Wine prefix (a copy of a template
# prefix booted once per build tree), its own Xvfb display, and cleans both up
# when the scenario exits, on success or failure. Besides the helpers of
# ../e2e-harness.sh (log, fail, expect_eq, expect_match, wait_until, press,
# type_text, wh_pid_alive, wait_exit and the window look-ups):
#
#   wh_install 'C:\wh' [INI_TEXT]    put wordhopper.exe (and wordhopper.ini) there
#   wh_start [ARGS...]               start it in the background; sets WH_PID, WH_OUT
#   wine_start EXE [ARGS...]         start any program so; sets E2E_STARTED_PID
#   driver VERB [ARGS...]            run whdriver.exe, print its key=value lines
#   dval KEY                         the value of KEY in driver output on stdin
#   driver_is KEY VALUE VERB...      true when the driver's KEY equals VALUE
#   driver_matches KEY REGEX VERB... true when the driver's KEY matches REGEX
#   reg_query KEY VALUE              print a registry value's data (exit 1: none)
#   mklink LINK TARGET [ARGS] [DIR]  make a shell link; Windows paths
#   win_path UNIX_PATH / unix_path WINDOWS_PATH
#   focus_wine_window [TITLE_REGEX]  give a visible Wine window the X focus
#   tray_menu_pick N                 click item N of the tray menu (4: Settings)
#   ini_value FILE SECTION KEY       a value of an INI file (exit 1: none)
#   wine_run ARGS...                 wine ARGS with output through a file
#
# Driver values keep the driver's escapes: a line break in a text reads "\n".
#
# Environment (set by ctest): WH_EXE (wordhopper.exe; may be empty for
# scenarios that do not need it), WH_DRIVER, WH_MKLINK, WH_E2E_TEMPLATE (where
# the booted template prefix lives), WH_E2E_RUNS (where scenarios make their
# temporary folders). WH_E2E_KEEP=1 keeps a scenario's folder for a look after.

# shellcheck source=SCRIPTDIR/../e2e-harness.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e-harness.sh"

: "${WH_DRIVER:?WH_DRIVER must name whdriver.exe}"
: "${WH_MKLINK:?WH_MKLINK must name whmklink.exe}"
: "${WH_E2E_TEMPLATE:?WH_E2E_TEMPLATE must name the template prefix}"
WH_EXE=${WH_EXE:-}

# shellcheck source=SCRIPTDIR/../../scripts/wine-prefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-prefix.sh"
export WINEDEBUG=-all
wh_wine_environment

# --- Wine -------------------------------------------------------------------

# A wine call's output always goes through a file: services the call starts
# inherit its output, and a pipe reader would wait for them forever.
wine_run() {
  local out="$E2E_WORK/wine.$BASHPID.out" rc=0
  wine "$@" >"$out" 2>"$out.err" </dev/null || rc=$?
  cat "$out"
  if [ "$rc" -ne 0 ]; then cat "$out.err" >&2; fi
  rm -f "$out" "$out.err"
  return "$rc"
}

driver() {
  local out="$E2E_WORK/driver.$BASHPID.out" rc=0
  wine "$WH_DRIVER" "$@" >"$out" 2>"$out.err" </dev/null || rc=$?
  tr -d '\r' <"$out"
  if [ "$rc" -ge 2 ]; then
    echo "driver $*: exit code $rc" >&2
    cat "$out.err" >&2
  fi
  rm -f "$out" "$out.err"
  return "$rc"
}

dval() {
  local key=$1 line found=1
  while IFS= read -r line; do
    if [ "${line%%=*}" = "$key" ]; then
      printf '%s\n' "${line#*=}"
      found=0
    fi
  done
  return "$found"
}

driver_is() {
  local key=$1 expected=$2 value
  shift 2
  value=$(driver "$@" | dval "$key") || { echo "no $key in: driver $*"; return 1; }
  echo "$key=$value"
  [ "$value" = "$expected" ]
}

driver_matches() {
  local key=$1 regex=$2 value
  shift 2
  value=$(driver "$@" | dval "$key") || { echo "no $key in: driver $*"; return 1; }
  echo "$key=$value"
  [[ $value =~ $regex ]]
}

unix_path() {
  local path=$1
  case "$path" in
    [Cc]:\\* | [Cc]:)
      local rest=${path:2}
      printf '%s\n' "$WINEPREFIX/drive_c${rest//\\//}"
      ;;
    *) wine_run winepath -u "$path" | tr -d '\r' ;;
  esac
}

win_path() {
  local path=$1
  case "$path" in
    /*) printf 'Z:%s\n' "${path//\//\\}" ;;
    *) wine_run winepath -w "$path" | tr -d '\r' ;;
  esac
}

reg_query() {
  local key=$1 name=$2 line rest type
  local out
  out=$(wine_run reg query "$key" /v "$name" 2>/dev/null | tr -d '\r') || return 1
  while IFS= read -r line; do
    line=${line#"${line%%[![:space:]]*}"}
    [[ $line == "$name    REG_"* ]] || continue
    rest=${line#"$name    "}
    type=${rest%%    *}
    rest=${rest#"$type"}
    printf '%s\n' "${rest#    }"
    return 0
  done <<<"$out"
  return 1
}

mklink() {
  wine_run "$WH_MKLINK" "$@" || fail "whmklink $* failed"
}

# --- The program ------------------------------------------------------------

wh_install() {
  local dir=$1
  if [ -z "$WH_EXE" ] || [ ! -f "$WH_EXE" ]; then
    fail "WH_EXE does not name wordhopper.exe: [$WH_EXE]"
  fi
  WH_DIR_WIN=$dir
  WH_DIR=$(unix_path "$dir")
  mkdir -p "$WH_DIR"
  cp "$WH_EXE" "$WH_DIR/wordhopper.exe"
  if [ $# -ge 2 ]; then printf '%s' "$2" >"$WH_DIR/wordhopper.ini"; fi
}

# Starts a Windows program in the background, its output to a file, never a
# pipe (see wine_run). wh_pid_alive "$E2E_STARTED_PID" holds exactly as long
# as the program runs; wait_exit gives its exit code.
E2E_STARTS=0
wine_start() {
  E2E_STARTS=$((E2E_STARTS + 1))
  E2E_STARTED_OUT="$E2E_WORK/started.$E2E_STARTS.out"
  local rcFile="$E2E_WORK/started.$E2E_STARTS.rc"
  (
    rc=0
    wine "$@" >"$E2E_STARTED_OUT" 2>&1 </dev/null || rc=$?
    echo "$rc" >"$rcFile"
  ) &
  E2E_STARTED_PID=$!
  _e2e_note_rc_file "$E2E_STARTED_PID" "$rcFile"
}

# Started from its own folder, as Explorer would start it.
wh_start() {
  [ -n "${WH_DIR:-}" ] || fail "wh_start before wh_install"
  log "start wordhopper.exe $*"
  local here=$PWD
  cd "$WH_DIR"
  wine_start "$WH_DIR_WIN\\wordhopper.exe" "$@"
  cd "$here"
  WH_PID=$E2E_STARTED_PID
  # shellcheck disable=SC2034  # for the scenarios
  WH_OUT=$E2E_STARTED_OUT
}

# --- Focus ------------------------------------------------------------------

_focused_is() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

_visible_window() {
  if [ -n "$1" ]; then
    visible_window_id "$1" || true
  else
    # Any visible window with a name; the tray window of Wine first.
    visible_window_id '^Wine System Tray$' || visible_window_id '.' || true
  fi
}

_has_visible_window() { [ -n "$(_visible_window "$1")" ]; }

# A registered hot key reaches Wine only while one of its windows has the X
# focus. NAME is a regular expression for the window's title; with none, the
# tray window of Wine serves, or else any visible window.
focus_wine_window() {
  local name=${1:-} id
  wait_until 20 _has_visible_window "$name"
  id=$(_visible_window "$name")
  xdotool windowfocus "$id" 2>/dev/null || true
  wait_until 5 _focused_is "$id"
}

# --- Tray menu, message boxes, settings files -------------------------------

_tray_menu_open() { driver windows --class '#32768' | grep -q '^window\.[0-9]*\.visible=1$'; }
_tray_menu_closed() { ! _tray_menu_open; }

# Picks item N (1 Show, 2 Hide, 3 Reload directories, 4 Settings, 5 Help,
# 6 Exit) of the tray menu as a user would: a left click on the icon in
# Wine's tray window opens the menu, then a click on the item. Keys would go
# to the tray window, which holds the X focus, not to the menu.
tray_menu_pick() {
  local item=$1
  focus_wine_window '^Wine System Tray$'
  # shellcheck disable=SC2034  # all set by the geometry below, HEIGHT used
  local tray WIDTH HEIGHT X Y SCREEN WINDOW
  tray=$(_visible_window '^Wine System Tray$')
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove --window "$tray" $((HEIGHT / 2)) $((HEIGHT / 2)) click 1
  wait_until 20 _tray_menu_open
  local left top right bottom
  read -r left top right bottom <<<"$(driver windows --class '#32768' | dval window.0.rect)"
  # Six items of equal height; the middle of item N.
  xdotool mousemove $(((left + right) / 2)) $((top + (bottom - top) * (2 * item - 1) / 12)) click 1
  wait_until 20 _tray_menu_closed
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

# --- Set-up and clean-up ----------------------------------------------------

# The template is booted by the first scenario of a build tree and made
# private: its Desktop and Documents are folders of the prefix, not links to
# a home, so every copy of it is private too.
_template_ready() {
  wh_boot_prefix "$WH_E2E_TEMPLATE" || fail "could not boot the template prefix $WH_E2E_TEMPLATE"
}

# What the display shows at a failure: the top-level windows and any message
# boxes, read by the driver.
_e2e_show_failure() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  echo "--- windows at the failure:" >&2
  timeout 20 wine "$WH_DRIVER" windows >"$E2E_WORK/final.out" 2>/dev/null </dev/null
  sed 's/^/  | /' "$E2E_WORK/final.out" >&2
  # Where the keyboard was: the foreground window's class, the focus.
  if timeout 20 wine "$WH_DRIVER" main >"$E2E_WORK/final.out" 2>/dev/null </dev/null; then
    echo "--- keyboard at the failure:" >&2
    grep -E '^(active|foreground|focus)' "$E2E_WORK/final.out" | sed 's/^/  | /' >&2
    echo "  | X focus: $(xdotool getwindowfocus getwindowname 2>/dev/null)" >&2
  fi
  if timeout 20 wine "$WH_DRIVER" msgbox >"$E2E_WORK/final.out" 2>/dev/null </dev/null; then
    echo "--- message boxes at the failure:" >&2
    sed 's/^/  | /' "$E2E_WORK/final.out" >&2
  fi
  # Whether the program still runs, and what else of the prefix does, for a
  # failure that shows no window at all.
  if [ -n "${WH_PID:-}" ]; then
    if wh_pid_alive; then
      echo "--- wordhopper.exe still runs" >&2
    else
      echo "--- wordhopper.exe ended with exit code $(cat "$(_rc_file "$WH_PID")")" >&2
    fi
  fi
  echo "--- processes of the prefix:" >&2
  local pid
  for pid in $(pgrep -f 'wine|\.exe' || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      ps -o pid=,etimes=,stat=,args= -p "$pid" | sed 's/^/  | /' >&2
  done
}

# Ending the prefix's server ends every program started in it.
_e2e_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 </dev/null
    timeout 20 wineserver -w >/dev/null 2>&1 </dev/null
  fi
}

_e2e_setup() {
  _e2e_begin
  _template_ready
  export WINEPREFIX="$E2E_WORK/prefix"
  (
    flock -s 9
    cp -a "$WH_E2E_TEMPLATE" "$WINEPREFIX"
  ) 9>"$WH_E2E_TEMPLATE.lock"
  # shellcheck disable=SC2119  # Wine needs no Xvfb options of its own
  _start_xvfb
  if [ -n "${E2E_WM:-}" ]; then
    command -v "$E2E_WM" >/dev/null || fail "no $E2E_WM installed"
    "$E2E_WM" >"$E2E_WORK/wm.log" 2>&1 </dev/null &
    E2E_WM_PID=$!
    E2E_FAILURE_LOGS+=("$E2E_WORK/wm.log")
    wait_until 20 xprop -root _NET_SUPPORTING_WM_CHECK
  fi

  # The server outlives its last client by 30 s, so services stay up between
  # driver calls; it is still gone soon after a killed scenario.
  wineserver -p30 >/dev/null 2>&1 </dev/null
  # The first program starts the prefix's services and its desktop, which
  # keep the output they were given: give them none.
  wine "$WH_DRIVER" windows >/dev/null 2>&1 </dev/null || true
  log "prefix $WINEPREFIX on display $DISPLAY"
}

_e2e_setup
