# shellcheck shell=bash
# Harness of the Linux end-to-end scenarios, sourced by each
# tests/e2e-linux/scenario_*.sh.
#
# Sourcing it gives the scenario a folder of its own (home, XDG folders,
# runtime and temp folders, a copy of the program), its own Xvfb display and,
# when `trayer` is installed, a tray host on it; all of it is cleaned up when
# the scenario exits, on success or failure. Then:
#
#   write_settings INI_TEXT          the settings file's text
#   add_entry FILE NAME EXEC         a launcher entry in the user's applications
#   wh_start [ARGS...]               start the program in the background;
#                                    sets WH_PID (the program's own), WH_OUT
#   wh_wait_ready [SECONDS]          until the copy started last listens for a
#                                    second start (its start has run through)
#   wh_pid_alive [PID]               true while the program runs
#   wait_exit SECONDS [PID]          wait until it has ended; print its exit code
#   wait_until SECONDS COMMAND...    poll every 0.2 s; fail the scenario on timeout
#   expect_eq LABEL EXPECTED ACTUAL  fail the scenario when they differ
#   fail MESSAGE / log MESSAGE       end the scenario as failed / note progress
#   window_visible REGEX             true when a visible window's name matches
#   window_hidden REGEX              true when no visible window's name matches
#   visible_window_id REGEX          print the first such window's id
#   main_has_focus                   true when the main window has the X focus
#   popup_window_id                  print a shown menu's or list's window id
#   press KEY...                     xdotool key names, e.g. press F4 Return
#   type_text TEXT                   type text into the focused window
#   have_tray                        true when a tray host runs on the display
#   wh_record_file                   the copies' shared record in /dev/shm
#   ini_value SECTION KEY            a value of the settings file (exit 1: none)
#
# Environment (set by ctest): WH_BIN (the built program), WH_E2E_RUNS (where
# scenarios make their folders). WH_E2E_KEEP=1 keeps a scenario's folder.

set -Eeuo pipefail

: "${WH_BIN:?WH_BIN must name the built wordhopper program}"
[ -x "$WH_BIN" ] || { echo "FAIL: WH_BIN is not a program: [$WH_BIN]" >&2; exit 1; }

E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
# The main window's name, with the default hot key in it.
WH_MAIN_NAME='^Wordhopper \(Hot-key: F4\)$'

log() { printf '[%s %s] %s\n' "$(date +%H:%M:%S.%N | cut -c1-12)" "$E2E_NAME" "$*" >&2; }

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

expect_eq() {
  local label=$1 expected=$2 actual=$3
  [ "$expected" = "$actual" ] ||
    fail "$label: expected [$expected], saw [$actual]"
}

# --- Waiting ----------------------------------------------------------------

_now_ms() { echo $(($(date +%s%N) / 1000000)); }

wait_until() {
  local timeout=$1
  shift
  local deadline=$(($(_now_ms) + ${timeout%.*} * 1000))
  local seen="$E2E_WORK/wait.$BASHPID.out"
  while true; do
    if "$@" >"$seen" 2>&1; then
      rm -f "$seen"
      return 0
    fi
    if [ "$(_now_ms)" -ge "$deadline" ]; then
      printf 'last output of the command:\n' >&2
      sed 's/^/  | /' "$seen" >&2 || true
      fail "timed out after ${timeout}s waiting for: $*"
    fi
    sleep 0.2
  done
}

# --- Windows and keys -------------------------------------------------------

# No "| head" here: under pipefail the writer's SIGPIPE would fail the call.
visible_window_id() {
  local ids
  ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null) || return 1
  [ -n "$ids" ] || return 1
  printf '%s\n' "${ids%%$'\n'*}"
}

window_visible() { visible_window_id "$1" >/dev/null; }

window_hidden() { ! window_visible "$1"; }

# A popup of the program (a menu, a dropped list): a visible window of its
# own that the window manager would not handle, the main window aside.
popup_window_id() {
  local id main
  main=$(visible_window_id "$WH_MAIN_NAME") || main=
  for id in $(xdotool search --onlyvisible --class '^wordhopper$' 2>/dev/null); do
    [ "$id" != "$main" ] || continue
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# The keys typed go to the main window. A window shown by the program itself
# on a display without a window manager gets no focus; one the hot key or a
# second start brings up is activated.
main_has_focus() {
  local id
  id=$(visible_window_id "$WH_MAIN_NAME") || return 1
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ]
}

press() { xdotool key --delay 50 "$@"; }

type_text() { xdotool type --delay 50 -- "$1"; }

# --- Files ------------------------------------------------------------------

write_settings() { printf '%s\n' "$1" >"$XDG_CONFIG_HOME/wordhopper/wordhopper.ini"; }

add_entry() {
  local file=$1 name=$2 exec=$3
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\n' "$name" "$exec" \
    >"$XDG_DATA_HOME/applications/$file"
}

ini_value() {
  local section=$1 key=$2 line current='' found=1
  local file="$XDG_CONFIG_HOME/wordhopper/wordhopper.ini"
  [ -f "$file" ] || return 1
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    if [[ $line =~ ^\[(.*)\]$ ]]; then
      current=${BASH_REMATCH[1]}
    elif [ "$current" = "$section" ] && [ "${line%%=*}" = "$key" ]; then
      printf '%s\n' "${line#*=}"
      found=0
    fi
  done <"$file"
  return "$found"
}

# --- The program ------------------------------------------------------------

WH_PID=
E2E_STARTS=0
E2E_PIDS=()
E2E_WAITERS=()

# The program runs from the scenario's own copy: a copy of it is known by its
# path, so scenarios running side by side never meet.
wh_start() {
  E2E_STARTS=$((E2E_STARTS + 1))
  local n=$E2E_STARTS
  local out="$E2E_WORK/started.$n.out" pidFile="$E2E_WORK/started.$n.pid"
  local rcFile="$E2E_WORK/started.$n.rc"
  log "start wordhopper $*"
  (
    "$E2E_PROGRAM" "$@" >"$out" 2>&1 </dev/null &
    echo $! >"$pidFile"
    rc=0
    wait $! || rc=$?
    echo "$rc" >"$rcFile"
  ) &
  E2E_WAITERS+=($!)
  wait_until 5 test -s "$pidFile"
  WH_PID=$(cat "$pidFile")
  E2E_PIDS+=("$WH_PID")
  eval "_e2e_rc_file_$WH_PID=\$rcFile"
  # shellcheck disable=SC2034  # for the scenarios
  WH_OUT=$out
}

# The shared memory object through which copies of the program at one path
# know of each other.
wh_record_file() {
  local path=${E2E_PROGRAM//%/%25}
  printf '/dev/shm/wordhopper-%s-%s\n' "$(id -u)" "${path//\//%2F}"
}

_rc_file() {
  local rcVar="_e2e_rc_file_$1"
  printf '%s\n' "${!rcVar}"
}

wh_pid_alive() {
  local pid=${1:-$WH_PID} rcFile
  [ -n "$pid" ] || return 1
  rcFile=$(_rc_file "$pid")
  if [ -n "$rcFile" ]; then [ ! -e "$rcFile" ]; else kill -0 "$pid" 2>/dev/null; fi
}

_has_ended() { ! wh_pid_alive "$@"; }

wait_exit() {
  local timeout=$1 pid=${2:-$WH_PID}
  wait_until "$timeout" _has_ended "$pid"
  cat "$(_rc_file "$pid")"
}

# A copy listens for a second start only when its start has run through: by
# then the hot key is grabbed and the settings and lists are loaded.
# The socket lives in XDG_RUNTIME_DIR when its path fits a socket address,
# else in /tmp, named after the user and a hash of the program's path.
instance_socket() {
  local file
  file="wordhopper-$(id -u)-$(printf '%s' "$E2E_PROGRAM" | sha256sum | cut -c1-32)"
  if [ $((${#XDG_RUNTIME_DIR} + ${#file})) -lt 100 ]; then
    printf '%s\n' "$XDG_RUNTIME_DIR/$file"
  else
    printf '%s\n' "/tmp/$file"
  fi
}
_listening() { [ -S "$(instance_socket)" ] && wh_pid_alive; }

wh_wait_ready() { wait_until "${1:-20}" _listening; }

# --- Set-up and clean-up ----------------------------------------------------

have_tray() { [ -n "${E2E_TRAYER_PID:-}" ] && kill -0 "$E2E_TRAYER_PID" 2>/dev/null; }

_cleanup() {
  local rc=$?
  trap - EXIT ERR
  set +e
  if [ "$rc" -ne 0 ] && [ -n "${DISPLAY:-}" ]; then
    echo "--- visible windows at the failure:" >&2
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      printf '  | %s %s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)" >&2
    done
    local f
    for f in "$E2E_WORK"/started.*.out "$E2E_WORK/trayer.log"; do
      [ -s "$f" ] || continue
      echo "--- $(basename "$f"):" >&2
      sed 's/^/  | /' "$f" >&2
    done
  fi
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    if wh_pid_alive "$pid"; then kill "$pid" 2>/dev/null; fi
  done
  for pid in "${E2E_PIDS[@]}"; do
    local deadline=$(($(_now_ms) + 5000))
    while wh_pid_alive "$pid" && [ "$(_now_ms)" -lt "$deadline" ]; do sleep 0.1; done
    if wh_pid_alive "$pid"; then kill -KILL "$pid" 2>/dev/null; fi
  done
  # The subshells that wait for the programs end with them.
  for pid in "${E2E_WAITERS[@]}"; do wait "$pid" 2>/dev/null; done
  # A killed copy leaves its record behind.
  [ -z "${E2E_PROGRAM:-}" ] || rm -f "$(wh_record_file)" "$(instance_socket)"
  if [ -n "${E2E_TRAYER_PID:-}" ]; then
    kill "$E2E_TRAYER_PID" 2>/dev/null
    wait "$E2E_TRAYER_PID" 2>/dev/null
  fi
  if [ -n "${E2E_XVFB_PID:-}" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  if [ "${WH_E2E_KEEP:-0}" = 1 ]; then
    echo "kept $E2E_WORK" >&2
  else
    rm -rf "$E2E_WORK"
  fi
  [ -z "${E2E_TMP:-}" ] || rm -rf "$E2E_TMP"
  exit "$rc"
}

_start_xvfb() {
  local displayFile="$E2E_WORK/display"
  : >"$displayFile"
  # Xvfb picks a free display and writes its number: scenarios side by side
  # never meet on one.
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp \
    3>"$displayFile" >"$E2E_WORK/xvfb.log" 2>&1 </dev/null &
  E2E_XVFB_PID=$!
  local deadline=$(($(_now_ms) + 20000))
  while [ ! -s "$displayFile" ] || ! grep -q $'\n' "$displayFile"; do
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || fail "Xvfb ended: $(cat "$E2E_WORK/xvfb.log")"
    [ "$(_now_ms)" -lt "$deadline" ] || fail "Xvfb gave no display number in 20 s"
    sleep 0.1
  done
  DISPLAY=":$(head -n 1 "$displayFile")"
  export DISPLAY
}

_tray_docked() { xdotool search --onlyvisible --class '^trayer$' >/dev/null 2>&1; }

_start_tray() {
  if ! command -v trayer >/dev/null; then
    log "no trayer installed: running without a tray"
    return 0
  fi
  trayer --edge top --align right --widthtype request --height 24 --transparent false \
    >"$E2E_WORK/trayer.log" 2>&1 </dev/null &
  E2E_TRAYER_PID=$!
  wait_until 10 _tray_docked
}

_e2e_setup() {
  local runs=${WH_E2E_RUNS:-${TMPDIR:-/tmp}}
  mkdir -p "$runs"
  E2E_WORK=$(mktemp -d "$runs/$E2E_NAME.XXXXXX")
  trap _cleanup EXIT
  trap 'exit 143' TERM
  trap 'exit 130' INT
  trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: [$BASH_COMMAND] exited $?" >&2' ERR

  # A temporary folder of the scenario's own, outside the build tree, for
  # whatever the program and Qt put there.
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/wh-e2e.XXXXXX")
  mkdir -p "$E2E_WORK"/{home,config/wordhopper,data/applications,system/applications,bin}
  mkdir -m 700 "$E2E_WORK/runtime"
  export HOME="$E2E_WORK/home"
  export XDG_CONFIG_HOME="$E2E_WORK/config"
  export XDG_DATA_HOME="$E2E_WORK/data"
  # The machine's own launcher entries stay out.
  export XDG_DATA_DIRS="$E2E_WORK/system"
  export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
  export TMPDIR="$E2E_TMP"
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

  E2E_PROGRAM="$E2E_WORK/bin/wordhopper"
  ln "$WH_BIN" "$E2E_PROGRAM" 2>/dev/null || cp "$WH_BIN" "$E2E_PROGRAM"

  _start_xvfb
  _start_tray
  log "folder $E2E_WORK on display $DISPLAY"
}

_e2e_setup
