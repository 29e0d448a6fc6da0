#!/usr/bin/env bash
# "All users start menu" reads every XDG data folder in order: an entry of
# the second folder is found; an entry with the same desktop-file ID in the
# first folder hides the second's; entries meant for another desktop or
# whose TryExec program is missing stay out. The user's Flatpak exports are
# read though the variable leaves them out.
source "$(dirname "$0")/lib.sh"

write_settings $'[Program]\nFirstShow=1\nStartWithWindows=0\nHideWhenLaunching=1\nStartOnOneMatch=1\nAutoComplete=0'
marker="$E2E_WORK/marker"
first="$E2E_WORK/first/applications" second="$E2E_WORK/system/applications"
mkdir -p "$first" "$second/org"
export XDG_DATA_DIRS="$E2E_WORK/first:$E2E_WORK/system"
export XDG_CURRENT_DESKTOP=GNOME

entry() {
  local file=$1 name=$2 word=$3 extra=${4:-}
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=/bin/sh -c "echo %s >> %s"\n%s' \
    "$name" "$word" "$marker" "$extra" >"$file"
}
entry "$second/zebra.desktop" "Zebra Stripes" zebra
# One ID in both folders: org-example-Dup.desktop (a subfolder joins with "-").
entry "$first/org-example-Dup.desktop" "Dup Tool" first
entry "$second/org/example-Dup.desktop" "Dup Tool Old" second
entry "$second/dup-kde.desktop" "Dup For KDE" kde $'OnlyShowIn=KDE;\n'
entry "$second/dup-gone.desktop" "Dup Gone" gone $'TryExec=/no/such/program\n'
flatpak="$XDG_DATA_HOME/flatpak/exports/share/applications"
mkdir -p "$flatpak"
entry "$flatpak/org.example.Paint.desktop" "Flatpak Paint" paint

_marker_lines() { [ -f "$marker" ] && [ "$(wc -l <"$marker")" -ge "$1" ]; }

wh_start
wh_wait_ready

# Only in the second folder: found, the one match starts it.
press F4
wait_until 10 main_has_focus
type_text zebra
press Return
wait_until 15 _marker_lines 1
wait_until 10 window_hidden "$WH_MAIN_NAME"

# "dup" matches one item only when the hidden and foreign entries stay out.
press F4
wait_until 10 main_has_focus
type_text dup
press Return
wait_until 15 _marker_lines 2
wait_until 10 window_hidden "$WH_MAIN_NAME"

press F4
wait_until 10 main_has_focus
type_text paint
press Return
wait_until 15 _marker_lines 3
expect_eq "marker file" $'zebra\nfirst\npaint' "$(cat "$marker")"
wh_pid_alive || fail "the program ended"
