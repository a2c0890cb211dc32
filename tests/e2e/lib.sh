#!/usr/bin/env bash
# End-to-end harness: runs the real mirevo binary under X in a temporary working folder,
# drives it with xdotool, and keeps its output, exit status, log and screenshots.
# Usage from a scenario: source lib.sh <runtime folder> <artefact folder>
set -uo pipefail

E2E_RUNTIME="$(cd "$1" && pwd)"
E2E_ARTEFACTS="$2/$(basename "$0" .sh)"
E2E_TOOLS="$(dirname "$E2E_RUNTIME")/tools/e2e"
mkdir -p "$E2E_ARTEFACTS"
rm -f "$E2E_ARTEFACTS"/*
E2E_FAILURES=0

# A display of our own when none is given.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
mirevo_start_xvfb 150 1920x1080 || { echo "FAIL: no screen to run on"; exit 1; }
E2E_XVFB="$MIREVO_XVFB_PID"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

# A fresh working folder with the asset pack beside the binary.
E2E_DIR="$(mktemp -d /tmp/mirevo-e2e-XXXXXX)"
ln -s "$E2E_RUNTIME/graphs" "$E2E_DIR/graphs"
ln -s "$E2E_RUNTIME/qo_audio" "$E2E_DIR/qo_audio"

e2e_cleanup() {
    [ -n "${E2E_PID:-}" ] && kill -9 "$E2E_PID" 2>/dev/null
    [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*"
    E2E_FAILURES=$((E2E_FAILURES + 1))
}
check() {  # check <description> <command...>
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# Starts the game (with the given flags); its output goes to stdout.txt / stderr.txt in
# the working folder.
start_game() {
    (cd "$E2E_DIR" && exec "$E2E_RUNTIME/mirevo" "$@" >stdout.txt 2>stderr.txt) &
    E2E_PID=$!
}
# Waits until the game window exists (or the game ended). Returns 1 on timeout.
wait_window() {
    for _ in $(seq 1 ${1:-300}); do
        xdotool search --name '^Mirevo$' >/dev/null 2>&1 && return 0
        kill -0 "$E2E_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# Waits until standard output holds a line (regex). Returns 1 on timeout.
wait_output() {
    for _ in $(seq 1 ${2:-300}); do
        grep -qE "$1" "$E2E_DIR/stdout.txt" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
# Waits for the game to end; sets E2E_STATUS (124 on timeout, after killing it).
wait_exit() {
    for _ in $(seq 1 ${1:-300}); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
            wait "$E2E_PID"
            E2E_STATUS=$?
            E2E_PID=""
            return 0
        fi
        sleep 0.1
    done
    kill -9 "$E2E_PID" 2>/dev/null
    E2E_STATUS=124
    E2E_PID=""
    return 1
}
hold_key() {  # hold_key <key> [seconds]: long enough for the game's keyboard polling
    xdotool keydown "$1"
    sleep "${2:-0.25}"
    xdotool keyup "$1"
    sleep 0.1
}
click_at() {  # click_at <x> <y> [button]
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool mousedown "${3:-1}"
    sleep 0.1
    xdotool mouseup "${3:-1}"
    sleep 0.1
}
request_close() { "$E2E_TOOLS/mirevo_close_request" Mirevo; }
screenshot() { import -window root "$E2E_ARTEFACTS/$1.png" 2>/dev/null; }
keep_outputs() {
    cp "$E2E_DIR"/stdout.txt "$E2E_DIR"/stderr.txt "$E2E_ARTEFACTS/" 2>/dev/null
    [ -f "$E2E_DIR/log.txt" ] && cp "$E2E_DIR/log.txt" "$E2E_ARTEFACTS/"
    true
}
# Last non-empty line of standard output.
last_output_line() { grep -v '^$' "$E2E_DIR/stdout.txt" | tail -1; }
# Ends a scenario that cannot run on this machine: CTest reports it as skipped.
skip() {
    echo "skipped: $*"
    exit 77
}
finish() {
    keep_outputs
    if [ "$E2E_FAILURES" -gt 0 ]; then
        echo "$E2E_FAILURES check(s) failed; artefacts in $E2E_ARTEFACTS"
        exit 1
    fi
    echo "all checks passed; artefacts in $E2E_ARTEFACTS"
    exit 0
}
