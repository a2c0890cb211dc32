#!/usr/bin/env bash
# Sets everything up (see setup.sh) and starts the game full screen from its runtime
# folder, where graphs/ and qo_audio/ sit beside the binary and the records are kept.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/setup.sh"
cd "$BUILD/run"
exec ./mirevo
