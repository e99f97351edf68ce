#!/bin/bash
# tavsim --check and --render run with no X server, no DISPLAY and a platform setting that
# would need one; the exit statuses are those of the usage.
set -u
tavsim=$1
export LSAN_OPTIONS="suppressions=$2${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# A board with one wire from push button 1 to LED 1: outer chunk, settings chunk (eight
# Longs, two Bools), wire chunk (two zero-terminated names).
printf '\xda\xda\x4f\x00\x00\x00' >"$work/led.tvb"
printf '\x00\x10\x22\x00\x00\x00' >>"$work/led.tvb"
printf '\x00\x00\x00\x00\x01\x00\x00\x00' >>"$work/led.tvb"
printf '\x00\x00\x00\x00%.0s' 1 2 3 4 5 6 >>"$work/led.tvb"
printf '\x00\x00' >>"$work/led.tvb"
printf '\x00\x20\x21\x00\x00\x00Drukknop 1 Uit Geel\x00LED 1 Ingang\x00' >>"$work/led.tvb"
printf 'kapot' >"$work/kapot.tvb"

out=$("$tavsim" --check --press "Drukknop 1" --ticks 2 "$work/led.tvb" "$work/kapot.tvb")
status=$?
[ "$status" = 1 ] || fail "--check with a damaged board: status $status, not 1"
[ "$(printf '%s\n' "$out" | wc -l)" = 2 ] || fail "--check: not one line per board: $out"
printf '%s\n' "$out" | head -1 | grep -q '"ok":true,"leds":\[true,false,false,false\]' ||
    fail "--check: LED 1 not lit: $out"
printf '%s\n' "$out" | tail -1 | grep -q '"ok":false,"error":"Het bestand .*kapot.tvb kan niet' ||
    fail "--check: no Dutch reason for the damaged board: $out"

"$tavsim" --render "$work/led.tvb" "$work/led.png" --scale 1 || fail "--render: status $?"
[ "$(head -c 8 "$work/led.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
    fail "--render wrote no PNG"

"$tavsim" --check --ticks 0 "$work/led.tvb" 2>"$work/err" >/dev/null
status=$?
[ "$status" = 2 ] || fail "--ticks 0: status $status, not 2"
grep -q '^Gebruik: tavsim --check' "$work/err" || fail "--ticks 0: no usage line"

"$tavsim" --version | grep -q '^tavsim [0-9]' || fail "--version"
"$tavsim" --help | grep -q 'Gebruik:' || fail "--help"
exit $failed
