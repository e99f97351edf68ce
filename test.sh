#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer configuration, and runs every
# test of both. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc)
status=0
for preset in default asan; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "=== $preset: tests"
    if ! ctest --preset "$preset" -j "$jobs"; then
        status=1
    fi
done
# Each fuzz target also fuzzes for a short while, when clang is there to build them.
if command -v clang++ >/dev/null; then
    echo "=== fuzz: 20 s per target"
    if ! scripts/fuzz.sh 20; then
        status=1
    fi
fi
exit $status
