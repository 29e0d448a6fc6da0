#!/usr/bin/env bash
# The "wordhopper" value of the machine-wide Run key follows StartWithWindows
# at every start: added when missing, never rewritten, removed when the
# setting is off, and the key never created just to look.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/start_steps.sh"

run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
key_exists() { wine_run reg query "$run_key" >/dev/null 2>&1; }

value_absent() { ! reg_query "$run_key" wordhopper >/dev/null; }

# Each start is a copy at a path of its own, with a hot key of its own; its
# start-up is over once it has loaded its index.
start_with() {
  local dir=$1 setting=$2 key=$3
  start_copy "$dir" "$(ini_text StartWithWindows="$setting" HotKey="$key")"
  wait_until 60 copy_loaded "$dir"
}

# Added, named after the program (not after this file's name).
wh_install 'C:\Tools' "$(ini_text StartWithWindows=1 HotKey=F5)"
mv "$WH_DIR/wordhopper.exe" "$WH_DIR/launcher.exe"
wine_start 'C:\Tools\launcher.exe'
wait_until 60 driver instance 'C:\Tools\launcher.exe'
wait_until 30 reg_query "$run_key" wordhopper
expect_eq "added" 'C:\Tools\wordhopper.exe' "$(reg_query "$run_key" wordhopper)"

# Present with another path: left alone.
start_with 'C:\Moved' 1 F6
expect_eq "kept" 'C:\Tools\wordhopper.exe' "$(reg_query "$run_key" wordhopper)"

# Off: removed.
start_with 'C:\Off' 0 F7
value_absent || fail "the value is still there"

# Off and no key at all: the key is not created.
wine_run reg delete "$run_key" /f >/dev/null
key_exists && fail "could not delete the Run key"
start_with 'C:\NoKey' 0 F8
if key_exists; then fail "the Run key was created"; fi
log "passed"
