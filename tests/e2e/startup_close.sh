#!/usr/bin/env bash
# Starts the real tavsim in a real X server (Xvfb, no window manager), checks that its window
# appears with the board painted, then ends it through the File menu's "Sluiten" and checks
# that it exits at once with code 0, without asking anything.
#
# Usage: startup_close.sh <tavsim program> [LeakSanitizer suppression file]
set -uo pipefail

program=${1:?usage: startup_close.sh <tavsim program> [lsan suppressions]}
suppressions=${2:-}
title='Tavelon 2.0 demonstratie'

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${work:-}" ] && [ -f "$work/tavsim.log" ]; then
        echo "--- tavsim output ---" >&2
        cat "$work/tavsim.log" >&2
    fi
    exit 1
}

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed, so the program cannot be started in a real window."
    exit 0
fi
for tool in xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed"
done
[ -x "$program" ] || fail "no program at $program"

work=$(mktemp -d /tmp/tavsim-e2e.XXXXXX)
xvfb_pid=""
app_pid=""
cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        sleep 0.5
        kill -9 "$app_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null
    fi
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# ---- an X server on a free display -----------------------------------------------------------
display=""
for n in $(seq 97 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
        if DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1; then
            display=":$n"
            break
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$display" ] && break
    # Another server took this number first, or this one did not come up: try the next.
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
[ -n "$display" ] || fail "no X server could be started on displays :97 to :140"
export DISPLAY=$display

# ---- the program, with private settings --------------------------------------------------------
export QT_QPA_PLATFORM=xcb
export TAVSIM_REGISTRY="$work/registry"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
if [ -n "$suppressions" ]; then
    export LSAN_OPTIONS="suppressions=$suppressions${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
fi

"$program" >"$work/tavsim.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 1 300); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        wait "$app_pid"
        status=$?
        app_pid=""
        fail "tavsim ended with code $status before showing its window"
    fi
    window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no window titled '$title' appeared within 30 s"

# ---- the board is painted ----------------------------------------------------------------------
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -ge 420 ] && [ "$HEIGHT" -ge 360 ] || fail "window is only ${WIDTH}x${HEIGHT}"
# The board fills the window below the menu bar at a whole scale.
scale=$((WIDTH / 420))
board_top=$((Y + HEIGHT - 360 * scale))
colours=0
yellow=""
for _ in $(seq 1 50); do
    import -window root "$work/screen.png" 2>/dev/null
    colours=$(convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        -format %k info: 2>/dev/null || echo 0)
    # The ring of the yellow socket "Sensor 1 Uit Geel" (board 98, 50), 6 pixels right of
    # its centre.
    yellow=$(convert "$work/screen.png" -crop "1x1+$((X + (98 + 6) * scale))+$((board_top + 50 * scale))" \
        -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: 2>/dev/null)
    [ "$colours" -ge 200 ] && break
    sleep 0.1
done
[ "$colours" -ge 200 ] || fail "the window shows only $colours colours: the board is not painted"
read -r red green blue <<<"$yellow"
if ! [ "${red:-0}" -ge 180 ] || ! [ "${green:-0}" -ge 140 ] || ! [ "${blue:-255}" -le 110 ]; then
    fail "no yellow socket at board (104, 50): colour is '$yellow'"
fi
echo "board painted: $colours colours, socket ring colour $yellow, window ${WIDTH}x${HEIGHT} at scale $scale"

visible=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)
[ "$visible" -eq 1 ] || fail "$visible windows of the program are shown, expected only the main window"

# ---- "Sluiten" from the File menu --------------------------------------------------------------
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --clearmodifiers alt+b
opened=""
for _ in $(seq 1 50); do
    if [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -ge 2 ]; then
        opened=yes
        break
    fi
    sleep 0.1
done
[ -n "$opened" ] || fail "the File menu did not open on Alt+B"
# The menu opens with its first item chosen; going up wraps to its last item, "Sluiten".
xdotool key --clearmodifiers Up Return

for _ in $(seq 1 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    shown=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)
    fail "tavsim still runs 5 s after Sluiten, with $shown windows shown (a question?)"
fi
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "tavsim exited with code $status"
echo "PASS: tavsim started, painted its board and closed with code 0"
