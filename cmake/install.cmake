# `cmake --install` puts the game under a prefix as a Linux game is expected to install:
# the binary in libexec, the generated picture and sound trees in share/mirevo, a
# launcher in bin that runs the game from a per-player data folder (where the records
# and the log are kept), a desktop entry and an icon.
include(GNUInstallDirs)

set(MIREVO_SHARE ${CMAKE_INSTALL_FULL_DATADIR}/mirevo)
set(MIREVO_LIBEXEC ${CMAKE_INSTALL_FULL_LIBEXECDIR}/mirevo)

install(TARGETS mirevo RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/mirevo)
install(DIRECTORY ${MIREVO_RUNTIME_DIR}/graphs ${MIREVO_RUNTIME_DIR}/qo_audio
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mirevo OPTIONAL)

configure_file(${CMAKE_SOURCE_DIR}/packaging/mirevo-launcher.sh.in
               ${CMAKE_BINARY_DIR}/packaging/mirevo @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/mirevo DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/mirevo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MIREVO_RUNTIME_DIR}/mirevo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps OPTIONAL)
