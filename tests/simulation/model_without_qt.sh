#!/usr/bin/env bash
# The board model, the assignments and the trace files are standard C++: each of their sources
# compiles with the project root as the only include path, so no Qt, widget or canvas header
# can be reached.
# Usage: model_without_qt.sh COMPILER SOURCE_ROOT
set -euo pipefail
compiler=$1
root=$2
status=0
for source in "$root"/app/simulation/*.cpp "$root"/app/assignments/*.cpp "$root"/app/measure/*.cpp; do
    if ! "$compiler" -std=c++20 -fsyntax-only -I"$root" "$source"; then
        echo "FAIL: $source needs more than standard C++" >&2
        status=1
    fi
done
exit $status
