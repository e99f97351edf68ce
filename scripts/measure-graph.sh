#!/usr/bin/env bash
# Measures what the "Meetgrafiek" window costs the running program, under an X server of its
# own (Xvfb, no window manager): the CPU of the program (utime + stime over 20 s, after 10 s of
# settling, pointer outside both windows) with the graph closed, and with it open and showing
# N traces, chosen by clicking sockets on the board as a user would.
#
# Usage: scripts/measure-graph.sh [--program PATH] [--settle S] [--span S] [--traces N] BOARD
#   Defaults: build/bin/tavsim, 10 s settling, 20 s measuring, 8 traces. --shot FILE.png saves
#   a screenshot (ImageMagick's import) at the end of the measuring, to see the traces.
set -uo pipefail
cd "$(dirname "$0")/.."

program=build/bin/tavsim
settle=10
span=20
traces=8
shot=""
board=""
while [ $# -gt 0 ]; do
    case "$1" in
    --program) program=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --span) span=$2; shift 2 ;;
    --traces) traces=$2; shift 2 ;;
    --shot) shot=$2; shift 2 ;;
    -h | --help) sed -n '2,11p' "$0"; exit 0 ;;
    *) board=$1; shift ;;
    esac
done
[ -f "$board" ] || { echo "usage: $0 [--program PATH] [--traces N] BOARD.tvb" >&2; exit 2; }
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed" >&2; exit 2; }
done
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 2; }

work=$(mktemp -d /tmp/tavsim-measure-graph.XXXXXX)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r -t 20 display <"$work/displayfd"
[ -n "$display" ] || { echo "no X server could be started" >&2; exit 1; }
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb TAVSIM_REGISTRY="$work/registry"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime" TAVSIM_WAVE_INPUTS="Stil=silence"
unset XDG_CURRENT_DESKTOP QT_QPA_PLATFORMTHEME
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# No key repeat: a key still held when a window takes the focus must not type on.
command -v xset >/dev/null 2>&1 && xset r off

"$program" "$board" >"$work/tavsim.log" 2>&1 &
app_pid=$!
window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Tavelon 2\.0 demonstratie' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "tavsim showed no window" >&2; cat "$work/tavsim.log" >&2; exit 1; }

cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
measure() {
    xdotool mousemove 1279 1023
    sleep "$settle"
    local before after
    before=$(cpu_ticks "$app_pid")
    sleep "$span"
    after=$(cpu_ticks "$app_pid")
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$span" \
        'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

closed=$(measure)
# The splash window had the same title; the main window is the one left.
window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Tavelon 2\.0 demonstratie' | head -1)

# The board at the bottom right (clear of the corner where the pointer rests), the graph above
# it at the top left; the sockets clicked lie
# below the graph. Board pixels to screen: the canvas fills the window below its menu bar.
xdotool windowmove "$window" 430 275
sleep 0.5
xdotool windowfocus "$window" key --window "$window" ctrl+m
# The graph takes the keyboard focus before the keys are let go; without this, the X server
# repeats the held "m" into the graph's socket list for as long as the measuring lasts.
xdotool keyup ctrl+m
graph=""
for _ in $(seq 1 50); do
    graph=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Meetgrafiek$' 2>/dev/null | head -1)
    [ -n "$graph" ] && break
    sleep 0.1
done
[ -n "$graph" ] || { echo "the Meetgrafiek window did not open" >&2; exit 1; }
xdotool windowsize "$graph" 640 280 windowmove "$graph" 0 0
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
scale=$((WIDTH / 420))
top=$((Y + HEIGHT - 360 * scale))
# Sockets that have a value on every board: the sources, the counter's outputs.
sockets=("98 295" "98 256" "98 179" "98 214" "288 250" "266 249" "244 249" "222 250" "98 50" "98 101")
for ((i = 0; i < traces && i < ${#sockets[@]}; i++)); do
    read -r bx by <<<"${sockets[$i]}"
    xdotool mousemove $((X + bx * scale)) $((top + by * scale)) click 1
    sleep 0.2
done
open=$(measure)
[ -n "$shot" ] && import -window root "$shot"
printf '%-28s %18s %24s\n' "board" "CPU % graph closed" "CPU % graph, $traces traces"
printf '%-28s %18s %24s\n' "$(basename "$board")" "$closed" "$open"
