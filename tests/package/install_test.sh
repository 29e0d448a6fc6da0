#!/usr/bin/env bash
# The Debian package as a user gets it: built with cpack from a configured
# and built native folder, installed with apt-get, looked at, removed again.
# Needs root (as the CI machine has): it installs into /usr.
#
#   tests/package/install_test.sh [BUILD_DIR]     default build/native
set -Eeuo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build/native}" && pwd)

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}
log() { printf '[package] %s\n' "$*" >&2; }

[ "$(id -u)" -eq 0 ] || fail "installing the package needs root"
if dpkg-query -W -f='${Status}' wordhopper 2>/dev/null | grep -q "install ok installed"; then
  fail "a wordhopper package is installed already; this test would remove it"
fi

out=$(mktemp -d)
installed=0
cleanup() {
  local rc=$?
  if [ "$installed" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq wordhopper >/dev/null 2>&1 ||
      dpkg -r wordhopper >/dev/null 2>&1 || true
  fi
  rm -rf "$out"
  exit "$rc"
}
trap cleanup EXIT

log "cpack -G DEB in $build"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) ||
  { cat "$out/cpack.log" >&2; fail "cpack failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$out/wordhopper_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$out")"

# dpkg-shlibdeps names the libraries' packages: Qt's widgets, GLib's GIO, X11.
depends=$(dpkg-deb -f "$deb" Depends)
log "Depends: $depends"
for need in libqt6widgets6 libglib2.0-0 libx11-6 libc6; do
  [[ ", $depends," == *", $need "* || ", $depends," == *", $need,"* ]] ||
    fail "Depends lacks $need: $depends"
done

log "apt-get install $deb"
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$out/apt.log" 2>&1 ||
  { cat "$out/apt.log" >&2; fail "apt-get install failed"; }

[ -x /usr/bin/wordhopper ] || fail "no /usr/bin/wordhopper"
# No display: --version must answer before Qt starts.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/wordhopper --version 2>&1) ||
  fail "wordhopper --version failed: $answer"
[ "$answer" = "wordhopper $version" ] || fail "wordhopper --version said [$answer]"

entry=/usr/share/applications/wordhopper.desktop
[ -f "$entry" ] || fail "no $entry"
desktop-file-validate "$entry" || fail "desktop-file-validate refused $entry"
for size in 48 64 128 256; do
  icon=/usr/share/icons/hicolor/${size}x${size}/apps/wordhopper.png
  [ -f "$icon" ] || fail "no $icon"
done

log "apt-get remove wordhopper"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq wordhopper >"$out/apt.log" 2>&1 ||
  { cat "$out/apt.log" >&2; fail "apt-get remove failed"; }
installed=0
[ ! -e /usr/bin/wordhopper ] || fail "/usr/bin/wordhopper is still there after the removal"
[ ! -e "$entry" ] || fail "$entry is still there after the removal"
log "ok: $(basename "$deb") installs, runs, validates and goes again"
