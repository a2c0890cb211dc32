#!/usr/bin/env bash
# Memory: a full scripted session of the game (menus, two scored plays, an explore play,
# the tutorial, quit) under the leak sanitizer (address-sanitizer build) or valgrind.
# Prints the leak summary and exits 1 when the game's code leaks.
#
# Usage: leak_check.sh [--valgrind] [--drive BIN] [--assets DIR]
#   default driver: build-bench-asan/bench/mirevo_drive (leak sanitizer);
#   --valgrind: build-bench/bench/mirevo_drive under valgrind --leak-check=full.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
VALGRIND=0
DRIVE=""
ASSETS="$ROOT/build-bench/run"
while [ $# -gt 0 ]; do
    case "$1" in
        --valgrind) VALGRIND=1 ;;
        --drive) DRIVE="$2"; shift ;;
        --assets) ASSETS="$2"; shift ;;
        *) echo "unknown option $1" >&2; exit 64 ;;
    esac
    shift
done
if [ -z "$DRIVE" ]; then
    if [ "$VALGRIND" -eq 1 ]; then DRIVE="$ROOT/build-bench/bench/mirevo_drive"; else DRIVE="$ROOT/build-bench-asan/bench/mirevo_drive"; fi
fi
[ -x "$DRIVE" ] || { echo "no driver at $DRIVE" >&2; exit 2; }
DRIVE="$(cd "$(dirname "$DRIVE")" && pwd)/$(basename "$DRIVE")"  # the run is elsewhere
ASSETS="$(cd "$ASSETS" && pwd)"

WORK="$(mktemp -d /tmp/mirevo-leaks-XXXXXX)"
XVFB=""
cleanup() {
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
mirevo_start_xvfb 241 1280x1024
XVFB="$MIREVO_XVFB_PID"
export ALSOFT_DRIVERS=null
ln -s "$ASSETS/graphs" "$WORK/graphs"
ln -s "$ASSETS/qo_audio" "$WORK/qo_audio"

status=0
if [ "$VALGRIND" -eq 1 ]; then
    (cd "$WORK" && valgrind --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
        --error-exitcode=99 --num-callers=30 "$DRIVE" session >stdout.txt 2>stderr.txt) || status=$?
    grep -E "definitely lost|indirectly lost|ERROR SUMMARY" "$WORK/stderr.txt" || true
else
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan_suppressions.txt:print_suppressions=0"
    (cd "$WORK" && "$DRIVE" session >stdout.txt 2>stderr.txt) || status=$?
    grep -E "SUMMARY|Direct leak|Indirect leak" "$WORK/stderr.txt" | head -20 || true
    # A leak counts when a frame of its allocation stack lies in the game's own sources (a
    # symbolized frame naming a source file of this tree); blocks whose stacks are wholly
    # inside system libraries (GL driver, modules unloaded before the end, which the report
    # can only place at an offset past the program's own end) are listed but not counted.
    if [ "$status" -ne 0 ] && grep -q "LeakSanitizer: detected memory leaks" "$WORK/stderr.txt" &&
        ! grep -qE "ERROR: AddressSanitizer|runtime error:" "$WORK/stderr.txt"; then
        ours=$(awk -v root="$ROOT/" '
            /^(Direct|Indirect) leak/ { inleak = 1; mine = 0; next }
            inleak && /^$/ { if (mine) n++; inleak = 0; next }
            inleak && index($0, root) && $0 ~ /\.(cpp|h|hpp):[0-9]+/ { mine = 1 }
            END { if (inleak && mine) n++; print n + 0 }' "$WORK/stderr.txt")
        echo "leaks with a frame in the game's sources: $ours"
        [ "$ours" -eq 0 ] && status=0
    fi
fi
tail -3 "$WORK/stdout.txt"
if [ "$status" -ne 0 ]; then
    echo "leak check: FAILED (status $status)"
    grep -B2 -A25 -m3 -E "Direct leak|definitely lost in|ERROR: AddressSanitizer" "$WORK/stderr.txt" | head -120 || true
    exit 1
fi
echo "leak check: no leak from the game's code"
