#!/usr/bin/env bash
# Builds tavsim and makes its Debian package, tavsim_VERSION_amd64.deb, in the given folder
# (default: the repository's root). Install it on each machine with
#   apt install ./tavsim_VERSION_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

out=$(realpath -m "${1:-.}")
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
mkdir -p "$out"
# CPack keeps its staging folders in a folder of its own; only the package is kept.
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cpack --config build/CPackConfig.cmake -G DEB -B "$staging"
mv "$staging"/tavsim_*_amd64.deb "$out"/
ls "$out"/tavsim_*_amd64.deb
