# shellcheck shell=bash
# Harness of the Linux end-to-end scenarios, sourced by each
# tests/e2e-linux/scenario_*.sh.
#
# Sourcing it gives the scenario a folder of its own (home, XDG folders,
# runtime and temp folders, a copy of the program), its own Xvfb display and,
# when `trayer` is installed, a tray host on it; all of it is cleaned up when
# the scenario exits, on success or failure. Besides the helpers of
# ../e2e-harness.sh (log, fail, expect_eq, expect_match, wait_until, press,
# type_text, window_visible, window_hidden, visible_window_id, wh_pid_alive,
# wait_exit):
#
#   write_settings INI_TEXT          the settings file's text
#   add_entry FILE NAME EXEC         a launcher entry in the user's applications
#   wh_start [ARGS...]               start the program in the background;
#                                    sets WH_PID (the program's own), WH_OUT
#   wh_wait_ready [SECONDS]          until the copy started last listens for a
#                                    second start (its start has run through)
#   main_has_focus                   true when the main window has the X focus
#   popup_window_id                  print a shown menu's or list's window id
#   have_tray                        true when a tray host runs on the display
#   wh_record_file                   the copies' shared record in /dev/shm
#   ini_value SECTION KEY            a value of the settings file (exit 1: none)
#
# Environment (set by ctest): WH_BIN (the built program), WH_E2E_RUNS (where
# scenarios make their folders). WH_E2E_KEEP=1 keeps a scenario's folder.

# shellcheck source=SCRIPTDIR/../e2e-harness.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e-harness.sh"

: "${WH_BIN:?WH_BIN must name the built wordhopper program}"
[ -x "$WH_BIN" ] || { echo "FAIL: WH_BIN is not a program: [$WH_BIN]" >&2; exit 1; }

# The main window's name, with the default hot key in it.
WH_MAIN_NAME='^Wordhopper \(Hot-key: F4\)$'

# --- Windows ----------------------------------------------------------------

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
  _e2e_note_rc_file "$WH_PID" "$rcFile"
  # shellcheck disable=SC2034  # for the scenarios
  WH_OUT=$out
}

# The shared memory object through which copies of the program at one path
# know of each other.
wh_record_file() {
  local path=${E2E_PROGRAM//%/%25}
  printf '/dev/shm/wordhopper-%s-%s\n' "$(id -u)" "${path//\//%2F}"
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

_e2e_show_failure() {
  echo "--- visible windows at the failure:" >&2
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '  | %s %s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)" >&2
  done
}

_e2e_stop() {
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
  [ -z "${E2E_TMP:-}" ] || rm -rf "$E2E_TMP"
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
  _e2e_begin
  E2E_FAILURE_LOGS+=("$E2E_WORK/trayer.log")
  # A temporary folder of the scenario's own, outside the build tree, for
  # whatever the program and Qt put there.
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/wh-e2e.XXXXXX")
  # The home and XDG folders are the scenario's own (_e2e_begin).
  mkdir -p "$XDG_CONFIG_HOME/wordhopper" "$XDG_DATA_HOME/applications" \
    "$E2E_WORK"/{system/applications,bin}
  # The machine's own launcher entries stay out.
  export XDG_DATA_DIRS="$E2E_WORK/system"
  export TMPDIR="$E2E_TMP"
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

  E2E_PROGRAM="$E2E_WORK/bin/wordhopper"
  ln "$WH_BIN" "$E2E_PROGRAM" 2>/dev/null || cp "$WH_BIN" "$E2E_PROGRAM"

  _start_xvfb -noreset
  _start_tray
  log "folder $E2E_WORK on display $DISPLAY"
}

_e2e_setup
