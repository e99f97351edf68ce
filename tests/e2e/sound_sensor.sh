#!/usr/bin/env bash
# The sound sensor in the real tavsim under Xvfb, on a virtual input: with a tone, a wire from
# "Geluids Sensor Uit Geel" to "LED 1 Ingang" lights LED 1; the "GeluidSensor" item opens the
# "Geluid Sensor" window, which lists the input with its level bar; the program closes cleanly
# while capturing. With silence the LED stays dark.
#
# Usage: sound_sensor.sh <tavsim program> [LeakSanitizer suppression file]
# With TAVSIM_E2E_SHOTS set to a folder, the chooser's screenshot is kept there.
set -uo pipefail

program=${1:?usage: sound_sensor.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
title='Tavelon 2.0 demonstratie'

# shellcheck source=e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_require_tools
e2e_start_x
e2e_private_env

# wire_sound_to_led1: draws the wire and leaves the pointer outside the board.
wire_sound_to_led1() {
    e2e_click 98 144 # "Geluids Sensor Uit Geel"
    e2e_click 322 41 # "LED 1 Ingang"
    xdotool mousemove 1270 1010
}

# ---- a tone: the LED lights, the chooser lists the input -------------------------------------
# 441 Hz fits 40 whole periods in each 4000-byte buffer, so every buffer has the same level.
export TAVSIM_WAVE_INPUTS="Toongenerator=tone:441:100"
e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1
e2e_board_layout "$window"
e2e_wait_board
e2e_wait_led1 dark 1
wire_sound_to_led1
e2e_wait_led1 lit 5
echo "with a tone LED 1 lights: $led"

e2e_menu "$window" w 3 # up from "Ongedaan maken" wraps to "Kleuren voor kleurenblinden", then "Meetgrafiek", then "GeluidSensor"
chooser=$(e2e_wait_window "^Geluid Sensor\$") || exit 1
eval "$(xdotool getwindowgeometry --shell "$chooser" | sed 's/^/C/')"
[ "$CWIDTH" -eq 314 ] && [ "$CHEIGHT" -eq 286 ] || fail "the chooser is ${CWIDTH}x${CHEIGHT}, not 314x286"
# chooser_pixel X Y: "r g b" of the last screenshot at (X, Y) of the chooser.
chooser_pixel() {
    convert "$work/screen.png" -crop "1x1+$((CX + $1))+$((CY + $2))" \
        -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: 2>/dev/null
}
# dark_pixels X Y W H: how many pixels of that part of the chooser are text-dark.
dark_pixels() {
    convert "$work/screen.png" -crop "$3x$4+$((CX + $1))+$((CY + $2))" +repage \
        -colorspace gray -threshold 50% -negate -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null
}
# The bars of the sensor (row 0, top 66) and of input 1 (row 1, top 95) run 200 pixels from
# x 102 at full level: near their right end they show the bar's red, not the dark track.
bars=""
for _ in $(seq 1 30); do
    e2e_screenshot
    sensor_bar=$(chooser_pixel 290 72)
    input_bar=$(chooser_pixel 290 101)
    read -r r0 g0 b0 <<<"$sensor_bar"
    read -r r1 g1 b1 <<<"$input_bar"
    if [ "${r0:-0}" -ge 180 ] && [ "${b0:-255}" -le 120 ] && [ "${r1:-0}" -ge 180 ] && [ "${b1:-255}" -le 120 ]; then
        bars=yes
        break
    fi
    sleep 0.1
done
[ -n "$bars" ] || fail "the level bars are not full: sensor $sensor_bar, input 1 $input_bar"
input2_bar=$(chooser_pixel 200 130)
read -r r2 g2 b2 <<<"$input2_bar"
[ "${r2:-255}" -le 100 ] || fail "input 2 has a bar though there is no such input: $input2_bar"
# The name of input 1 is written under its bar (x 102, y 108); input 2 has none.
name1=$(dark_pixels 102 108 200 15)
name2=$(dark_pixels 102 137 200 15)
[ "${name1:-0}" -ge 40 ] || fail "no name under the bar of input 1 ($name1 dark pixels)"
[ "${name2:-1}" -eq 0 ] || fail "a name under the bar of input 2 ($name2 dark pixels)"
echo "chooser: full bars (sensor $sensor_bar, input 1 $input_bar), input 1 named ($name1 dark pixels)"
if [ -n "${TAVSIM_E2E_SHOTS:-}" ]; then
    mkdir -p "$TAVSIM_E2E_SHOTS"
    convert "$work/screen.png" -crop "${CWIDTH}x${CHEIGHT}+${CX}+${CY}" +repage \
        "$TAVSIM_E2E_SHOTS/geluid-sensor.png"
fi
xdotool mousemove $((CX + 265)) $((CY + 265)) # "OK"
sleep 0.1
xdotool click 1
shown=yes
for _ in $(seq 1 30); do
    xwininfo -id "$chooser" 2>/dev/null | grep -q IsViewable || { shown=""; break; }
    sleep 0.1
done
[ -z "$shown" ] || fail "the chooser is still shown after OK"

# Closing while capturing: no crash, no hang, exit code 0.
e2e_close_without_saving "$window"

# ---- silence: the LED stays dark ---------------------------------------------------------------
export TAVSIM_WAVE_INPUTS="Stilte=silence"
e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1
e2e_board_layout "$window"
e2e_wait_board
wire_sound_to_led1
sleep 1.5
e2e_wait_led1 dark 1
echo "with silence LED 1 stays dark: $led"
e2e_close_without_saving "$window"
echo "PASS: a tone on the sound sensor lights LED 1, silence does not; the chooser lists the input"
