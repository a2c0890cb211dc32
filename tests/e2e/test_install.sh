#!/usr/bin/env bash
# `cmake --install` under a prefix gives a launcher that starts the game from the
# player's data folder, with a desktop entry and an icon.
source "$(dirname "$0")/lib.sh" "$@"

BUILD="$(dirname "$E2E_RUNTIME")"
PREFIX="$E2E_DIR/prefix"
check "cmake --install succeeds" cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
check "launcher installed" test -x "$PREFIX/bin/mirevo"
check "desktop entry installed" grep -q '^Exec=mirevo$' "$PREFIX/share/applications/mirevo.desktop"
check "icon installed" test -s "$PREFIX/share/icons/hicolor/256x256/apps/mirevo.png"
check "pictures and sounds installed" test -f "$PREFIX/share/mirevo/graphs/Menu/fondsNus/loading.jpg" -a -d "$PREFIX/share/mirevo/qo_audio/mirevo_menu"

export XDG_DATA_HOME="$E2E_DIR/home-data"
("$PREFIX/bin/mirevo" >"$E2E_DIR/stdout.txt" 2>"$E2E_DIR/stderr.txt") &
E2E_PID=$!
check "window opens from the installed launcher" wait_window
sleep 2
request_close
wait_exit 200
check "exit status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
check "records kept in the player's data folder" test -s "$XDG_DATA_HOME/mirevo/profile.zob"
check "log kept in the player's data folder" grep -qE '^Mirevo [0-9]+$' "$XDG_DATA_HOME/mirevo/log.txt"
finish
