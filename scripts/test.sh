#!/usr/bin/env bash
# Sets everything up (see setup.sh) and runs the whole test suite headless: unit,
# integration, asset checks and end-to-end runs of the real game under Xvfb, then the
# unit and integration tests once more under the address and undefined-behaviour
# sanitizers. Ends with CTest's summary line.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
SAN_BUILD="${MIREVO_SAN_BUILD_DIR:-$ROOT/build-asan}"
bash "$ROOT/scripts/setup.sh"

# A virtual screen for everything that opens a window or makes a texture.
if [ "${CI:-}" = "true" ]; then unset DISPLAY; fi
source "$ROOT/scripts/xvfb.sh"
mirevo_start_xvfb 90 1920x1080 -maxclients 1024
if [ -n "$MIREVO_XVFB_PID" ]; then trap 'kill $MIREVO_XVFB_PID 2>/dev/null || true' EXIT; fi
export ALSOFT_DRIVERS=null

status=0
(cd "$BUILD" && ctest --output-on-failure -j2) || status=1

# Sanitizer pass over the unit and integration tests (the assets come from the main build).
if [ "${MIREVO_SKIP_SANITIZERS:-}" != "1" ]; then
    if [ ! -f "$SAN_BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$SAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_CXX_FLAGS="-O1" -DMIREVO_SANITIZE=address,undefined \
            -DMIREVO_ASSETS=OFF -DMIREVO_TOOLS=OFF -DMIREVO_ASSET_TESTS=OFF \
            -DMIREVO_BENCH=OFF -DMIREVO_ASSETS_DIR="$BUILD/run" \
            -DMIREVO_WERROR=$([ "${CI:-}" = "true" ] && echo ON || echo OFF)
    fi
    cmake --build "$SAN_BUILD"
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    (cd "$SAN_BUILD" && ctest --output-on-failure -j2 -L 'unit|integration') || status=1
fi
exit $status
