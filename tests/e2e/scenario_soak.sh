#!/usr/bin/env bash
# A short soak: 150 cycles of the hot key, a letter or two, the
# item list, ESC and ESC, with reloads and a settings Save among them, driven
# by whsoak.exe beside the program (scripts/bench-soak runs thousands). Fails
# when the program's memory or handles grow clearly after the first block,
# never on timing. On openbox, as a desktop has a window manager: without
# one, Wine holds the program for seconds at every hide (README, Soak).
E2E_WM=${E2E_WM:-openbox}
source "$(dirname "$0")/lib.sh"
: "${WH_SOAK:?WH_SOAK must name whsoak.exe}"
[ -n "$WH_EXE" ] && [ -f "$WH_EXE" ] || fail "WH_EXE does not name wordhopper.exe: [$WH_EXE]"

out="$E2E_WORK/soak.out"
rc=0
wine "$WH_SOAK" "$(win_path "$WH_EXE")" --folder 'C:\soak' --cycles 150 --block 50 \
  --reload-every 10 --settings-every 50 --check >"$out" 2>&1 </dev/null || rc=$?
tr -d '\r' <"$out" >&2
[ "$rc" -eq 0 ] || fail "whsoak exited $rc"
grep -q '^cycles 150 ' "$out" || fail "the soak did not run its 150 cycles"
log "passed"
