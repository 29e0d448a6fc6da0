# Steps shared by the scenarios at a DPI above 96; sourced after lib.sh,
# tray_steps.sh and settings_steps.sh. The scenario sets E2E_SCREEN before
# lib.sh to choose the screen.

# The main window's client width as designed at 96 dots per inch
# (app/main_layout.h).
MAIN_CLIENT_WIDTH=457

# Whether L T R B lies within the work area WL WT WR WB.
_inside() {
  local l=$1 t=$2 r=$3 b=$4 wl=$5 wt=$6 wr=$7 wb=$8
  [ "$l" -ge "$wl" ] && [ "$t" -ge "$wt" ] && [ "$r" -le "$wr" ] && [ "$b" -le "$wb" ]
}

# At DPI dots per inch (LogPixels, read when the prefix's programs start):
# the main window and the settings window, its Save and Cancel buttons
# included, lie within the work area, and the information panel's labels
# are as wide as their texts.
check_windows_fit_at() {
  local dpi=$1
  wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  wh_install 'C:\wh' "$(main_ini)"
  make_items alpha
  wh_start show
  wait_until 60 driver_is visible 1 main
  wait_until 20 items_loaded 1
  _check_main_fits "$dpi"
  open_settings_from_tray
  _check_settings_fits
  [ -z "${WH_SHOTS:-}" ] || import -window root "$WH_SHOTS/windows-fit-$dpi.png" || log "no screenshot"
  wh_pid_alive || fail "wordhopper.exe ended"
}

# As if both windows moved to a monitor of DPI dots per inch: the system
# tells them so (WM_DPICHANGED), and they are laid out again to fit it.
check_dpi_change_to() {
  local dpi=$1
  driver dpi-changed --class WordhopperSettings "$dpi" >/dev/null
  _check_settings_fits
  [ -z "${WH_SHOTS:-}" ] || import -window root "$WH_SHOTS/settings-dpi-changed-$dpi.png" ||
    log "no screenshot"
  driver click --class WordhopperSettings --id "$ID_CANCEL" >/dev/null
  wait_until 20 driver_is visible 0 settings
  driver dpi-changed --class WordhopperMain "$dpi" >/dev/null
  _check_main_fits "$dpi"
  [ -z "${WH_SHOTS:-}" ] || import -window root "$WH_SHOTS/main-dpi-changed-$dpi.png" ||
    log "no screenshot"
  wh_pid_alive || fail "wordhopper.exe ended"
}

# The main window at DPI: as wide as designed, inside the work area, the
# panel's labels as wide as their texts in fonts made at DPI.
_check_main_fits() {
  local dpi=$1 seen label width text work client
  seen=$(driver main --dpi "$dpi")
  log "$(grep -E '^(rect|client|workarea|[a-z_]*(count|caption|page_file)\.(text|width|textwidth))=' <<<"$seen")"
  read -r client _ <<<"$(dval client <<<"$seen")"
  expect_eq "client width at $dpi dpi" $(((MAIN_CLIENT_WIDTH * dpi + 48) / 96)) "$client"
  for label in process_count processes_caption memory_caption page_file_caption page_file; do
    width=$(dval "$label.width" <<<"$seen")
    text=$(dval "$label.textwidth" <<<"$seen")
    [ "$text" != unknown ] || fail "$label: its font could not be read"
    [ "$width" -ge "$text" ] || fail "$label: $width pixels for a text of $text"
  done
  work=$(dval workarea <<<"$seen")
  # shellcheck disable=SC2046  # the rectangles' four numbers
  _inside $(dval rect <<<"$seen") $work ||
    fail "the main window [$(dval rect <<<"$seen")] leaves the work area [$work]"
}

# The settings window, its Save and Cancel buttons included, inside the work
# area.
_check_settings_fits() {
  local seen work part
  seen=$(driver settings)
  log "settings: $(grep -E '^(rect|workarea|(save|cancel)\.rect)=' <<<"$seen")"
  work=$(dval workarea <<<"$seen")
  for part in rect save.rect cancel.rect; do
    # shellcheck disable=SC2046
    _inside $(dval "$part" <<<"$seen") $work ||
      fail "the settings window's $part [$(dval "$part" <<<"$seen")] leaves the work area [$work]"
  done
}
