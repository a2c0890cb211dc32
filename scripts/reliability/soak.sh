#!/usr/bin/env bash
# The long soak: the scripted and random player for an hour of game time (or
# MIREVO_SOAK_MINUTES) under the address and undefined-behaviour sanitizers.
# Usage: soak.sh [minutes, default 60] [test binary, default build-bench-asan/tests/test_reliability]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
MINUTES="${1:-60}"
TEST="${2:-$ROOT/build-bench-asan/tests/test_reliability}"
[ -x "$TEST" ] || { echo "no test binary at $TEST" >&2; exit 2; }
XVFB=""
trap '[ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null' EXIT
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 261 280); do [ ! -e "/tmp/.X11-unix/X$n" ] && break; done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
export ALSOFT_DRIVERS=null MIREVO_SOAK_MINUTES="$MINUTES"
export MIREVO_ASSETS="${MIREVO_ASSETS:-$ROOT/build-bench/run}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
exec "$TEST" --gtest_filter='Soak.*'
