#!/usr/bin/env bash
# The road of one wire in the real tavsim under Xvfb: draw a wire from push button 1's output
# to LED 1, press push button 1 and see the LED light; Ctrl+N asks to keep the changed board
# and Annuleren keeps it; save the board with "Bewaren als.." through the file dialog and
# check the file's bytes; close without being asked; start the program again with the file on
# the command line and see the wire, the lit LED and the document's name in the title. Then
# the variable voltage, turned up with the knob, lights LED 2, and a wire joining two outputs
# is refused without turning it down again.
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

# wire_shown: true when the wire between (98, 179) and (322, 41) covers the grey panel
# (195, 202, 210) midway, at board (210, 110), in the last screenshot.
wire_shown() {
    local red green blue distance
    wire=$(e2e_pixel 210 110)
    read -r red green blue <<<"$wire"
    distance=$(( ${red:-195} > 195 ? ${red:-195} - 195 : 195 - ${red:-195} ))
    distance=$(( distance + (${green:-202} > 202 ? ${green:-202} - 202 : 202 - ${green:-202}) ))
    distance=$(( distance + (${blue:-210} > 210 ? ${blue:-210} - 210 : 210 - ${blue:-210}) ))
    [ "$distance" -ge 60 ]
}

# The program's shown windows, one id a line.
shown_windows() {
    xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | sort
}

# wait_new_window BEFORE: prints the window shown now that is not in BEFORE (a list of
# shown_windows), waiting up to 10 s for it.
wait_new_window() {
    local new
    for _ in $(seq 1 100); do
        new=$(comm -13 <(echo "$1") <(shown_windows) | head -1)
        [ -n "$new" ] && { echo "$new"; return 0; }
        sleep 0.1
    done
    fail "no question or message appeared within 10 s"
}

# wait_window_gone WINDOW: waits until WINDOW is no longer shown.
wait_window_gone() {
    for _ in $(seq 1 50); do
        shown_windows | grep -qx "$1" || return 0
        sleep 0.1
    done
    fail "the window '$(xdotool getwindowname "$1" 2>/dev/null)' is still shown 5 s after answering it"
}

# A changed board is not dropped without asking: Ctrl+N asks, and Annuleren keeps the wire.
before=$(shown_windows)
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --clearmodifiers ctrl+n
question=$(wait_new_window "$before") || exit 1
[ "$(xdotool getwindowname "$question")" = Tavelon ] ||
    fail "Ctrl+N showed '$(xdotool getwindowname "$question")', not the question \"Tavelon\""
xdotool windowfocus --sync "$question" 2>/dev/null || xdotool windowfocus "$question"
sleep 0.3
xdotool key --clearmodifiers Escape
wait_window_gone "$question"
sleep 0.3
e2e_screenshot
wire_shown || fail "after Ctrl+N and Annuleren the wire is gone: colour $wire at board (210, 110)"
led=$(e2e_pixel 389 43)
is_lit "$led" || fail "after Ctrl+N and Annuleren LED 1 is not lit: $led"
echo "Ctrl+N asked first; Annuleren kept the wire ($wire) and the lit LED"

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
    led=$(e2e_pixel 389 43)
    wire_shown && is_lit "$led" && break
    sleep 0.1
done
wire_shown || fail "no wire midway between the sockets after reopening: colour $wire"
is_lit "$led" || fail "LED 1 is not lit after reopening: $led"
echo "reopened: wire colour $wire at board (210, 110), LED 1 $led, title '$name'"

# ---- a refused wire leaves the knob's setting alone --------------------------------------------
# led2_lit SECONDS: waits until LED 2 (board 389, 77) is lit; sets `led2` to its last colour.
led2_lit() {
    for _ in $(seq 1 $(($1 * 10))); do
        e2e_screenshot
        led2=$(e2e_pixel 389 77)
        is_lit "$led2" && return 0
        sleep 0.1
    done
    return 1
}
e2e_click 98 256 # "Var. Spanning Uit Geel"
e2e_click 322 75 # "LED 2 Ingang"
e2e_click 63 256 # "Var. Spanning Regelaar": the knob opens with its dial at (90, 236)
sleep 0.5
# Pressed on the dial and dragged off it to the right: the setting goes to its top, 50.
read -r sx sy <<<"$(e2e_screen 150 260)"
read -r ex ey <<<"$(e2e_screen 340 310)"
xdotool mousemove "$sx" "$sy"
sleep 0.1
xdotool mousedown 1
for step in 1 2 3 4 5 6; do
    sleep 0.05
    xdotool mousemove "$((sx + (ex - sx) * step / 6))" "$((sy + (ey - sy) * step / 6))"
done
sleep 0.1
xdotool mouseup 1
led2_lit 5 || fail "LED 2 did not light with the variable voltage turned up: $led2"
e2e_click 295 244 # the knob's close box
sleep 0.3
e2e_screenshot
before_refused=$(e2e_pixel 210 45)

before=$(shown_windows)
e2e_click 98 50 # "Sensor 1 Uit Geel"
e2e_click 322 41 # "LED 1 Ingang", already joined to push button 1's output: refused
message=$(wait_new_window "$before") || exit 1
xdotool windowfocus --sync "$message" 2>/dev/null || xdotool windowfocus "$message"
sleep 0.3
xdotool key --clearmodifiers Return
wait_window_gone "$message"
read -r sx sy <<<"$(e2e_screen 200 340)"
xdotool mousemove "$sx" "$sy"
sleep 1
led2_lit 1 || fail "after the refused wire LED 2 is dark: the knob's setting was taken back ($led2)"
after_refused=$(e2e_pixel 210 45)
[ "$after_refused" = "$before_refused" ] ||
    fail "the refused wire is still drawn at board (210, 45): $after_refused, before it $before_refused"
led=$(e2e_pixel 389 43)
is_lit "$led" || fail "after the refused wire LED 1 is not lit: $led"
echo "refused wire taken away; LED 2 still lit ($led2) by the knob's setting"

e2e_close_without_saving "$window"
echo "PASS: a wire drawn, kept through Ctrl+N, saved byte for byte, reopened from the command line; a refused wire changed nothing else"
