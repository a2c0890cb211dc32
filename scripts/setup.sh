#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds the game in Release and makes the
# asset pack when it is missing or out of date. Safe to run again: nothing up to date is
# rebuilt or regenerated. With target names as arguments (setup.sh mirevo assets) only
# those are built; without, everything (tools, tests, benchmarks).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    build-essential cmake ninja-build pkg-config clang-format
    libsfml-dev libopenal-dev libstb-dev libvorbis-dev libgtest-dev googletest libbenchmark-dev
    libcairo2-dev libpango1.0-dev fonts-dejavu-core
    libfluidsynth-dev fluid-soundfont-gm
    libcli11-dev libtomlplusplus-dev libfmt-dev libx11-dev libxrandr-dev libsdl2-dev zlib1g-dev
    xvfb xauth xdotool imagemagick x11-utils sox libgl1-mesa-dri
    dpkg-dev file desktop-file-utils appstream man-db lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

WERROR=OFF
if [ "${CI:-}" = "true" ]; then WERROR=ON; fi
# Configured every time (quick when nothing changed), so that changed options take effect.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIREVO_WERROR=$WERROR >/dev/null
if (($#)); then
    cmake --build "$BUILD" --target "$@"
else
    cmake --build "$BUILD"
fi
