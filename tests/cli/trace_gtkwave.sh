#!/usr/bin/env bash
# GTKWave's own reader takes the value change dump of tavsim --check --trace as it is meant:
# vcd2fst converts the trace of a pulse generator at 50 over 200 steps, and the dump read back
# from that (fst2vcd) holds the same changes at the same times: 41 toggles after the first
# value (one each time more than 1/21 s has gathered, over the 199 advances the steps show).
# Skipped (77) without the gtkwave package.
#
# Usage: trace_gtkwave.sh TAVSIM BOARD
set -uo pipefail
program=$1
board=$2
for tool in vcd2fst fst2vcd; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool ontbreekt (Debian-pakket gtkwave): overgeslagen"; exit 77; }
done
work=$(mktemp -d /tmp/tavsim-trace.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FOUT: $*" >&2; exit 1; }

"$program" --check --ticks 200 --trace "$work/puls.vcd" --probe "Puls Generator Uit Geel" \
    --probe "LED 1 Ingang" --probe "Relais Uitgang 1 (in/uit)" "$board" >"$work/check.json" ||
    fail "tavsim --check --trace gaf $?"
vcd2fst "$work/puls.vcd" "$work/puls.fst" >"$work/vcd2fst.log" 2>&1 || fail "vcd2fst weigert: $(cat "$work/vcd2fst.log")"
fst2vcd "$work/puls.fst" >"$work/terug.vcd" 2>"$work/fst2vcd.log" || fail "fst2vcd weigert"

# changes FILE REFERENCE: "TIME VOLTS" for every value the variable gets, in volts as numbers.
changes() {
    awk -v ref="$2" '
        $1 == "$var" && $5 == ref { id = $4 }
        /^#/ { time = substr($0, 2) }
        /^r/ && id != "" && $2 == id { printf "%s %g\n", time, substr($1, 2) + 0 }
    ' "$1"
}
ours=$(changes "$work/puls.vcd" Puls_Generator_Uit_Geel)
read_back=$(changes "$work/terug.vcd" Puls_Generator_Uit_Geel)
[ -n "$ours" ] || fail "geen waarden van Puls_Generator_Uit_Geel in het spoor"
[ "$ours" = "$read_back" ] || fail "GTKWave leest andere waarden: $(diff <(echo "$ours") <(echo "$read_back") | head -5)"
count=$(echo "$read_back" | wc -l)
[ "$count" -eq 42 ] || fail "$count waarden in plaats van 1 + 41 wisselingen"
[ "$(changes "$work/terug.vcd" LED_1_Ingang)" = "$read_back" ] || fail "LED 1 Ingang volgt de puls niet"
grep -q '^\$var wire 1 .* Relais_Uitgang_1_in_uit_bekend ' "$work/terug.vcd" ||
    fail "de wire Relais_Uitgang_1_in_uit_bekend ontbreekt"
grep -A2 '^\$timescale' "$work/terug.vcd" | grep -q '1ms' || fail "de tijdschaal is geen 1 ms"
echo "GTKWave leest het spoor: $count waarden van de pulsgenerator, gelijk aan het spoor"
