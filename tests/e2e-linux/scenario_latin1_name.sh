#!/usr/bin/env bash
# A file whose name is Latin-1, not UTF-8, in the user directory is found by
# a word of its name and opened by its own bytes.
source "$(dirname "$0")/lib.sh"

marker="$E2E_WORK/marker"
docs="$E2E_WORK/docs"
mkdir -p "$docs"
file="$docs/$(printf 'Caf\xe9 Notes.txt')"
printf 'notes\n' >"$file"
write_settings "$(printf '[Program]\nFirstShow=1\nStartWithWindows=0\nHideWhenLaunching=1\nStartOnOneMatch=1\nAutoComplete=0\n[Directories]\nUserDir=%s\nUserMasks=txt' "$docs")"
reader="$E2E_WORK/bin/reader"
# The reader notes the one argument it is given.
# shellcheck disable=SC2016  # the reader's own $1
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$marker" >"$reader"
chmod +x "$reader"
printf '[Desktop Entry]\nType=Application\nName=Reader\nNoDisplay=true\nMimeType=text/plain;\nExec=%s %%f\n' \
  "$reader" >"$XDG_DATA_HOME/applications/reader.desktop"
printf '[Default Applications]\ntext/plain=reader.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"

_marker_written() { [ -s "$marker" ]; }

wh_start
wh_wait_ready
press F4
wait_until 10 main_has_focus
# The one match starts at once.
type_text notes
press Return
wait_until 15 _marker_written
expect_eq "opened" "$file" "$(cat "$marker")"
wh_pid_alive || fail "the program ended"
