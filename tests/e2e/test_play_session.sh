#!/usr/bin/env bash
# A player's session with the real game: the menu music is heard, the song list opens, a
# play starts with a number key, each route's key is held in turn, the play is paused and
# quit, the menus are closed and the game quits with Escape. What was heard is written to
# a wave file by the audio library's wave driver.
source "$(dirname "$0")/lib.sh" "$@"

WAVE="$E2E_DIR/heard.wav"
cat >"$E2E_DIR/alsoft.conf" <<CONF
[general]
drivers = wave
[wave]
file = $WAVE
CONF
export ALSOFT_DRIVERS=wave
export ALSOFT_CONF="$E2E_DIR/alsoft.conf"

start_game
check "window opens" wait_window
sleep 3
screenshot 1_menu
hold_key Right
sleep 2
screenshot 2_song_list
hold_key 1
sleep 4
screenshot 3_board_start
for key in e p l d; do
    for _ in 1 2 3; do hold_key "$key" 0.2; sleep 0.3; done
done
sleep 6
screenshot 4_board_creatures
hold_key space
sleep 2
screenshot 5_pause
hold_key Escape
sleep 2
screenshot 6_back_to_list
hold_key Escape
sleep 2
screenshot 7_main_menu
hold_key Escape
wait_exit 300
keep_outputs

check "exit status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
check "\"Exiting !\" is the last line on standard output" test "$(last_output_line)" = "Exiting !"
check "the play started (\"init routes !\")" grep -q "init routes !" "$E2E_DIR/stdout.txt"
check "the play was left (\"clearing routes\")" grep -q "clearing routes" "$E2E_DIR/stdout.txt"
check "one start line in log.txt" test "$(grep -cE '^Mirevo [0-9]+$' "$E2E_DIR/log.txt")" -eq 1
check "profile.zob is 48 bytes" test "$(stat -c %s "$E2E_DIR/profile.zob" 2>/dev/null)" = 48
check "\"profile saved\" on standard error" grep -q "profile saved" "$E2E_DIR/stderr.txt"
# What was heard: not silent.
if [ -f "$WAVE" ]; then
    cp "$WAVE" "$E2E_ARTEFACTS/heard.wav"
    rms=$(sox "$WAVE" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
    echo "heard: RMS amplitude $rms"
    check "the music is heard (RMS $rms > 0.005)" awk -v r="$rms" 'BEGIN { exit !(r > 0.005) }'
    sox "$WAVE" -n spectrogram -o "$E2E_ARTEFACTS/heard_spectrogram.png" 2>/dev/null
else
    fail "no wave file was written"
fi
# Screens are not black.
for shot in 1_menu 2_song_list 4_board_creatures 5_pause; do
    mean=$(convert "$E2E_ARTEFACTS/$shot.png" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null)
    check "screenshot $shot is not black (mean $mean)" awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }'
done
finish
