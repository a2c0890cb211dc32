#!/usr/bin/env bash
# The player's options: --help and --version and a missing display need no window and
# write nothing; a bad flag is one line, the usage and status 2; a 1280x720 window from
# the command line and a window from settings.toml get the picture set of their shape; a
# settings.toml is written once with the defaults and never rewritten.
source "$(dirname "$0")/lib.sh" "$@"
GAME="$E2E_RUNTIME/mirevo"

# Files the game wrote in the working folder (the asset links aside).
written() { (cd "$E2E_DIR" && ls | grep -vE '^(graphs|qo_audio|stdout.txt|stderr.txt)$'); }
run_here() {  # run_here <env prefix...> -- <flags...>: a short run, status in RUN_STATUS
    (cd "$E2E_DIR" && "$@" >stdout.txt 2>stderr.txt)
    RUN_STATUS=$?
}
# The window of this run's game (a window left by an earlier scenario is not ours).
own_window() { xdotool search --pid "$E2E_PID" --name '^Mirevo$' 2>/dev/null | head -1; }
wait_own_window() {
    for _ in $(seq 1 300); do
        [ -n "$(own_window)" ] && return 0
        kill -0 "$E2E_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
window_size() { xdotool getwindowgeometry "$(own_window)" | awk '/Geometry/ {print $2}'; }

for flag in --help --version; do
    run_here env -u DISPLAY "$GAME" "$flag"
    check "$flag without a display: status 0 (got $RUN_STATUS)" test "$RUN_STATUS" -eq 0
    check "$flag answers on standard output" grep -qE -- '--windowed|^mirevo [0-9]+\.[0-9]+' "$E2E_DIR/stdout.txt"
    check "$flag writes nothing to standard error" test ! -s "$E2E_DIR/stderr.txt"
done
check "--version names the version" grep -qxE 'mirevo [0-9]+\.[0-9]+(\.[0-9]+)?' "$E2E_DIR/stdout.txt"

run_here env -u DISPLAY "$GAME"
check "no display: status 1, not an abort (got $RUN_STATUS)" test "$RUN_STATUS" -eq 1
check "no display: one line on standard error" test "$(wc -l <"$E2E_DIR/stderr.txt")" -eq 1
check "no display: it says so" grep -qi "display" "$E2E_DIR/stderr.txt"

for bad in "--volume 150" "--volume 0x32" "--vsync maybe" "--windowed 1280" "--colour blue"; do
    # shellcheck disable=SC2086
    run_here "$GAME" $bad
    check "$bad: status 2 (got $RUN_STATUS)" test "$RUN_STATUS" -eq 2
    check "$bad: the problem, then the usage" \
        test "$(sed -n '1s/^mirevo: .*/problem/p;2s/^Usage: mirevo .*/usage/p' "$E2E_DIR/stderr.txt" | tr '\n' ' ')" = "problem usage "
    check "$bad: two lines on standard error" test "$(wc -l <"$E2E_DIR/stderr.txt")" -eq 2
done
# A recorded play that cannot be played: one line naming the file and why, status 2, no
# display needed.
printf 'MRVPLAY\032\001' >"$E2E_DIR/cut.mrvplay"
for file in cut.mrvplay missing.mrvplay; do
    run_here env -u DISPLAY "$GAME" --replay "$file"
    check "--replay $file: status 2 (got $RUN_STATUS)" test "$RUN_STATUS" -eq 2
    check "--replay $file: one line naming the file" \
        grep -qx "mirevo: --replay: \"$file\" .*" "$E2E_DIR/stderr.txt"
    check "--replay $file: one line only" test "$(wc -l <"$E2E_DIR/stderr.txt")" -eq 1
done
rm -f "$E2E_DIR/cut.mrvplay"
check "nothing written by --help, --version, a missing display or a bad flag ($(written | tr '\n' ' '))" \
    test -z "$(written)"

# A lone X server (no other client; it resets when its last client leaves): the game's
# own check for a display must not leave the server resetting as the window opens.
lone=150
while [ -e "/tmp/.X11-unix/X$lone" ] || [ -e "/tmp/.X$lone-lock" ]; do lone=$((lone + 1)); done
Xvfb ":$lone" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
LONE_PID=$!
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$lone" ] && break; sleep 0.1; done
sleep 1
for try in 1 2 3; do
    run_here env DISPLAY=":$lone" timeout -s TERM 3 "$GAME" --windowed 640x480
    check "lone X server, start $try: still running after 3 s (status 124, got $RUN_STATUS)" \
        test "$RUN_STATUS" -eq 124
done
kill "$LONE_PID" 2>/dev/null
wait "$LONE_PID" 2>/dev/null
rm -f "$E2E_DIR/profile.zob" "$E2E_DIR/settings.toml" "$E2E_DIR/log.txt"

# First start: a 1280x720 window centred on the 1920x1080 screen; the settings file is
# written with the defaults, not with the flag.
start_game --windowed --vsync off --volume 40
check "window opens (--windowed)" wait_own_window
sleep 2
check "the window is 1280x720 (got $(window_size))" test "$(window_size)" = "1280x720"
check "16:9 picture set at scaleX 0.8" grep -qx "image 1600_900 rap 1.77778 imageX1600 scaleX0.8" "$E2E_DIR/stderr.txt"
screenshot windowed_1280x720
check "the window is centred: black around it, the menu inside" bash -c "
    convert '$E2E_ARTEFACTS/windowed_1280x720.png' -crop 300x170+0+0 -format '%[fx:maxima]' info: | grep -qx 0 &&
    convert '$E2E_ARTEFACTS/windowed_1280x720.png' -crop 1280x720+320+180 -format '%[fx:mean]' info: | awk '{exit !(\$1 > 0.1)}'"
request_close
wait_exit 200
check "exit status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
check "settings.toml holds the defaults" \
    test "$(grep -vE '^#' "$E2E_DIR/settings.toml" | tr '\n' ' ')" = 'fullscreen = true window_size = "1280x720" vsync = true volume = 100 audio_offset = 0 input_offset = 0 route_keys = "E P L D" '
cp "$E2E_DIR/settings.toml" "$E2E_ARTEFACTS/settings_first_start.toml"

# A window from the settings file, with one line it cannot use: the rest still counts and
# the file stays as the player wrote it.
printf 'fullscreen = false\nwindow_size = "1024x768"\ncolour = "blue"\n' >"$E2E_DIR/settings.toml"
cp "$E2E_DIR/settings.toml" "$E2E_DIR/settings.before"
start_game
check "window opens (settings)" wait_own_window
sleep 2
check "the window is 1024x768 (got $(window_size))" test "$(window_size)" = "1024x768"
check "4:3 picture set" grep -qx "image 2048_1536 rap 1.33333 imageX2048 scaleX0.5" "$E2E_DIR/stderr.txt"
check "one line on the unknown setting" grep -qx 'settings.toml line 3: unknown setting "colour", ignored' "$E2E_DIR/stderr.txt"
request_close
wait_exit 200
check "exit status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
check "settings.toml unchanged" cmp -s "$E2E_DIR/settings.toml" "$E2E_DIR/settings.before"

# A window larger than the screen is shrunk to fit, keeping its shape; a garbled file
# gives full-screen defaults otherwise, and is kept.
printf 'fullscreen = fals\n' >"$E2E_DIR/settings.toml"
start_game --windowed 3840x2160
check "window opens (too large)" wait_own_window
sleep 2
check "the window is shrunk to 1920x1080 (got $(window_size))" test "$(window_size)" = "1920x1080"
check "scaleX 1.2" grep -qx "image 1600_900 rap 1.77778 imageX1600 scaleX1.2" "$E2E_DIR/stderr.txt"
check "one line on the garbled file" grep -qE '^settings.toml line 1: .+' "$E2E_DIR/stderr.txt"
request_close
wait_exit 200
check "exit status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
check "the garbled settings.toml is kept" test "$(cat "$E2E_DIR/settings.toml")" = "fullscreen = fals"
check "records file is 48 bytes" test "$(stat -c %s "$E2E_DIR/profile.zob")" -eq 48
finish
