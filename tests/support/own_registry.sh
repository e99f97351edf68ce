#!/bin/sh
# Test programs started by hand, without TAVSIM_REGISTRY, must leave the user's own registry
# as it was: each makes a registry of its own.
#   own_registry.sh TEST_PROGRAM...
set -eu
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config/tavsim"
user="$home/config/tavsim/registry.reg"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Eigen]\n"Waarde"="blijft"\n\n' >"$user"
cp "$user" "$home/before"
for program in "$@"; do
    status=0
    env -u TAVSIM_REGISTRY HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=offscreen "$program" >"$home/out" 2>&1 ||
        status=$?
    # 77: every test that could run passed, some skipped.
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
        cat "$home/out"
        echo "FAIL: $program failed"
        exit 1
    fi
    if ! cmp -s "$home/before" "$user"; then
        echo "FAIL: $program changed the user's registry:"
        cat "$user"
        exit 1
    fi
done
echo "PASS: $# test programs left the user's registry alone"
