#!/usr/bin/env bash
# Starts the real tavsim in a real X server (Xvfb, no window manager), checks that its window
# appears with the board painted, then ends it through the File menu's "Sluiten" and checks
# that it exits at once with code 0, without asking anything.
#
# Usage: startup_close.sh <tavsim program> [LeakSanitizer suppression file]
set -uo pipefail

program=${1:?usage: startup_close.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
title='Tavelon 2.0 demonstratie'

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_require_tools
e2e_start_x
e2e_private_env
e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1

# ---- the board is painted ----------------------------------------------------------------------
e2e_board_layout "$window"
colours=0
yellow=""
for _ in $(seq 1 50); do
    e2e_screenshot
    colours=$(convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        -format %k info: 2>/dev/null || echo 0)
    # The ring of the yellow socket "Sensor 1 Uit Geel" (board 98, 50), 6 pixels right of
    # its centre.
    yellow=$(e2e_pixel 104 50)
    [ "$colours" -ge 200 ] && break
    sleep 0.1
done
[ "$colours" -ge 200 ] || fail "the window shows only $colours colours: the board is not painted"
read -r red green blue <<<"$yellow"
if ! [ "${red:-0}" -ge 180 ] || ! [ "${green:-0}" -ge 140 ] || ! [ "${blue:-255}" -le 110 ]; then
    fail "no yellow socket at board (104, 50): colour is '$yellow'"
fi
echo "board painted: $colours colours, socket ring colour $yellow, window ${WIDTH}x${HEIGHT} at scale $scale"

visible=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)
[ "$visible" -eq 1 ] || fail "$visible windows of the program are shown, expected only the main window"

# ---- "Sluiten" from the File menu --------------------------------------------------------------
e2e_file_menu "$window" 1
e2e_wait_exit
echo "PASS: tavsim started, painted its board and closed with code 0"
