#!/usr/bin/env bash
# Makes sure the Debian packages the build needs are installed.
#   scripts/deps.sh build   the programs
#   scripts/deps.sh test    the programs, the tests, the benchmarks and the fuzzers
# As root, missing packages are installed with apt-get; otherwise the apt-get line to run is
# printed and the script fails.
set -euo pipefail

what=${1:-test}
packages=(cmake ninja-build g++ ccache pkg-config libicu-dev libfreetype-dev libfontconfig-dev)
# PNG pictures of text as the firmware draws it (typeloom render).
packages+=(libpng-dev)
# The desktop application: Qt 6 Widgets with SVG icons.
packages+=(qt6-base-dev qt6-svg-dev libqt6svg6)
if [ "$what" = test ]; then
    packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev srecord)
    # Fonts the rasteriser tests and benchmarks read.
    packages+=(fonts-dejavu-core fonts-liberation fonts-unifont fonts-wine)
    # A CJK font (the smallest Debian has) for the subset of a rasterised Chinese font.
    packages+=(fonts-wqy-microhei)
    # Bitmap fonts the corpus tests import and compare with FreeType (PCF turned into BDF).
    packages+=(xfonts-base xfonts-75dpi xfonts-unifont pcf2bdf)
    # A virtual X display for tools/screenshot.sh.
    packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "These Debian packages are missing. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
