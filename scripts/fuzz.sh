#!/usr/bin/env bash
# Builds the fuzz targets (preset `fuzz`, clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), one after the other.
# Prints per target its executions, coverage and any finding, and exits non-zero when a
# target found a fault.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# TARGET is a folder name under fuzz/ (board_document, chunk_stream, ...); default all.
# FUZZ_MAX_RUNS=N also stops each target after N executions.
# Corpora grow in build-fuzz/runs/TARGET/corpus (outside git) and are reused by the next
# run; a finding lands in build-fuzz/runs/TARGET/findings. Once fixed, copy it into
# fuzz/TARGET/regressions so that every build runs it again.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "gebruik: scripts/fuzz.sh [SECONDEN] [DOEL...]" >&2
    exit 2
fi
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ ontbreekt (scripts/install-deps.sh installeert het)" >&2
    exit 2
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for dir in fuzz/*/corpus; do
        targets+=("$(basename "$(dirname "$dir")")")
    done
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

runs=build-fuzz/runs
rows=()
failed=0
for t in "${targets[@]}"; do
    program=build-fuzz/bin/fuzz_$t
    if [ ! -x "$program" ]; then
        echo "fuzz.sh: onbekend doel $t" >&2
        exit 2
    fi
    work=$runs/$t
    mkdir -p "$work/corpus" "$work/findings"
    rm -f "$work/findings"/*
    log=$work/log.txt
    args=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
          -artifact_prefix="$work/findings/")
    if [ -n "${FUZZ_MAX_RUNS:-}" ]; then
        args+=(-runs="$FUZZ_MAX_RUNS")
    fi
    echo "=== fuzz $t: ${seconds}s"
    status=0
    QT_QPA_PLATFORM=offscreen TAVSIM_REGISTRY="$work/registry.reg" \
        nice -n 10 "$program" "${args[@]}" "$work/corpus" "fuzz/$t/corpus" "fuzz/$t/regressions" \
        >"$log" 2>&1 || status=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corpus=$(find "$work/corpus" -type f | wc -l)
    findings=$(find "$work/findings" -type f | wc -l)
    result=schoon
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        result="FOUT (zie $log)"
        failed=1
        grep -m1 -E 'ERROR: |runtime error|: Fail|^board|^chunk|^LoadABitmap|^registry' "$log" || true
        find "$work/findings" -type f
    fi
    rows+=("$(printf '%-16s %12s %9s %8s %8s %7s  %s' "$t" "${execs:-?}" "${rate:-?}" \
        "${cov:-?}" "${ft:-?}" "$corpus" "$result")")
done

echo
printf '%-16s %12s %9s %8s %8s %7s  %s\n' doel uitvoeringen per_s dekking kenmerken corpus resultaat
printf '%s\n' "${rows[@]}"
exit $failed
