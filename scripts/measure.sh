#!/usr/bin/env bash
# Measures the real program under an X server of its own (Xvfb, no window manager). For each
# board it prints the time from launch until the window is visible (polled every 10 ms, the
# median of several launches), the CPU the running program takes (utime + stime over 20 s,
# after 10 s of settling, with the pointer outside the window), how often its threads were
# woken over those 20 s (voluntary and involuntary context switches of all its threads, per
# second) and its resident memory. With --pointer X,Y the pointer rests instead at pixel (X, Y)
# of the program's window while it settles and is measured (on a socket, for the probe).
#
# Usage: scripts/measure.sh [--program PATH] [--starts N] [--settle S] [--span S]
#                           [--pointer X,Y] BOARD...
#   BOARD is a board file (.tvb) or "leeg" for the program started without one.
#   Defaults: build/bin/tavsim, 5 launches, 10 s settling, 20 s measuring.
set -uo pipefail
cd "$(dirname "$0")/.."

program=build/bin/tavsim
starts=5
settle=10
span=20
pointer=""
boards=()
while [ $# -gt 0 ]; do
    case "$1" in
    --program) program=$2; shift 2 ;;
    --starts) starts=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --span) span=$2; shift 2 ;;
    --pointer) pointer=$2; shift 2 ;;
    -h | --help) sed -n '2,13p' "$0"; exit 0 ;;
    *) boards+=("$1"); shift ;;
    esac
done
if [ ${#boards[@]} -eq 0 ]; then
    echo "usage: $0 [--program PATH] [--starts N] [--settle S] [--span S] BOARD..." >&2
    exit 2
fi
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed" >&2; exit 2; }
done
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 2; }

work=$(mktemp -d /tmp/tavsim-measure.XXXXXX)
xvfb_pid=""
app_pid=""
stop_program() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null
        for _ in $(seq 1 30); do
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
        app_pid=""
    fi
}
cleanup() {
    stop_program
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# An X server of our own; it writes its display number once it accepts connections. It
# does not reset when its last client leaves, so that the next launch is never refused.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r -t 20 display <"$work/displayfd"
[ -n "$display" ] || { echo "no X server could be started" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display"

# Settings of this run only: the user's registry and desktop folders stay untouched.
export QT_QPA_PLATFORM=xcb
export TAVSIM_REGISTRY="$work/registry"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime"
unset XDG_CURRENT_DESKTOP QT_QPA_PLATFORMTHEME
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The window is centred on the screen; the corner is outside it.
xdotool mousemove 1279 1023

now_ns() { date +%s%N; }
ticks_per_second=$(getconf CLK_TCK)

# launch BOARD: starts the program and sets app_pid and `visible_ms`, the time until its
# window is visible (empty when none appeared within 20 s).
launch() {
    local args=()
    [ "$1" != "leeg" ] && args=("$1")
    local start
    start=$(now_ns)
    "$program" "${args[@]}" >>"$work/tavsim.log" 2>&1 &
    app_pid=$!
    visible_ms=""
    for _ in $(seq 1 2000); do
        if xdotool search --onlyvisible --pid "$app_pid" --name '^Tavelon 2\.0 demonstratie' >/dev/null 2>&1; then
            visible_ms=$((($(now_ns) - start) / 1000000))
            return 0
        fi
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 0.01
    done
    return 1
}

# cpu_ticks PID: utime + stime in clock ticks.
cpu_ticks() {
    # The command name (field 2) may hold blanks; count fields after its closing bracket.
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# switches PID: context switches so far, voluntary and involuntary, summed over all threads.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

printf '%-28s %10s %12s %12s %10s\n' "board" "CPU %" "wake-ups/s" "memory MiB" "visible s"
for board in "${boards[@]}"; do
    if [ "$board" != "leeg" ] && [ ! -f "$board" ]; then
        echo "no board file $board" >&2
        exit 2
    fi
    times=()
    refused=0
    for _ in $(seq 1 "$starts"); do
        if launch "$board"; then
            times+=("$visible_ms")
        else
            # A busy X server now and then refuses a connection; such a launch is not timed.
            refused=$((refused + 1))
        fi
        stop_program 2>/dev/null
    done
    [ "$refused" -gt 0 ] && echo "($refused of $starts launches of $board got no window and were not timed)" >&2
    startup=$(printf '%s\n' "${times[@]}" | median)

    if ! launch "$board"; then
        echo "tavsim showed no window for $board" >&2
        cat "$work/tavsim.log" >&2
        exit 1
    fi
    xdotool mousemove 1279 1023
    if [ -n "$pointer" ]; then
        # The splash window may still be going away while the main window is looked up.
        moved=""
        for _ in $(seq 1 50); do
            window=$(xdotool search --onlyvisible --pid "$app_pid" --name '^Tavelon 2\.0 demonstratie' 2>/dev/null | tail -n 1)
            if [ -n "$window" ] && xdotool mousemove --window "$window" "${pointer%,*}" "${pointer#*,}" 2>/dev/null; then
                moved=yes
                break
            fi
            sleep 0.1
        done
        [ -n "$moved" ] || { echo "the pointer could not be put on the window" >&2; exit 1; }
    fi
    sleep "$settle"
    before=$(cpu_ticks "$app_pid")
    woken_before=$(switches "$app_pid")
    sleep "$span"
    after=$(cpu_ticks "$app_pid")
    woken_after=$(switches "$app_pid")
    rss_kib=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status")
    stop_program

    cpu=$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$span" \
        'BEGIN { printf "%.2f", 100 * t / hz / s }')
    wakeups=$(awk -v n=$((woken_after - woken_before)) -v s="$span" 'BEGIN { printf "%.1f", n / s }')
    mem=$(awk -v k="$rss_kib" 'BEGIN { printf "%.1f", k / 1024 }')
    visible=$(awk -v ms="$startup" 'BEGIN { if (ms == "-") print "-"; else printf "%.3f", ms / 1000 }')
    printf '%-28s %10s %12s %12s %10s\n' "$(basename "$board")" "$cpu" "$wakeups" "$mem" "$visible"
done
