#!/usr/bin/env bash
# The harness itself, tried on Wine's own notepad: a fresh prefix and display,
# the driver's verbs and exit codes, typed keys, a message box answered, a
# real shell link that opens, and the registry and path helpers.
source "$(dirname "$0")/lib.sh"

# --- The driver's exit codes, before any window of ours is there.
for check in "main:1" "msgbox:1" "msgbox-press:1" "windows --class NoSuchClass:1" \
             "children:2" "bogus:2" "main extra:2" "children --hwnd zz:2"; do
  args=${check%:*}
  expected=${check##*:}
  rc=0
  # shellcheck disable=SC2086  # the words of args are the driver's arguments
  driver $args >/dev/null 2>&1 || rc=$?
  expect_eq "exit code of: driver $args" "$expected" "$rc"
done

# --- A window appears and is described.
wine_start notepad.exe
notepadPid=$E2E_STARTED_PID
wait_until 30 driver windows --class Notepad
seen=$(driver windows --class Notepad)
expect_eq "notepad count" 1 "$(dval count <<<"$seen")"
expect_eq "notepad caption" "Untitled - Notepad" "$(dval window.0.caption <<<"$seen")"
expect_eq "notepad visible" 1 "$(dval window.0.visible <<<"$seen")"
expect_match "notepad program" '^notepad\.exe$' "$(dval window.0.exe <<<"$seen")"
expect_match "notepad rect" '^-?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+$' "$(dval window.0.rect <<<"$seen")"
# Listed without a filter too, by its caption.
expect_match "unfiltered list" $'(^|\n)window\\.[0-9]+\\.class=Notepad(\n|$)' "$(driver windows)"

# --- Typed keys reach the focused window; the status bar is read across
# processes.
focus_wine_window "Untitled - Notepad"
type_text "hello world"
wait_until 10 driver_is child.0.text "hello world" children --class Notepad
wait_until 10 driver_is child.1.part.0 "Ln 1, Col 12" children --class Notepad
seen=$(driver children --class Notepad)
expect_eq "edit class" Edit "$(dval child.0.class <<<"$seen")"
expect_eq "status bar class" msctls_statusbar32 "$(dval child.1.class <<<"$seen")"
expect_eq "status bar parts" 1 "$(dval child.1.parts <<<"$seen")"

# --- A message box is read, with line breaks escaped, and answered.
press alt+F4
# A box is listed a moment before its text is set: wait for the text.
wait_until 10 driver_matches msgbox.0.text '.' msgbox
seen=$(driver msgbox)
expect_eq "message box count" 1 "$(dval count <<<"$seen")"
expect_eq "message box caption" Notepad "$(dval msgbox.0.caption <<<"$seen")"
expect_match "message box text" "^File 'Untitled' has been modified\.\\\\n" "$(dval msgbox.0.text <<<"$seen")"
expect_eq "buttons" "Yes No Cancel" "$(dval msgbox.0.button.0 <<<"$seen") $(dval msgbox.0.button.1 <<<"$seen") $(dval msgbox.0.button.2 <<<"$seen")"
rc=0
driver msgbox-press Maybe >/dev/null || rc=$?
expect_eq "pressing a button that is not there" 1 "$rc"
expect_eq "pressed" No "$(driver msgbox-press no | dval pressed)"
expect_eq "notepad exit code" 0 "$(wait_exit 10 "$notepadPid")"
wait_until 10 _not_alive "$notepadPid"

# --- A shell link made in a folder that does not exist yet opens its target
# with its arguments.
noteDir=$(unix_path 'C:\harness')
expect_eq "unix_path" "$WINEPREFIX/drive_c/harness" "$noteDir"
mkdir -p "$noteDir"
printf 'from the link' >"$noteDir/note.txt"
link='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Harness Test\Notepad.lnk'
mklink "$link" 'C:\windows\notepad.exe' 'C:\harness\note.txt' 'C:\harness'
linkFile=$(unix_path "$link")
[ -f "$linkFile" ] || fail "no link at $linkFile"
# Every shell link starts with its header size and the shell link class id.
expect_eq "link header" "4c0000000114020000000000c000000000000046" \
  "$(head -c 20 "$linkFile" | od -An -tx1 | tr -d ' \n')"
rc=0
wine_run "$WH_MKLINK" 'C:\x.lnk' >/dev/null 2>&1 || rc=$?
expect_eq "whmklink usage exit code" 2 "$rc"

wine_start start /unix "$linkFile"
wait_until 30 driver windows --caption "note.txt - Notepad"
wait_until 10 driver_is child.0.text "from the link" children --caption "note.txt - Notepad"
# With no tray window of Wine, the focus goes to the one visible window.
focus_wine_window
expect_eq "focused window" "note.txt - Notepad" "$(xdotool getwindowfocus getwindowname)"

# --- Registry and paths.
expect_match "reg_query" '^[0-9]+\.[0-9]+$' \
  "$(reg_query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' CurrentVersion)"
rc=0
reg_query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' NoSuchValue >/dev/null || rc=$?
expect_eq "reg_query of a missing value" 1 "$rc"
expect_eq "win_path" 'Z:\tmp\a b' "$(win_path '/tmp/a b')"
expect_eq "unix_path through winepath" "$noteDir/note.txt" \
  "$(unix_path "$(win_path "$noteDir/note.txt")")"

# --- The harness fails a scenario that waits in vain or sees the wrong thing,
# and says what it saw; the failing part runs in a subshell, so this
# scenario carries on.
rc=0
message=$( (wait_until 1 driver_is caption nothing windows --class Notepad) 2>&1) || rc=$?
expect_eq "wait_until on timeout" 1 "$rc"
expect_match "wait_until says what it waited for" 'timed out after 1s waiting for: driver_is' "$message"
rc=0
message=$( (expect_eq "a label" one two) 2>&1) || rc=$?
expect_eq "expect_eq on a difference" 1 "$rc"
expect_match "expect_eq says what it saw" 'a label: expected \[one\], saw \[two\]' "$message"
# The subshells' exits cleaned nothing up: the prefix still answers.
driver windows --caption "note.txt - Notepad" >/dev/null

log "passed"
