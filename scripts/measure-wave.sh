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

dir=$(mktemp -d)
server=
player=
cleanup() {
    [ -n "$player" ] && kill "$player" 2>/dev/null && wait "$player" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

cat >"$dir/ci.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
load-module module-null-sink sink_name=vsink rate=44100 channels=1 sink_properties=device.description=VirtualSink
load-module module-remap-source master=vsink.monitor source_name=vmic source_properties=device.description=VirtualMic
load-module module-null-sink sink_name=drain rate=44100 channels=1 sink_properties=device.description=Drain
load-module module-loopback source=vsink.monitor sink=drain latency_msec=20 source_dont_move=true sink_dont_move=true
set-default-sink vsink
set-default-source vmic
suspend-sink vsink 1
suspend-sink vsink 0
PA
export XDG_RUNTIME_DIR=$dir/xdg PULSE_SERVER=unix:$dir/native QT_QPA_PLATFORM=offscreen
unset TAVSIM_WAVE_INPUTS
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
pulseaudio -n -F "$dir/ci.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=file:"$dir/pa.log" </dev/null >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done

# A 1000 Hz tone (16-bit mono, amplitude 0.5), played in a loop for the whole run.
"$soak" --tone "$dir/tone.wav"
(while true; do paplay -d vsink "$dir/tone.wav" || exit 0; done) &
player=$!

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
