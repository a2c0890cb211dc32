#!/usr/bin/env bash
# Sets up what playing needs (see setup.sh) — the game, its pictures and its sounds, not
# the tests or benchmarks — and starts the game full screen from its runtime folder, where
# graphs/ and qo_audio/ sit beside the binary and the records are kept.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/setup.sh" mirevo assets
cd "$BUILD/run"
exec ./mirevo "$@"
