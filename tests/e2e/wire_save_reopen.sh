#!/usr/bin/env bash
# The road of one wire in the real tavsim under Xvfb: draw a wire from push button 1's output
# to LED 1, press push button 1 and see the LED light; save the board with "Bewaren als.."
# through the file dialog and check the file's bytes; close without being asked; start the
# program again with the file on the command line and see the wire, the lit LED and the
# document's name in the title.
#
# Usage: wire_save_reopen.sh <tavsim program> [LeakSanitizer suppression file]
set -uo pipefail

program=${1:?usage: wire_save_reopen.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
title='Tavelon 2.0 demonstratie'

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_require_tools
e2e_start_x
e2e_private_env

# Red where the lit lamp shows; the dark lamp is nearly white.
is_lit() {
    local r g b
    read -r r g b <<<"$1"
    [ "${r:-0}" -ge 200 ] && [ "${g:-255}" -le 170 ] && [ "${b:-255}" -le 150 ]
}

# ---- first run: draw, press, save --------------------------------------------------------------
e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1
e2e_board_layout "$window"

# The layout is right when the yellow ring of "Sensor 1 Uit Geel" (98, 50) lies 6 pixels right
# of its centre; the board may take a moment to be painted.
ring=""
for _ in $(seq 1 50); do
    e2e_screenshot
    ring=$(e2e_pixel 104 50)
    read -r red green blue <<<"$ring"
    [ "${red:-0}" -ge 180 ] && [ "${green:-0}" -ge 140 ] && [ "${blue:-255}" -le 110 ] && break
    ring=""
    sleep 0.1
done
[ -n "$ring" ] || fail "no yellow socket ring at board (104, 50): the board layout is not where expected"
echo "board at ($board_left, $board_top), scale $scale"

led=$(e2e_pixel 389 43)
is_lit "$led" && fail "LED 1 is lit before anything was done: $led"

e2e_click 98 179  # "Drukknop 1 Uit Geel"
e2e_click 322 41  # "LED 1 Ingang"
e2e_click 30 180  # "Drukknop 1"
lit=""
for _ in $(seq 1 50); do
    sleep 0.1
    e2e_screenshot
    led=$(e2e_pixel 389 43)
    if is_lit "$led"; then
        lit=yes
        break
    fi
done
[ -n "$lit" ] || fail "LED 1 did not light after wiring push button 1 to it and pressing it: $led"
echo "LED 1 lit: $led"

mkdir -p "$work/boards"
file="$work/boards/bord1.tvb"
e2e_file_menu "$window" 2  # up from "Sluiten" past the separator: "Bewaren als.."
dialog=$(e2e_wait_window "^Bewaren als\$") || exit 1
xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
sleep 0.3
xdotool type --delay 15 "$file"
sleep 0.3
xdotool key Return
for _ in $(seq 1 50); do
    [ -s "$file" ] && break
    sleep 0.1
done
[ -s "$file" ] || fail "no file $file 5 s after confirming the save dialog"

# The document: outer chunk, settings (lamp 1 lit), one wire.
printf '\xDA\xDA\x4F\x00\x00\x00' >"$work/expected.tvb"
printf '\x00\x10\x22\x00\x00\x00' >>"$work/expected.tvb"
printf '\x00\x00\x00\x00\x01\x00\x00\x00' >>"$work/expected.tvb"  # 0, one wire
printf '\x00\x00\x00\x00%.0s' 1 2 3 4 5 6 >>"$work/expected.tvb" # display, sensors, knobs
printf '\xFF\x00' >>"$work/expected.tvb"                          # lamps
printf '\x00\x20\x21\x00\x00\x00' >>"$work/expected.tvb"
printf 'Drukknop 1 Uit Geel\0LED 1 Ingang\0' >>"$work/expected.tvb"
size=$(stat -c %s "$file")
[ "$size" -eq 85 ] || fail "the saved board is $size bytes, expected 52 + 33"
cmp "$file" "$work/expected.tvb" >&2 || fail "the saved board's bytes differ: $(od -An -tx1 "$file")"
echo "saved $size bytes as expected"

name=""
for _ in $(seq 1 30); do
    name=$(xdotool getwindowname "$window" 2>/dev/null)
    [ "$name" = "$title - bord1.tvb" ] && break
    sleep 0.1
done
[ "$name" = "$title - bord1.tvb" ] || fail "after saving the title is '$name'"

# Saved, so closing asks nothing.
e2e_file_menu "$window" 1
e2e_wait_exit

# ---- second run: the file from the command line ------------------------------------------------
e2e_start_program "$file"
window=$(e2e_wait_window "^${title} - bord1\\.tvb\$") || exit 1
e2e_board_layout "$window"
name=$(xdotool getwindowname "$window")
case "$name" in
*" - bord1.tvb") ;;
*) fail "the title '$name' does not end with ' - bord1.tvb'" ;;
esac

# Midway between the two sockets the wire covers the grey panel (195, 202, 210), and the
# lamp lights again through it.
wire=""
for _ in $(seq 1 50); do
    e2e_screenshot
    wire=$(e2e_pixel 210 110)
    led=$(e2e_pixel 389 43)
    read -r red green blue <<<"$wire"
    distance=$(( ${red:-195} > 195 ? ${red:-195} - 195 : 195 - ${red:-195} ))
    distance=$(( distance + (${green:-202} > 202 ? ${green:-202} - 202 : 202 - ${green:-202}) ))
    distance=$(( distance + (${blue:-210} > 210 ? ${blue:-210} - 210 : 210 - ${blue:-210}) ))
    [ "$distance" -ge 60 ] && is_lit "$led" && break
    sleep 0.1
done
[ "$distance" -ge 60 ] || fail "no wire midway between the sockets after reopening: colour $wire"
is_lit "$led" || fail "LED 1 is not lit after reopening: $led"
echo "reopened: wire colour $wire at board (210, 110), LED 1 $led, title '$name'"

e2e_file_menu "$window" 1
e2e_wait_exit
echo "PASS: a wire drawn, the board saved byte for byte and reopened from the command line"
