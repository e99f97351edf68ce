# Shared by the end-to-end scripts, which source it: a private X server, private settings
# folders, starting the program, finding its window, and reading and clicking the board in
# board pixels. Everything waits with a limit; the EXIT trap ends what the script started.
#
# The sourcing script sets `program` and may set `suppressions` before calling these.

work=$(mktemp -d /tmp/tavsim-e2e.XXXXXX)
xvfb_pid=""
app_pid=""

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/tavsim.log" ]; then
        echo "--- tavsim output ---" >&2
        cat "$work/tavsim.log" >&2
    fi
    if [ -s "$work/xvfb.log" ]; then
        echo "--- X server (${DISPLAY:-no display}, pid ${xvfb_pid:-none}) output ---" >&2
        cat "$work/xvfb.log" >&2
    fi
    exit 1
}

e2e_stop_program() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        for _ in $(seq 1 20); do
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$app_pid" 2>/dev/null
    fi
    [ -n "$app_pid" ] && wait "$app_pid" 2>/dev/null
    app_pid=""
}

e2e_cleanup() {
    e2e_stop_program
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap e2e_cleanup EXIT

# e2e_skip REASON: ends a test that cannot run here with exit status 77, which CTest reports
# as skipped. Under CI (CI=true), where every tool is installed, a test that cannot run is a
# failure: it ends with status 1.
e2e_skip() {
    if [ "${CI:-}" = true ]; then
        echo "FAIL: CI=true, but this test cannot run: $*" >&2
        exit 1
    fi
    echo "SKIP: $*"
    exit 77
}

# Skips when there is no X server to start, fails when a tool is missing.
e2e_require_tools() {
    if ! command -v Xvfb >/dev/null 2>&1; then
        e2e_skip "Xvfb is not installed, so the program cannot be started in a real window."
    fi
    for tool in xdotool import convert cmp; do
        command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed"
    done
    [ -x "$program" ] || fail "no program at $program"
}

# e2e_start_x: an X server of our own. Xvfb picks a free display number itself and writes it
# to a pipe once it accepts connections, so two tests can never race for the same number. It
# does not reset when its last client leaves, so that a program started next is not refused.
e2e_start_x() {
    local display="" fifo="$work/displayfd"
    mkfifo "$fifo" || fail "cannot make $fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    # The read ends when Xvfb writes its number, or fails when Xvfb dies without writing it.
    read -r -t 20 display <"$fifo"
    [ -n "$display" ] && kill -0 "$xvfb_pid" 2>/dev/null ||
        fail "no X server could be started: $(cat "$work/xvfb.log" 2>/dev/null)"
    export DISPLAY=":$display"
    for _ in $(seq 1 50); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "the X server on $DISPLAY does not answer"
}

# Settings, registry and desktop folders of this run only.
e2e_private_env() {
    export QT_QPA_PLATFORM=xcb
    export TAVSIM_REGISTRY="$work/registry"
    export XDG_CONFIG_HOME="$work/config"
    export XDG_DATA_HOME="$work/data"
    export XDG_CACHE_HOME="$work/cache"
    export XDG_RUNTIME_DIR="$work/runtime"
    unset XDG_CURRENT_DESKTOP QT_QPA_PLATFORMTHEME
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    if [ -n "${suppressions:-}" ]; then
        export LSAN_OPTIONS="suppressions=$suppressions${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    fi
}

# e2e_start_program [ARGUMENT...]: the program in the background, its output in the log.
# An X server that refuses the program's connection (seen once on a busy machine right after
# start-up) gets one replacement before the test gives up.
e2e_start_program() {
    local attempt
    for attempt in 1 2; do
        "$program" "$@" >>"$work/tavsim.log" 2>&1 &
        app_pid=$!
        for _ in $(seq 1 20); do
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.05
        done
        kill -0 "$app_pid" 2>/dev/null && return 0
        grep -q "could not connect to display" "$work/tavsim.log" || return 0
        [ "$attempt" -eq 2 ] && return 0
        echo "the X server on $DISPLAY refused the program; starting another one" >&2
        wait "$app_pid" 2>/dev/null
        app_pid=""
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        rm -f "$work/displayfd"
        e2e_start_x
    done
}

# e2e_wait_window NAME_REGEX: prints the program's visible window whose name matches.
e2e_wait_window() {
    local found="" status
    for _ in $(seq 1 300); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid"
            status=$?
            app_pid=""
            fail "tavsim ended with code $status before showing a window named '$1'"
        fi
        found=$(xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null | head -1)
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || fail "no window named '$1' appeared within 30 s"
    echo "$found"
}

# e2e_board_layout WINDOW: sets X, Y, WIDTH, HEIGHT of the window's client area and `scale`,
# `board_left`, `board_top`: the board (420 × 360) is centred in the canvas below the menu
# bar and scaled by the largest factor that fits; the window is sized to it, so the width
# gives the scale and the board ends at the window's bottom.
e2e_board_layout() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$WIDTH" -ge 420 ] && [ "$HEIGHT" -ge 360 ] || fail "window is only ${WIDTH}x${HEIGHT}"
    scale=$(awk -v w="$WIDTH" 'BEGIN { printf "%.6f", w / 420 }')
    board_left=$X
    board_top=$(awk -v y="$Y" -v h="$HEIGHT" -v s="$scale" 'BEGIN { printf "%.3f", y + h - 360 * s }')
}

# e2e_screen BX BY: the screen pixel at the middle of board pixel (BX, BY).
e2e_screen() {
    awk -v bx="$1" -v by="$2" -v l="$board_left" -v t="$board_top" -v s="$scale" \
        'BEGIN { printf "%d %d", l + (bx + 0.5) * s, t + (by + 0.5) * s }'
}

# e2e_click BX BY [BUTTON]: moves the pointer there in two steps, so that the program sees
# it move, and clicks.
e2e_click() {
    local sx sy
    read -r sx sy <<<"$(e2e_screen "$1" "$2")"
    xdotool mousemove "$((sx - 3))" "$((sy - 3))"
    sleep 0.05
    xdotool mousemove "$sx" "$sy"
    sleep 0.1
    xdotool click "${3:-1}"
    sleep 0.1
}

e2e_screenshot() {
    import -window root "$work/screen.png" 2>/dev/null || fail "no screenshot could be taken"
}

# e2e_pixel BX BY: "r g b" of the last screenshot at board pixel (BX, BY).
e2e_pixel() {
    local sx sy
    read -r sx sy <<<"$(e2e_screen "$1" "$2")"
    convert "$work/screen.png" -crop "1x1+$sx+$sy" \
        -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: 2>/dev/null
}


# e2e_wait_exit: waits up to 5 s for the program to end and fails unless it ended with 0.
e2e_wait_exit() {
    local status shown
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
}

# e2e_wait_board: waits until the board is painted where e2e_board_layout says: the yellow
# ring of "Sensor 1 Uit Geel" (98, 50) lies 6 pixels right of its centre.
e2e_wait_board() {
    local ring red green blue
    for _ in $(seq 1 50); do
        e2e_screenshot
        ring=$(e2e_pixel 104 50)
        read -r red green blue <<<"$ring"
        [ "${red:-0}" -ge 180 ] && [ "${green:-0}" -ge 140 ] && [ "${blue:-255}" -le 110 ] && return 0
        sleep 0.1
    done
    fail "no yellow socket ring at board (104, 50): the board layout is not where expected"
}

# e2e_is_lit "R G B": true for the red of a lit lamp; the dark lamp is nearly white.
e2e_is_lit() {
    local r g b
    read -r r g b <<<"$1"
    [ "${r:-0}" -ge 200 ] && [ "${g:-255}" -le 170 ] && [ "${b:-255}" -le 150 ]
}

# e2e_wait_led1 lit|dark SECONDS: waits until LED 1 (board 389, 43) is so; sets `led` to its
# last colour and fails when it never is.
e2e_wait_led1() {
    local want=$1 seconds=$2
    for _ in $(seq 1 $((seconds * 10))); do
        e2e_screenshot
        led=$(e2e_pixel 389 43)
        if e2e_is_lit "$led"; then
            [ "$want" = lit ] && return 0
        else
            [ "$want" = dark ] && return 0
        fi
        sleep 0.1
    done
    fail "LED 1 is not $want after $seconds s: colour $led"
}

# e2e_menu WINDOW KEY UP_PRESSES: opens the menu of Alt+KEY and takes the item that many steps
# up from the first (going up wraps to the last item).
e2e_menu() {
    local window=$1 key=$2 presses=$3 opened="" windows
    windows=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --clearmodifiers "alt+$key"
    for _ in $(seq 1 50); do
        if [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -gt "$windows" ]; then
            opened=yes
            break
        fi
        sleep 0.1
    done
    [ -n "$opened" ] || fail "no menu opened on Alt+$key"
    for _ in $(seq 1 "$presses"); do
        xdotool key --clearmodifiers Up
    done
    xdotool key --clearmodifiers Return
}

# e2e_file_menu WINDOW UP_PRESSES: the same for the File menu (Alt+B); going up from the first
# item wraps to the last, "Sluiten".
e2e_file_menu() {
    e2e_menu "$1" b "$2"
}

# e2e_close_without_saving WINDOW: "Sluiten", answers "Nee" to "Dit tavelon bewaren?" and
# waits for a clean exit.
e2e_close_without_saving() {
    local question
    e2e_file_menu "$1" 1
    question=$(e2e_wait_window "^Tavelon\$") || exit 1
    xdotool windowfocus --sync "$question" 2>/dev/null || xdotool windowfocus "$question"
    sleep 0.2
    xdotool key --clearmodifiers alt+n
    e2e_wait_exit
}

# e2e_tone_wav FILE HZ AMPLITUDE SECONDS: a WAV file of a sine around 128 (44.1 kHz, mono,
# unsigned 8-bit), AMPLITUDE in sample units.
e2e_tone_wav() {
    LC_ALL=C awk -v hz="$2" -v amp="$3" -v seconds="$4" '
        function le(v, n,   i) { for (i = 0; i < n; i++) { printf "%c", v % 256; v = int(v / 256) } }
        BEGIN {
            frames = 44100 * seconds
            printf "RIFF"; le(36 + frames, 4); printf "WAVEfmt "; le(16, 4); le(1, 2); le(1, 2)
            le(44100, 4); le(44100, 4); le(1, 2); le(8, 2); printf "data"; le(frames, 4)
            for (i = 0; i < frames; i++)
                printf "%c", int(128 + amp * sin(6.283185307179586 * hz * i / 44100) + 0.5)
        }' >"$1"
}
