#!/usr/bin/env bash
# Sets everything up (see setup.sh) and runs the whole test suite headless: unit,
# integration, asset checks and end-to-end runs of the real game under Xvfb; then the
# loader hand-over tests under the thread sanitizer, a scripted session under the leak
# sanitizer, and the unit and integration tests once more under the address and
# undefined-behaviour sanitizers. Ends with CTest's summary line.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
SAN_BUILD="${MIREVO_SAN_BUILD_DIR:-$ROOT/build-asan}"
TSAN_BUILD="${MIREVO_TSAN_BUILD_DIR:-$ROOT/build-tsan}"
WERROR=$([ "${CI:-}" = "true" ] && echo ON || echo OFF)
bash "$ROOT/scripts/setup.sh"

# A virtual screen for everything that opens a window or makes a texture.
if [ "${CI:-}" = "true" ]; then unset DISPLAY; fi
source "$ROOT/scripts/xvfb.sh"
mirevo_start_xvfb 90 1920x1080 -maxclients 1024
if [ -n "$MIREVO_XVFB_PID" ]; then trap 'kill $MIREVO_XVFB_PID 2>/dev/null || true' EXIT; fi
export ALSOFT_DRIVERS=null

status=0
(cd "$BUILD" && ctest --output-on-failure -j2) || status=1

# Sanitizer builds: configured every time (quick when nothing changed) so that changed
# options take effect; the assets come from the main build.
sanitizer_build() {  # sanitizer_build <folder> <sanitizers> [cmake options...]
    local folder="$1" sanitizers="$2"
    shift 2
    cmake -S "$ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1" \
        -DMIREVO_SANITIZE="$sanitizers" -DMIREVO_ASSETS=OFF -DMIREVO_TOOLS=OFF \
        -DMIREVO_ASSET_TESTS=OFF -DMIREVO_ASSETS_DIR="$BUILD/run" -DMIREVO_WERROR=$WERROR \
        "$@" >/dev/null
}

# Thread sanitizer over the hand-overs between threads: plays started, restarted and left
# while their song loads, loaders stopped and deleted at every stage of their load (and the
# benchmarks' watcher of a load), pictures decoded ahead by the pool for batches that may be
# dropped mid-work, the song list's work ahead with the plays it starts, and the gate by which
# the decoding gives way to a play's frames. Only those tests are built.
# One suppression file serves every run.
TSAN_SUPPRESSIONS="$ROOT/tests/support/tsan_suppressions.txt"
if [ "${MIREVO_SKIP_SANITIZERS:-}" != "1" ]; then
    sanitizer_build "$TSAN_BUILD" thread -DMIREVO_BENCH=OFF
    cmake --build "$TSAN_BUILD" --target test_audio test_game_gfx test_ui_gfx test_flow
    for run in "test_audio *Loader.*:SoundDecoder.*:FrameGate.*" \
        "test_game_gfx PlayTest.PlaysStartedAndLeftWhileTheirSongIsLoading" \
        "test_ui_gfx PictureDecoder.*" "test_flow SongGuess.*"; do
        read -r binary filter <<<"$run"
        if (cd "$TSAN_BUILD" && TSAN_OPTIONS="halt_on_error=1 suppressions=$TSAN_SUPPRESSIONS" \
            MIREVO_ASSETS="$BUILD/run" \
            "tests/$binary" --gtest_filter="$filter" >"$binary.tsan.txt" 2>&1); then
            echo "thread sanitizer: $binary $filter: passed"
        else
            tail -80 "$TSAN_BUILD/$binary.tsan.txt"
            echo "thread sanitizer: $binary $filter: FAILED (whole output in $TSAN_BUILD/$binary.tsan.txt)"
            status=1
        fi
    done
fi

# Address, undefined-behaviour and leak sanitizers: a whole scripted session of the game
# under the leak sanitizer, then the unit and integration tests.
if [ "${MIREVO_SKIP_SANITIZERS:-}" != "1" ]; then
    sanitizer_build "$SAN_BUILD" address,undefined -DMIREVO_BENCH=ON
    cmake --build "$SAN_BUILD"
    bash "$ROOT/scripts/reliability/leak_check.sh" --drive "$SAN_BUILD/bench/mirevo_drive" \
        --assets "$BUILD/run" || status=1
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    (cd "$SAN_BUILD" && ctest --output-on-failure -j2 -L 'unit|integration') || status=1
fi
exit $status
