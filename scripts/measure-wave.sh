#!/usr/bin/env bash
# Measures sound capture against a real sound server: a private PulseAudio server with a
# virtual microphone (in a folder of its own) and a tone playing into it. Prints the memory of
# a process with five TheWaveIn2 controls capturing, then runs CYCLES start-capture-exit
# cycles and counts those that did not end cleanly.
#
#   scripts/measure-wave.sh [CYCLES] [SETTLE_MS]
#
# CYCLES defaults to 100; SETTLE_MS (default 100) is how long each cycle lets the event loop
# run after releasing its controls, as the program does. Needs build/bin/wave_soak.
set -euo pipefail
cd "$(dirname "$0")/.."
cycles=${1:-100}
settle=${2:-100}
soak=build/bin/wave_soak
for tool in pulseaudio pactl paplay; do
    command -v "$tool" >/dev/null || { echo "$tool ontbreekt (pulseaudio, pulseaudio-utils)"; exit 1; }
done
[ -x "$soak" ] || { echo "$soak ontbreekt: eerst bouwen"; exit 1; }

# shellcheck source=virtual-microphone.sh
source scripts/virtual-microphone.sh
dir=$(mktemp -d)
cleanup() {
    vmic_stop
    rm -rf "$dir"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$dir/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset TAVSIM_WAVE_INPUTS
vmic_start "$dir"

# A 1000 Hz tone (16-bit mono, amplitude 0.5), played in a loop for the whole run.
"$soak" --tone "$dir/tone.wav"
vmic_play "$dir/tone.wav"

echo "Vijf TheWaveIn2-besturingen, 3 s opname:"
"$soak" --controls 5 --ms 3000

crashed=0
silent=0
SECONDS=0
for i in $(seq "$cycles"); do
    status=0
    "$soak" --controls 5 --ms 300 --settle "$settle" >"$dir/cycle.out" 2>"$dir/cycle.err" || status=$?
    if [ "$status" -ge 128 ]; then
        crashed=$((crashed + 1))
        echo "cyclus $i: afgebroken met signaal $((status - 128))"
    elif [ "$status" -ne 0 ]; then
        silent=$((silent + 1))
        echo "cyclus $i: status $status: $(cat "$dir/cycle.out")"
    fi
done
echo "$cycles cycli start-opname-einde in ${SECONDS} s: $crashed afgebroken," \
    "$silent zonder volledige opname"
[ "$crashed" -eq 0 ]
