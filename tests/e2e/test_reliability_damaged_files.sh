#!/usr/bin/env bash
# Missing and damaged asset files, the fixed sample: every run of the game ends as it
# should (status 0 or 1, or the play goes on), never with a crash or a hang.
set -euo pipefail
RUNTIME="$(cd "$1" && pwd)"
ARTEFACTS="$2/$(basename "$0" .sh)"
BUILD="$(dirname "$RUNTIME")"
mkdir -p "$ARTEFACTS"
DRIVE="$BUILD/bench/mirevo_drive"
if [ ! -x "$DRIVE" ]; then
    echo "skipped: no $DRIVE (the benchmarks are not built, MIREVO_BENCH=OFF)"
    exit 77
fi
exec bash "$(dirname "$0")/../../scripts/reliability/damaged_files.sh" --drive "$DRIVE" \
    --assets "$RUNTIME" --keep "$ARTEFACTS" --timeout 90
