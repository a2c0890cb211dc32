#!/usr/bin/env bash
# Records the replay fixtures of tests/fixtures/replays again with the scripted player, after a
# deliberate change of the game's rules. Uses the build of scripts/setup.sh (MIREVO_BUILD_DIR,
# default build/) and needs a display (an Xvfb is started when DISPLAY is unset).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
cmake --build "$BUILD" --target test_flow_plays
source "$ROOT/scripts/xvfb.sh"
mirevo_start_xvfb 91 1920x1080
if [ -n "$MIREVO_XVFB_PID" ]; then trap 'kill $MIREVO_XVFB_PID 2>/dev/null || true' EXIT; fi
ALSOFT_DRIVERS=null "$BUILD/tests/test_flow_plays" --gtest_also_run_disabled_tests \
    --gtest_filter='ReplayFixtures.DISABLED_RecordThemAgain' >/dev/null
ls -l "$ROOT/tests/fixtures/replays"
