#!/usr/bin/env bash
# On a machine without a sound device the game runs silently: it starts, plays its menu,
# does not flood the terminal and does not burn a core in the audio library.
source "$(dirname "$0")/lib.sh" "$@"

if [ -e /dev/snd ] && ls /dev/snd/pcm* >/dev/null 2>&1; then
    skip "this machine has a sound device"
fi
unset ALSOFT_DRIVERS
start_game
check "window opens" wait_window
sleep 5
# CPU seconds of every thread but the frame loop's own (which runs uncapped) and the
# software renderer's (llvmpipe) workers.
audio_cpu=$(ps -L -o lwp=,comm=,times= -p "$E2E_PID" |
    awk -v main="$E2E_PID" '$1 != main && $2 !~ /^llvmpipe/ {s += $3} END {print s + 0}')
request_close
wait_exit 200
keep_outputs
check "exit status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
errors=$(wc -l <"$E2E_DIR/stderr.txt")
check "few diagnostic lines without a device ($errors)" test "$errors" -lt 10
check "no audio library errors" bash -c "! grep -qiE 'ALSA lib|OpenAL|audio device' '$E2E_DIR/stderr.txt'"
check "the audio threads stay idle ($audio_cpu cpu seconds in ~5 s)" test "$audio_cpu" -le 1
finish
