#!/usr/bin/env bash
# Installs what is missing, builds tavsim into build/ and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake --preset default >/dev/null
# Only the program with what it needs at run time (its libraries, pictures, sounds and help
# pages); the tests and benchmarks are built by ./test.sh.
cmake --build --preset default --target tavsim

program=build/bin/tavsim
if [ ! -x "$program" ]; then
    echo "tavsim is gebouwd, maar er is nog geen programma om te starten."
    exit 0
fi
exec "$program" "$@"
