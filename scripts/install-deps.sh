#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing tavsim need, but only
# those that are missing, so that a second run costs nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-multimedia-dev libgl1-mesa-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool imagemagick x11-utils fonts-dejavu-core tesseract-ocr tesseract-ocr-eng
    pulseaudio pulseaudio-utils
    clang libclang-rt-14-dev
    dpkg-dev file lintian desktop-file-utils appstream
    gtkwave
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installeren: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
