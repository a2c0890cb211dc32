# `cpack -G DEB` in the build folder makes mirevo_<version>_<arch>.deb of what
# install.cmake installs, under /usr. Its dependencies are computed from the program by
# dpkg-shlibdeps: only the libraries the game runs with, none of the tools that drew the
# pictures or rendered the music.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirevo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Mirevo developers")
set(CPACK_PACKAGE_CONTACT "Mirevo maintainers <maintainers@mirevo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music game: catch the creatures on the beat")
set(CPACK_PACKAGE_DESCRIPTION
    "Mirevo is a full-screen music game for one player. On the beat of the
song, small creatures hop from the four corners of a board towards its
centre; catch each one with its route's key as it lands. Good catches fill
the route's gauge and bring in further layers of the music, so the song
grows with your skill.
.
Four songs, scored plays, an endless explore mode, a tutorial and a
making-of picture book.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MIREVO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The pictures and sounds are compressed already; gzip keeps packing quick.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)

include(CPack)
