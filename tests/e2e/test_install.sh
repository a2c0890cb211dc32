#!/usr/bin/env bash
# The Debian package of this build: made with cpack, installed with apt, shown by the
# installed `mirevo --version`, started from its desktop entry by a player with a fresh
# home and quit with Escape, keeping the records and the log in that player's data folder
# (and nothing else: the pictures and sounds are read where installed); then removed,
# leaving nothing of it outside that folder. Needs root (as CI runs); the package is
# removed again on every way out.
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing a package needs root"
    exit 77
fi
case "$(dpkg-query -W -f='${db:Status-Status}' mirevo 2>/dev/null)" in
    "" | not-installed | config-files) ;;
    *)
        echo "skipped: a mirevo package is installed on this machine already; left alone"
        exit 77
        ;;
esac

source "$(dirname "$0")/lib.sh" "$@"
BUILD="$(dirname "$E2E_RUNTIME")"
APT=(env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300)
INSTALLED=0
remove_package() {
    if [ "$INSTALLED" = 1 ]; then
        "${APT[@]}" purge mirevo >"$E2E_DIR/apt-purge.txt" 2>&1
        INSTALLED=0
    fi
}
trap 'remove_package; e2e_cleanup' EXIT
trap 'exit 1' INT TERM HUP

VERSION="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")"
ARCH="$(dpkg --print-architecture)"

# --- The package ---
cpack -G DEB -B "$E2E_DIR/pkg" --config "$BUILD/CPackConfig.cmake" >"$E2E_DIR/cpack.txt" 2>&1
DEB="$E2E_DIR/pkg/mirevo_${VERSION}_${ARCH}.deb"
check "cpack makes mirevo_${VERSION}_${ARCH}.deb" test -s "$DEB"
[ -s "$DEB" ] || { cat "$E2E_DIR/cpack.txt"; finish; }
# Debian's package checker: no error or warning but those the package overrides, with
# their reasons.
lintian --fail-on error,warning "$DEB" >"$E2E_DIR/lintian.txt" 2>&1
LINTIAN_STATUS=$?
check "lintian finds no error or warning (status $LINTIAN_STATUS)" test "$LINTIAN_STATUS" -eq 0
[ "$LINTIAN_STATUS" -eq 0 ] || cat "$E2E_DIR/lintian.txt"
check "package version is the project's ($VERSION)" test "$(dpkg-deb -f "$DEB" Version)" = "$VERSION"
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
echo "Depends: $DEPENDS"
check "depends on the multimedia and audio libraries" \
    grep -qE 'libsfml-graphics.*libopenal1|libopenal1.*libsfml-graphics' <<<"$DEPENDS"
check "depends on no build or asset tool" \
    test -z "$(grep -oiE 'fluid|soundfont|cairo|pango|gtest|benchmark|-dev|cmake|ninja|gcc-[0-9]|g\+\+' <<<"$DEPENDS")"

# --- Installed with apt ---
package_state() { dpkg-query -W -f='${db:Status-Status}' mirevo 2>/dev/null; }
"${APT[@]}" install --no-install-recommends "$DEB" >"$E2E_DIR/apt-install.txt" 2>&1
APT_STATUS=$?
# Whatever apt managed, anything of the package on the machine is removed at the end.
case "$(package_state)" in "" | not-installed) ;; *) INSTALLED=1 ;; esac
check "apt installs the package" test "$APT_STATUS" -eq 0 -a "$(package_state)" = installed
[ "$(package_state)" = installed ] || { cat "$E2E_DIR/apt-install.txt"; finish; }
dpkg -L mirevo >"$E2E_DIR/files.txt"
for f in /usr/games/mirevo /usr/lib/games/mirevo/mirevo \
    /usr/share/games/mirevo/graphs/Menu/fondsNus/loading.jpg \
    /usr/share/applications/mirevo.desktop /usr/share/man/man6/mirevo.6.gz \
    /usr/share/icons/hicolor/64x64/apps/mirevo.png /usr/share/icons/hicolor/128x128/apps/mirevo.png \
    /usr/share/icons/hicolor/256x256/apps/mirevo.png /usr/share/icons/hicolor/scalable/apps/mirevo.svg; do
    check "installed: $f" grep -qx "$f" "$E2E_DIR/files.txt"
done
check "installed: the sounds" test -d /usr/share/games/mirevo/qo_audio/mirevo_menu
for s in 64 128 256; do
    size="$(identify -format '%wx%h' /usr/share/icons/hicolor/${s}x${s}/apps/mirevo.png 2>&1)"
    check "the ${s}x${s} icon is ${s}x${s} pixels (got $size)" test "$size" = "${s}x${s}"
done
check "the scalable icon is an SVG picture" grep -q '<svg ' /usr/share/icons/hicolor/scalable/apps/mirevo.svg
METAINFO="$(grep -E '^/usr/share/metainfo/.+\.metainfo\.xml$' "$E2E_DIR/files.txt")"
check "installed metadata validates" appstreamcli validate --no-net "$METAINFO"
check "installed metadata names release $VERSION" grep -q "<release version=\"$VERSION\"" "$METAINFO"
check "installed desktop entry validates" desktop-file-validate /usr/share/applications/mirevo.desktop

# --- A player: fresh home, the PATH of a login session, nothing else from this shell ---
PLAYER="$E2E_DIR/home"
mkdir -p "$PLAYER"
PLAYER_PATH="$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs 2>/dev/null)"
PLAYER_PATH="${PLAYER_PATH:-/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games}"
# What the display needs comes along: its name, and its authority file where the X server
# asks for one (as under xvfb-run).
PLAYER_ENV=(HOME="$PLAYER" PATH="$PLAYER_PATH" DISPLAY="$DISPLAY" ALSOFT_DRIVERS=null)
if [ -n "${XAUTHORITY:-}" ]; then PLAYER_ENV+=(XAUTHORITY="$XAUTHORITY"); fi
as_player() {
    env -i "${PLAYER_ENV[@]}" "$@"
}
check "mirevo is on the player's PATH" test "$(as_player sh -c 'command -v mirevo')" = /usr/games/mirevo
SHOWN="$(cd / && as_player mirevo --version 2>&1)"
check "mirevo --version prints \"mirevo $VERSION\" (got \"$SHOWN\")" test "$SHOWN" = "mirevo $VERSION"
(cd / && as_player mirevo --volume 300 >/dev/null 2>&1)
REFUSED=$?
check "a bad flag is refused with status 2 (got $REFUSED)" test "$REFUSED" -eq 2
check "a refused command line leaves nothing in the home" test -z "$(find "$PLAYER" -mindepth 1 -path "$PLAYER/.local/share/*")"

EXEC="$(sed -n 's/^Exec=//p' /usr/share/applications/mirevo.desktop)"
(cd / && exec env -i "${PLAYER_ENV[@]}" \
    sh -c "$EXEC" >"$E2E_DIR/stdout.txt" 2>"$E2E_DIR/stderr.txt") &
E2E_PID=$!
check "window opens from the desktop entry's command ($EXEC)" wait_window 1200
check "the game loads its pictures" wait_output '^done loading images$' 600
sleep 1
screenshot menu
hold_key Escape
wait_exit 300
check "Escape quits with status 0 (got $E2E_STATUS)" test "$E2E_STATUS" -eq 0
check "\"Exiting !\" is the last line on standard output" test "$(last_output_line)" = "Exiting !"
DATA="$PLAYER/.local/share/mirevo"
check "records kept in the player's data folder" test "$(stat -c %s "$DATA/profile.zob" 2>/dev/null)" = 48
check "log kept in the player's data folder" grep -qE '^Mirevo [0-9]+$' "$DATA/log.txt"
LINKS="$(find "$DATA" -mindepth 1 \( -type l -o -name graphs -o -name qo_audio \) | tr '\n' ' ')"
check "the pictures and sounds are read where installed: no link or copy in the data folder${LINKS:+: $LINKS}" \
    test -z "$LINKS"
STRAY="$(find "$PLAYER" -mindepth 1 | grep -vxE "$PLAYER/\.local(/share(/mirevo(/.*)?)?)?")"
check "nothing written in the home outside the data folder${STRAY:+: $STRAY}" test -z "$STRAY"

# --- Removed ---
"${APT[@]}" purge mirevo >"$E2E_DIR/apt-purge.txt" 2>&1
check "apt removes the package" test "$(package_state)" = not-installed -o -z "$(package_state)"
INSTALLED=0
LEFT=""
while read -r f; do
    if [ -e "$f" ] || [ -L "$f" ]; then
        # Shared folders (/usr/share/icons/hicolor/64x64/apps...) stay; nothing named for
        # the game does, nor any file.
        if [ ! -d "$f" ] || [[ "$f" == *mirevo* ]]; then LEFT="$LEFT $f"; fi
    fi
done <"$E2E_DIR/files.txt"
check "nothing of the package is left${LEFT:+:$LEFT}" test -z "$LEFT"
check "the player's records stay in the data folder" test -s "$DATA/profile.zob"
cp "$E2E_DIR"/apt-*.txt "$E2E_DIR/files.txt" "$E2E_ARTEFACTS/" 2>/dev/null
finish
