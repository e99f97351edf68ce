#!/usr/bin/env bash
# Measuring on the board in the real tavsim under Xvfb: a wire from push button 1 to LED 1
# carries 5 V; resting the pointer on "LED 1 Ingang" shows the probe's label beside it; the
# variable voltage knob, dragged to 3,5 V and closed, points at its setting on the board at 2x
# and at 1x; "Kleuren voor kleurenblinden" turns the 5 V wire from red to yellow. With
# TAVSIM_E2E_SHOTS set to a folder, the screenshots are kept there.
#
# Usage: measuring.sh <tavsim program> [LeakSanitizer suppression file]
set -uo pipefail

program=${1:?usage: measuring.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
title='Tavelon 2.0 demonstratie'

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_require_tools
e2e_start_x
e2e_private_env

keep() {
    if [ -n "${TAVSIM_E2E_SHOTS:-}" ]; then
        mkdir -p "$TAVSIM_E2E_SHOTS" && cp "$work/screen.png" "$TAVSIM_E2E_SHOTS/$1.png"
    fi
}

# pointer_to BX BY: moves the pointer there in two steps, so that the program sees it move.
pointer_to() {
    local sx sy
    read -r sx sy <<<"$(e2e_screen "$1" "$2")"
    xdotool mousemove "$((sx - 3))" "$((sy - 3))"
    sleep 0.05
    xdotool mousemove "$sx" "$sy"
}

# dark BX BY: true when the last screenshot is dark there (the knob's index mark).
dark() {
    local r g b
    read -r r g b <<<"$(e2e_pixel "$1" "$2")"
    [ $((${r:-255} + ${g:-255} + ${b:-255})) -le 300 ]
}

e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1
e2e_board_layout "$window"
e2e_wait_board

e2e_click 98 179 # "Drukknop 1 Uit Geel"
e2e_click 322 41 # "LED 1 Ingang"
e2e_click 30 180 # "Drukknop 1"
e2e_wait_led1 lit 5

# ---- the probe ---------------------------------------------------------------------------------
pointer_to 322 41
sleep 0.8
e2e_screenshot
keep probe
read -r sx sy <<<"$(e2e_screen 322 41)"
# The label lies above and to the right of the socket, in the light yellow of a tooltip.
label=$(convert "$work/screen.png" -crop "260x60+$sx+$((sy - 60))" txt:- 2>/dev/null | grep -c '#FFFFE1')
[ "$label" -ge 200 ] || fail "no probe label beside LED 1 Ingang ($label label pixels)"
echo "probe label shown beside LED 1 Ingang ($label label pixels)"
pointer_to 410 350
sleep 0.3
e2e_screenshot
label=$(convert "$work/screen.png" -crop "260x60+$sx+$((sy - 60))" txt:- 2>/dev/null | grep -c '#FFFFE1')
[ "$label" -eq 0 ] || fail "the probe label stays after the pointer left the socket"

# ---- the knob at its setting -------------------------------------------------------------------
# The knob's index mark points down-left at 0 V, up-right at 3,5 V (0.7 of its sweep).
e2e_screenshot
dark 60 259 || fail "the variable voltage knob does not point at 0 V at start"
e2e_click 63 256 # "Var. Spanning Regelaar": its scale opens at (90, 236)
read -r sx sy <<<"$(e2e_screen 136 266)"
xdotool mousemove "$sx" "$sy" mousedown 1
sleep 0.1
read -r sx sy <<<"$(e2e_screen 236 266)"
xdotool mousemove "$((sx - 10))" "$sy"
sleep 0.05
xdotool mousemove "$sx" "$sy"
sleep 0.1
xdotool mouseup 1
sleep 0.3
e2e_screenshot
keep scale_open
e2e_click 295 244 # the close box
sleep 0.3
pointer_to 410 350
sleep 0.3
e2e_screenshot
keep knob_2x
dark 67 253 || fail "at 2x the knob does not point at 3,5 V"
dark 60 259 && fail "at 2x the knob still points at 0 V"
echo "the knob points at 3,5 V at scale $scale"

menu_bar=$(awk -v h="$HEIGHT" -v s="$scale" 'BEGIN { printf "%d", h - 360 * s }')
xdotool windowsize --sync "$window" 420 $((360 + menu_bar)) 2>/dev/null ||
    xdotool windowsize "$window" 420 $((360 + menu_bar))
sleep 0.5
e2e_board_layout "$window"
e2e_screenshot
keep knob_1x
dark 67 253 || fail "at 1x the knob does not point at 3,5 V"
echo "the knob points at 3,5 V at scale $scale"
xdotool windowsize "$window" 840 $((720 + menu_bar))
sleep 0.5
e2e_board_layout "$window"

# ---- the colour-blind palette -----------------------------------------------------------------
e2e_screenshot
read -r red green blue <<<"$(e2e_pixel 210 110)"
[ "${green:-255}" -le 120 ] || fail "the 5 V wire is not red: $red $green $blue"
e2e_menu "$window" w 1 # up from "Ongedaan maken" wraps to "Kleuren voor kleurenblinden"
# Every wire is drawn again; a slow (sanitizer) build may take a few seconds for it.
yellow=""
for _ in $(seq 1 50); do
    sleep 0.2
    e2e_screenshot
    read -r red green blue <<<"$(e2e_pixel 210 110)"
    if [ "${red:-0}" -ge 180 ] && [ "${green:-0}" -ge 180 ] && [ "${blue:-255}" -le 160 ]; then
        yellow=yes
        break
    fi
done
keep palette
[ -n "$yellow" ] || fail "with the colour-blind colours the 5 V wire is not yellow: $red $green $blue"
echo "colour-blind colours: the 5 V wire is yellow ($red $green $blue)"
grep -q 'ColourBlind' "$TAVSIM_REGISTRY" || fail "the choice was not kept in the settings"

e2e_close_without_saving "$window"
echo "PASS"
