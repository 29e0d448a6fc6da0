# shellcheck shell=bash
# A home of a test's own, and the proof that the real one stayed as it was.
# Sourced by the scenario harness (tests/e2e-harness.sh) and by
# tests/with-private-home, which runs the unit test programs.
#
#   enter_private_home DIR   export HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
#                            XDG_CACHE_HOME and XDG_RUNTIME_DIR as empty
#                            folders under DIR, after noting what the real
#                            home holds
#   check_homes DIR          after the test: fail (status 1, saying why) when
#                            the real home changed, or when the test's own
#                            home holds a shortcut or launcher entry

# What a test may have written into the home it was started with: the names
# at its top (where a Wine prefix's Desktop and Documents links led), and the
# files below the folders where desktops and Wine keep shortcuts, menus and
# log-in entries, with their sizes and times. A listing, not the whole tree:
# a home can hold hundreds of thousands of files.
home_snapshot() {
  local home=$1 sub
  {
    find "$home" -mindepth 1 -maxdepth 1 -printf '%f\n'
    for sub in Desktop Documents Downloads .config/autostart .config/menus \
               .config/wordhopper .local/share/applications .local/share/desktop-directories; do
      [ -d "$home/$sub" ] || continue
      find "$home/$sub" -mindepth 1 -printf "$sub/%P %s %T@\n"
    done
  } 2>/dev/null | LC_ALL=C sort
}

enter_private_home() {
  local dir=$1
  WH_REAL_HOME=${HOME:-}
  if [ -n "$WH_REAL_HOME" ] && [ "$WH_REAL_HOME" != / ] && [ -d "$WH_REAL_HOME" ]; then
    home_snapshot "$WH_REAL_HOME" >"$dir/real-home.before"
  else
    WH_REAL_HOME=
  fi
  mkdir -p "$dir"/{home,config,data,cache}
  mkdir -m 700 "$dir/runtime"
  export HOME="$dir/home"
  export XDG_CONFIG_HOME="$dir/config"
  export XDG_DATA_HOME="$dir/data"
  export XDG_CACHE_HOME="$dir/cache"
  export XDG_RUNTIME_DIR="$dir/runtime"
}

check_homes() {
  local dir=$1 ok=0 left
  if [ -n "${WH_REAL_HOME:-}" ] && [ -f "$dir/real-home.before" ]; then
    home_snapshot "$WH_REAL_HOME" >"$dir/real-home.after"
    if ! cmp -s "$dir/real-home.before" "$dir/real-home.after"; then
      echo "FAIL: the real home $WH_REAL_HOME changed while the test ran:" >&2
      diff "$dir/real-home.before" "$dir/real-home.after" | grep '^[<>]' |
        sed 's/^< /  gone: /; s/^> /  new: /' >&2
      ok=1
    fi
  fi
  left=$(find "$dir/home" \( -iname '*.lnk' -o -iname '*.url' -o -iname '*.desktop' \) \
    -printf '  %P\n' 2>/dev/null)
  if [ -n "$left" ]; then
    printf 'FAIL: the test left shortcuts in its own home:\n%s\n' "$left" >&2
    ok=1
  fi
  return "$ok"
}
