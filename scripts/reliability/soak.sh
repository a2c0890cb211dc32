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
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
mirevo_start_xvfb 261 1280x1024
XVFB="$MIREVO_XVFB_PID"
export ALSOFT_DRIVERS=null MIREVO_SOAK_MINUTES="$MINUTES"
export MIREVO_ASSETS="${MIREVO_ASSETS:-$ROOT/build-bench/run}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
status=0
"$TEST" --gtest_filter='Soak.*' || status=$?
exit $status
