# shellcheck shell=bash
# How every Wine prefix of the project is made, sourced by the scripts and the
# scenario harness that run Wine:
#
#   wh_wine_environment      the variables every wine call of ours runs with
#   wh_boot_prefix PREFIX    boot PREFIX once (under a lock, so two callers
#                            never boot it twice) and make it private; exit
#                            status 1 when it could not be booted
#   wh_private_prefix PREFIX make an already booted prefix private
#
# A new prefix links its user's Desktop, Documents, Downloads, Music, Pictures
# and Videos folders to the Unix home folder. A shortcut a test puts on the
# "desktop" would then land in the home of whoever runs it, the program would
# index whatever lies there, and two runs side by side would see each other's
# files. Each such link becomes a folder of the prefix's own.

wh_wine_environment() {
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  # Without the first two a new prefix stops to offer the Mono and Gecko
  # installers; without the menu builder off, Wine copies the prefix's
  # shortcuts into the Linux user's own menus.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
}

wh_private_prefix() {
  local link
  while IFS= read -r -d '' link; do
    rm -f "$link" && mkdir "$link" || return 1
  done < <(find "$1/drive_c/users" -mindepth 2 -maxdepth 2 -type l -print0 2>/dev/null)
}

# Services the boot starts inherit its output: it goes nowhere, so that no
# caller's pipe waits for them.
wh_boot_prefix() {
  local prefix=$1
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.wh-booted" ]; then
      WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 </dev/null || true
      WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1 </dev/null || true
      [ -f "$prefix/system.reg" ] || exit 1
      touch "$prefix/.wh-booted"
    fi
    # Also for a prefix booted before its links were replaced.
    wh_private_prefix "$prefix"
  ) 9>"$prefix.lock"
}
