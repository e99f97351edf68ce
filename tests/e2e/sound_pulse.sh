#!/usr/bin/env bash
# The sound sensor through the real sound system: a private PulseAudio server with a virtual
# microphone, a tone played into it, and the real tavsim under Xvfb capturing it through Qt
# Multimedia. A wire from "Geluids Sensor Uit Geel" to "LED 1 Ingang" lights LED 1. When the
# server is killed the input falls silent and LED 1 goes dark; a new server is heard again
# without a restart; and the program closes cleanly after its server died.
#
# Usage: sound_pulse.sh <tavsim program> [LeakSanitizer suppression file]
# Skips, saying why in one line, without pulseaudio and pulseaudio-utils.
set -uo pipefail

program=${1:?usage: sound_pulse.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
title='Tavelon 2.0 demonstratie'

here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=e2e_common.sh
source "$here/e2e_common.sh"
# shellcheck source=../../scripts/virtual-microphone.sh
source "$here/../../scripts/virtual-microphone.sh"
trap 'vmic_stop; e2e_cleanup' EXIT

for tool in pulseaudio pactl paplay; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        e2e_skip "$tool is not installed (pulseaudio, pulseaudio-utils), so there is no sound server to capture from."
    fi
done
e2e_require_tools
e2e_start_x
e2e_private_env
unset TAVSIM_WAVE_INPUTS
vmic_start "$work" >"$work/vmic.out" || fail "$(cat "$work/vmic.out")"
# 441 Hz: 40 whole periods in each 4000-byte buffer, so every buffer has the same level.
e2e_tone_wav "$work/tone.wav" 441 100 30
vmic_play "$work/tone.wav"

e2e_start_program
window=$(e2e_wait_window "^${title}\$") || exit 1
e2e_board_layout "$window"
e2e_wait_board
e2e_click 98 144 # "Geluids Sensor Uit Geel"
e2e_click 322 41 # "LED 1 Ingang"
xdotool mousemove 1270 1010
e2e_wait_led1 lit 10
echo "a tone into the virtual microphone lights LED 1: $led"

# kill_server: the sound server dies without a word, as when it crashes.
kill_server() {
    kill -KILL "$vmic_server"
    wait "$vmic_server" 2>/dev/null
    vmic_server=""
    wait "$vmic_player" 2>/dev/null
    vmic_player=""
}
kill_server
e2e_wait_led1 dark 5
echo "with the server killed the sound sensor falls silent: $led"
vmic_start "$work" >"$work/vmic.out" || fail "$(cat "$work/vmic.out")"
vmic_play "$work/tone.wav"
e2e_wait_led1 lit 15
echo "a new server is heard without a restart: $led"
kill_server
e2e_wait_led1 dark 5
e2e_close_without_saving "$window"
echo "PASS: tavsim hears the virtual microphone of a real PulseAudio server, and outlives it"
