#!/usr/bin/env bash
# Makes the Debian package mirevo_<version>_<arch>.deb in the build folder: sets up what
# the game needs (see setup.sh; the game, its pictures, sounds, icons and manual page, not
# the tests), checks the desktop entry, the AppStream metadata and the manual page, and
# runs cpack. Install it with: apt-get install ./build/mirevo_<version>_<arch>.deb
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/setup.sh" mirevo assets icon manual_page changelog
(cd "$BUILD" && ctest --output-on-failure -L package)
(cd "$BUILD" && cpack -G DEB)
VERSION="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")"
echo "Package: $BUILD/mirevo_${VERSION}_$(dpkg --print-architecture).deb"
