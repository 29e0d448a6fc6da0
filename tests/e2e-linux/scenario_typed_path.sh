#!/usr/bin/env bash
# A typed absolute path opens the file with the default handler for its
# type (set in a private mimeapps.list), not in a web browser; a typed
# "~/folder" opens that folder of the home.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0\nHideWhenLaunching=1\nAutoComplete=0'
marker="$E2E_WORK/marker"
notes="$E2E_WORK/home/meeting-notes.txt"
printf 'notes\n' >"$notes"
reader="$E2E_WORK/bin/reader"
# The reader notes the one argument it is given.
# shellcheck disable=SC2016  # the reader's own $1
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$marker" >"$reader"
chmod +x "$reader"
printf '[Desktop Entry]\nType=Application\nName=Notes Reader\nNoDisplay=true\nMimeType=text/plain;x-scheme-handler/http;inode/directory;\nExec=%s %%f\n' \
  "$reader" >"$XDG_DATA_HOME/applications/notes-reader.desktop"
printf '[Default Applications]\ntext/plain=notes-reader.desktop\nx-scheme-handler/http=notes-reader.desktop\ninode/directory=notes-reader.desktop\n' \
  >"$XDG_CONFIG_HOME/mimeapps.list"

_marker_written() { [ -s "$marker" ]; }
_marker_has_two_lines() { [ "$(wc -l <"$marker")" -ge 2 ]; }

wh_start
wh_wait_ready
press F4
wait_until 10 main_has_focus

type_text "$notes"
press Return
wait_until 15 _marker_written
wait_until 10 window_hidden "$WH_MAIN_NAME"
# The reader got the file itself, never an http:// address.
expect_eq "opened" "$notes" "$(cat "$marker")"
wh_pid_alive || fail "the program ended"

# As a shell reads it, "~/" is the home; the blank doesn't make it a search.
mkdir -p "$HOME/Project Plans"
press F4
wait_until 10 main_has_focus
type_text "~/Project Plans"
press Return
wait_until 15 _marker_has_two_lines
wait_until 10 window_hidden "$WH_MAIN_NAME"
expect_eq "opened folder" "$HOME/Project Plans" "$(sed -n 2p "$marker")"
wh_pid_alive || fail "the program ended"
