# A virtual microphone on a private PulseAudio server, for tests and measurements that capture
# through the real sound system. Source this file, then:
#
#   vmic_start FOLDER   starts the server with its socket and log in FOLDER (which must exist)
#                       and exports PULSE_SERVER; whatever is played into the sink "vsink" is
#                       heard on the default source "vmic" ("VirtualMic")
#   vmic_play FILE      plays a WAV file into the microphone in a loop, in the background
#   vmic_stop           stops the player and the server
#
# Needs pulseaudio and pulseaudio-utils. vmic_start returns 1, saying why, when it cannot start.
#
# Why the modules: Qt Multimedia lists no *.monitor sources, so the sink's monitor is remapped
# into the ordinary source vmic; the 20 ms loopback keeps the null sink at low latency so that a
# new capture stream gets data at once; the suspend and resume drop the block rendered at load.

vmic_server=""
vmic_player=""

vmic_start() {
    local folder=$1 tool
    for tool in pulseaudio pactl paplay; do
        command -v "$tool" >/dev/null 2>&1 || {
            echo "$tool is not installed (pulseaudio, pulseaudio-utils)"
            return 1
        }
    done
    cat >"$folder/vmic.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$folder/native
load-module module-null-sink sink_name=vsink rate=44100 channels=1 sink_properties=device.description=VirtualSink
load-module module-remap-source master=vsink.monitor source_name=vmic source_properties=device.description=VirtualMic
load-module module-null-sink sink_name=drain rate=44100 channels=1 sink_properties=device.description=Drain
load-module module-loopback source=vsink.monitor sink=drain latency_msec=20 source_dont_move=true sink_dont_move=true
set-default-sink vsink
set-default-source vmic
suspend-sink vsink 1
suspend-sink vsink 0
PA
    export PULSE_SERVER="unix:$folder/native"
    mkdir -p -m 700 "$folder/pulse-runtime"
    # The server keeps its own runtime folder, so the caller's XDG_RUNTIME_DIR stays as it is.
    XDG_RUNTIME_DIR="$folder/pulse-runtime" pulseaudio -n -F "$folder/vmic.pa" --daemonize=no \
        --exit-idle-time=-1 --use-pid-file=no --log-target=file:"$folder/pulse.log" \
        </dev/null >/dev/null 2>&1 &
    vmic_server=$!
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        kill -0 "$vmic_server" 2>/dev/null || break
        sleep 0.05
    done
    echo "the PulseAudio server did not start: $(tail -3 "$folder/pulse.log" 2>/dev/null)"
    vmic_stop
    return 1
}

vmic_play() {
    local file=$1
    (while true; do paplay -d vsink "$file" || exit 0; done) &
    vmic_player=$!
}

vmic_stop() {
    if [ -n "$vmic_player" ]; then
        local playing
        playing=$(pgrep -P "$vmic_player" 2>/dev/null || true)
        kill "$vmic_player" 2>/dev/null || true
        if [ -n "$playing" ]; then
            # shellcheck disable=SC2086
            kill $playing 2>/dev/null || true
        fi
        wait "$vmic_player" 2>/dev/null || true
        vmic_player=""
    fi
    if [ -n "$vmic_server" ]; then
        kill "$vmic_server" 2>/dev/null || true
        wait "$vmic_server" 2>/dev/null || true
        vmic_server=""
    fi
}
