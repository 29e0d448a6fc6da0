#!/usr/bin/env bash
# A short soak: a few hundred cycles of the hot key, a letter or two, the
# item list, ESC and ESC, with reloads and a settings Save among them, driven
# through XTest by wh_soak beside the program (scripts/bench-soak runs
# thousands). Fails when the program's resident memory, descriptors or
# threads grow clearly after the first block, never on timing.
source "$(dirname "$0")/lib.sh"
[ -n "${WH_SOAK:-}" ] || { log "no wh_soak built (libxtst-dev missing): skipped"; exit 77; }

out="$E2E_WORK/soak.out"
rc=0
"$WH_SOAK" "$E2E_PROGRAM" --folder "$E2E_WORK/soak" --cycles 300 --block 100 \
  --reload-every 10 --settings-every 50 --check >"$out" 2>&1 </dev/null || rc=$?
cat "$out" >&2
[ "$rc" -eq 0 ] || fail "wh_soak exited $rc"
grep -q '^cycles 300 ' "$out" || fail "the soak did not run its 300 cycles"
log "passed"
