#!/usr/bin/env bash
# Measures the running tavsim with sound input, under Xvfb with the pointer outside the window:
# resident memory with five capture controls capturing, and the processor time (utime + stime
# from /proc/<pid>/stat) over SECONDS of a board whose sound sensor drives LED 1. Three runs:
# no sound input, five virtual tone inputs, and the virtual microphone of a private PulseAudio
# server with a tone playing into it (skipped without pulseaudio).
#
#   scripts/measure-sound.sh [SECONDS]      (default 20; needs build/bin/tavsim)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
program=$PWD/build/bin/tavsim
suppressions=""
title='Tavelon 2.0 demonstratie'
# shellcheck source=../tests/e2e/e2e_common.sh
source tests/e2e/e2e_common.sh
# shellcheck source=virtual-microphone.sh
source scripts/virtual-microphone.sh
trap 'vmic_stop; e2e_cleanup' EXIT

e2e_require_tools
e2e_start_x
e2e_private_env
ticks=$(getconf CLK_TCK)

# measure LABEL: starts the program, wires the sound sensor to LED 1, moves the pointer away,
# lets the capture settle and prints memory and processor time.
measure() {
    local window stat1 stat2 cpu rss
    e2e_start_program
    window=$(e2e_wait_window "^${title}\$") || exit 1
    e2e_board_layout "$window"
    e2e_wait_board
    e2e_click 98 144
    e2e_click 322 41
    xdotool mousemove 1270 1010
    sleep 3
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status")
    stat1=$(awk '{ print $14 + $15 }' "/proc/$app_pid/stat")
    sleep "$seconds"
    stat2=$(awk '{ print $14 + $15 }' "/proc/$app_pid/stat")
    cpu=$(awk -v a="$stat1" -v b="$stat2" -v t="$ticks" -v s="$seconds" \
        'BEGIN { printf "%.2f s processor time in %d s (%.1f %%)", (b - a) / t, s, 100 * (b - a) / t / s }')
    printf '%-34s resident %6.1f MiB, %s\n' "$1:" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')" "$cpu"
    e2e_stop_program
}

export TAVSIM_WAVE_INPUTS=""
measure "no sound input"
export TAVSIM_WAVE_INPUTS="A=tone:441:100;B=tone:882:60;C=tone:1323:40;D=silence;E=tone:220.5:90"
measure "five virtual inputs capturing"
unset TAVSIM_WAVE_INPUTS
if vmic_start "$work" >"$work/vmic.out"; then
    e2e_tone_wav "$work/tone.wav" 441 100 60
    vmic_play "$work/tone.wav"
    measure "PulseAudio virtual microphone"
else
    echo "PulseAudio virtual microphone: skipped, $(cat "$work/vmic.out")"
fi
