#!/usr/bin/env bash
# At 120 dots per inch on a 1280 x 800 screen both windows fit the work area,
# the settings window's buttons included, and the information panel's labels
# are as wide as their texts; told they are on a monitor of 144, they are
# laid out again and still fit.
E2E_SCREEN=1280x800x24
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray_steps.sh"
source "$(dirname "$0")/settings_steps.sh"
source "$(dirname "$0")/dpi_steps.sh"

check_windows_fit_at 120
check_dpi_change_to 144
log "passed"
