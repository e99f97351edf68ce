#!/usr/bin/env bash
# Starts the real tavsim in a real X server, opens "Bewaren als.." from the File menu and reads
# the file dialog from the screen: its buttons and labels must be Dutch ("Annuleren",
# "Zoeken in", the type "Map"), not Qt's English defaults. Then cancels the dialog with Escape
# and closes the program.
#
# Usage: dutch_dialogs.sh <tavsim program> [LeakSanitizer suppression file]
set -uo pipefail

program=${1:?usage: dutch_dialogs.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
# The test changes its working folder below.
program=$(readlink -f "$program")
[ -n "$suppressions" ] && suppressions=$(readlink -f "$suppressions")
title='Tavelon 2.0 demonstratie'

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_require_tools
command -v tesseract >/dev/null 2>&1 || fail "tesseract is not installed (scripts/install-deps.sh)"
e2e_start_x
e2e_private_env
# Whatever language the user's session speaks, the program speaks Dutch.
export LANG=C.UTF-8 LANGUAGE=en
# The dialog opens in the working folder; this one holds folders, whose type is shown.
cd "$work" || fail "cannot enter $work"
e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1

e2e_file_menu "$window" 2 # up from "Sluiten" past the separator: "Bewaren als.."
dialog=$(e2e_wait_window "^Bewaren als\$") || exit 1
# A slow build (sanitizers, a busy machine) may map the dialog before it paints its buttons:
# read it again until its button text shows, for at most 20 s.
text=""
for _ in $(seq 1 40); do
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    e2e_screenshot
    # Enlarged, so that the small button text reads reliably.
    convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -colorspace Gray \
        -resize 300% "$work/dialog.png" 2>/dev/null || fail "cannot cut the dialog out of the screen"
    text=$(tesseract "$work/dialog.png" - 2>/dev/null | tr '\n' ' ')
    grep -Eq "Annuleren|Cancel" <<<"$text" && break
done
echo "dialog text: $text"
grep -q "Annuleren" <<<"$text" || fail "no Dutch \"Annuleren\" button in the Save As dialog (dialog ${WIDTH}x${HEIGHT}+${X}+${Y})"
grep -q "Zoeken in" <<<"$text" || fail "no Dutch \"Zoeken in\" in the Save As dialog"
if grep -Eq "Cancel|Look in|Files of type|Folder" <<<"$text"; then
    fail "the Save As dialog still shows English text"
fi

xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
xdotool key Escape
sleep 0.3
e2e_file_menu "$window" 1
e2e_wait_exit
echo "PASS: the Save As dialog speaks Dutch"
