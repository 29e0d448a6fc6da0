# shellcheck shell=bash
# What the end-to-end scenarios of both programs share: sourced first by
# tests/e2e/lib.sh (Wine) and tests/e2e-linux/lib.sh (Linux), which add their
# own set-up and helpers. For the scenarios:
#
#   log MESSAGE                      note progress on stderr
#   fail MESSAGE                     end the scenario as failed
#   expect_eq LABEL EXPECTED ACTUAL  fail the scenario when they differ
#   expect_match LABEL REGEX ACTUAL  fail the scenario when ACTUAL does not match
#   wait_until SECONDS COMMAND...    poll every 0.2 s; fail the scenario on timeout
#   press KEY...                     xdotool key names, e.g. press F4 ctrl+a Return
#   type_text TEXT                   type text into the focused window
#   visible_window_id REGEX          print the first visible window whose name matches
#   window_visible REGEX             true when a visible window's name matches
#   window_hidden REGEX              true when no visible window's name matches
#   wh_pid_alive [PID]               true while a started program runs (default: WH_PID)
#   wait_exit SECONDS [PID]          wait until it has ended; print its exit code
#
# For the libs:
#
#   _e2e_begin                       the scenario's folder E2E_WORK, a home of its
#                                    own (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
#                                    XDG_CACHE_HOME, XDG_RUNTIME_DIR under
#                                    E2E_WORK), and the traps that clean up on any
#                                    exit and fail a run that wrote into the real
#                                    home or left a shortcut in its own
#   _start_xvfb [XVFB_OPTIONS...]    an Xvfb display of the scenario's own, E2E_SCREEN
#                                    (1280x1024x24 unless set); sets DISPLAY
#   _e2e_note_rc_file PID FILE       where the exit code of the program started as
#                                    PID will be written when it ends
#
# and the clean-up calls two functions each lib defines: _e2e_show_failure
# (after a failure, before the started programs' output and E2E_FAILURE_LOGS
# are printed: what the display shows) and _e2e_stop (end what the scenario
# started, before its display goes).

set -Eeuo pipefail

# shellcheck source=SCRIPTDIR/homes.sh
source "$(dirname "${BASH_SOURCE[0]}")/homes.sh"

E2E_NAME=$(basename "${BASH_SOURCE[-1]:-$0}" .sh)
E2E_FAILURE_LOGS=()
WH_PID=

log() { printf '[%s %s] %s\n' "$(date +%H:%M:%S.%N | cut -c1-12)" "$E2E_NAME" "$*" >&2; }

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

# --- Assertions -------------------------------------------------------------

expect_eq() {
  local label=$1 expected=$2 actual=$3
  [ "$expected" = "$actual" ] ||
    fail "$label: expected [$expected], saw [$actual]"
}

expect_match() {
  local label=$1 regex=$2 actual=$3
  [[ $actual =~ $regex ]] ||
    fail "$label: expected a match of /$regex/, saw [$actual]"
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

press() { xdotool key --delay 50 "$@"; }

type_text() { xdotool type --delay 50 -- "$1"; }

# --- Started programs -------------------------------------------------------

# A lib starts each program in a subshell that writes the program's exit code
# to a file when it ends: that file tells whether it runs, whoever's child
# the program is.
_e2e_note_rc_file() { eval "_e2e_rc_file_$1=\$2"; }

_rc_file() {
  local rcVar="_e2e_rc_file_$1"
  printf '%s\n' "${!rcVar:-}"
}

wh_pid_alive() {
  local pid=${1:-$WH_PID} rcFile
  [ -n "$pid" ] || return 1
  rcFile=$(_rc_file "$pid")
  if [ -n "$rcFile" ]; then [ ! -s "$rcFile" ]; else kill -0 "$pid" 2>/dev/null; fi
}

_not_alive() { ! wh_pid_alive "$@"; }

wait_exit() {
  local timeout=$1 pid=${2:-$WH_PID}
  wait_until "$timeout" _not_alive "$pid"
  # Reaps the subshell when it is this shell's child.
  wait "$pid" 2>/dev/null || true
  cat "$(_rc_file "$pid")"
}

# --- Set-up and clean-up ----------------------------------------------------

_cleanup() {
  local rc=$?
  trap - EXIT ERR
  set +e
  if [ "$rc" -ne 0 ] && [ -n "${DISPLAY:-}" ]; then
    _e2e_show_failure
    local f
    for f in "$E2E_WORK"/started.*.out "${E2E_FAILURE_LOGS[@]}"; do
      [ -s "$f" ] || continue
      echo "--- $(basename "$f"):" >&2
      sed 's/^/  | /' "$f" >&2
    done
  fi
  _e2e_stop
  if [ -n "${E2E_XVFB_PID:-}" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  check_homes "$E2E_WORK" || [ "$rc" -ne 0 ] || rc=1
  if [ "${WH_E2E_KEEP:-0}" = 1 ]; then
    echo "kept $E2E_WORK" >&2
  else
    rm -rf "$E2E_WORK"
  fi
  exit "$rc"
}

_e2e_begin() {
  local runs=${WH_E2E_RUNS:-${TMPDIR:-/tmp}}
  mkdir -p "$runs"
  E2E_WORK=$(mktemp -d "$runs/$E2E_NAME.XXXXXX")
  trap _cleanup EXIT
  enter_private_home "$E2E_WORK"
  trap 'exit 143' TERM
  trap 'exit 130' INT
  trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: [$BASH_COMMAND] exited $?" >&2' ERR
}

_start_xvfb() {
  local displayFile="$E2E_WORK/display"
  : >"$displayFile"
  # Xvfb picks a free display and writes its number: scenarios side by side
  # never meet on one.
  Xvfb -displayfd 3 "$@" -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp \
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
