#!/usr/bin/env bash
# The game starts full screen, a close request ends it with status 0 and "Exiting !",
# and every run appends one start line to log.txt.
source "$(dirname "$0")/lib.sh" "$@"

for run in 1 2; do
    start_game
    check "window opens (run $run)" wait_window
    sleep 1
    screenshot "started_$run"
    check "close request accepted" request_close
    wait_exit 200
    check "exit status 0 (run $run, got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
    check "\"Exiting !\" is the last line on standard output" test "$(last_output_line)" = "Exiting !"
    lines=$(grep -cE '^Mirevo [0-9]+$' "$E2E_DIR/log.txt")
    check "log.txt holds $run start line(s) (has $lines)" test "$lines" -eq "$run"
done
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
check "screenshot is full screen ($size)" test "$(identify -format '%wx%h' "$E2E_ARTEFACTS/started_1.png")" = "$size"
finish
