#!/usr/bin/env bash
# Starts the real tavsim with the AND-gate example's teacher's board, opens the example
# assignment through Bestand, "Opdracht openen…" and its file dialog, presses F5 and reads the
# assignment dock from the screen: its title, the mark 10,0 and the checks. Then closes the
# program, which must not ask to keep the board: checking never touches it.
#
# Usage: assignment_check.sh <tavsim program> [LeakSanitizer suppression file]
set -uo pipefail

program=${1:?usage: assignment_check.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
program=$(readlink -f "$program")
[ -n "$suppressions" ] && suppressions=$(readlink -f "$suppressions")
title='Tavelon 2.0 demonstratie'
examples=$(dirname "$program")/opdrachten

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_require_tools
command -v tesseract >/dev/null 2>&1 || fail "tesseract is not installed (scripts/install-deps.sh)"
[ -f "$examples/en-poort.tvo" ] || fail "no example assignment in $examples"
e2e_start_x
e2e_private_env
export LANG=C.UTF-8
e2e_start_program "$examples/en-poort.tvb"
window=$(e2e_wait_window "^${title}") || exit 1
e2e_board_layout "$window"
e2e_wait_board

# Bestand opens on its first item, "Nieuw"; two down is "Opdracht openen…".
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --clearmodifiers alt+b
sleep 0.5
xdotool key --clearmodifiers Down Down Return
dialog=$(e2e_wait_window "^Opdracht openen\$") || exit 1
sleep 0.5
xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
xdotool type --delay 10 "$examples/en-poort.tvo"
xdotool key Return

text=""
for _ in $(seq 1 40); do
    sleep 0.5
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --clearmodifiers F5
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    e2e_screenshot
    # The dock lies on the right of the window; enlarged, so that small text reads reliably.
    convert "$work/screen.png" -crop "300x${HEIGHT}+$((X + WIDTH - 300))+${Y}" +repage \
        -colorspace Gray -resize 300% "$work/dock.png" 2>/dev/null ||
        fail "cannot cut the dock out of the screen"
    text=$(tesseract "$work/dock.png" - 2>/dev/null | tr '\n' ' ')
    grep -q "Cijfer" <<<"$text" && break
done
echo "dock text: $text"
grep -q "De EN-poort" <<<"$text" || fail "the dock does not show the assignment's title"
grep -Eq "Cijfer: ?10,0" <<<"$text" || fail "the teacher's board is not marked 10,0"
grep -q "Waarheidstabel: 4 van 4 punten" <<<"$text" || fail "the truth table is not listed as passed"

# The board is as it was opened: closing asks nothing.
e2e_file_menu "$window" 1
e2e_wait_exit
echo "PASS: the assignment dock marks the teacher's board 10,0 and leaves the board alone"
