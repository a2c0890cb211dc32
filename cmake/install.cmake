# `cmake --install` (and the Debian package made from it, see package.cmake) puts the game
# where Debian puts games: the launcher `mirevo` in games/ (on the player's PATH), the
# program itself in lib/games/mirevo, the generated pictures and sounds in
# share/games/mirevo, and the desktop entry, AppStream metadata, icons and manual page in
# their usual places. The launcher runs the game from the player's data folder, where the
# records, the log and the settings are kept. Every path is relative to the prefix, so the
# same tree works under /usr (the package), /usr/local or any other prefix.

set(MIREVO_INSTALL_GAMES games)
set(MIREVO_INSTALL_LIBEXEC lib/games/mirevo)
set(MIREVO_INSTALL_DATA share/games/mirevo)

# Facts about the game shown by the package, the metadata and the manual page.
set(MIREVO_RELEASE_DATE 2026-12-08)
set(MIREVO_APP_ID org.example.mirevo)
set(MIREVO_LICENSE LicenseRef-proprietary)
set(MIREVO_HOMEPAGE "https://mirevo.example.org/" CACHE STRING "The game's home page")
set(MIREVO_SCREENSHOT_URL "https://mirevo.example.org/docs" CACHE STRING
    "Web folder serving the README's screenshots (docs/screenshot_*.png)")

install(TARGETS mirevo RUNTIME DESTINATION ${MIREVO_INSTALL_LIBEXEC})
# The trees are copied, also when graphs/ or qo_audio/ in the runtime folder is a link to
# another build's asset pack.
foreach(tree graphs qo_audio)
    get_filename_component(MIREVO_TREE ${MIREVO_RUNTIME_DIR}/${tree} REALPATH)
    install(DIRECTORY ${MIREVO_TREE}/ DESTINATION ${MIREVO_INSTALL_DATA}/${tree})
endforeach()

set(MIREVO_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/mirevo-launcher.sh.in
               ${MIREVO_PACKAGING_DIR}/mirevo @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/mirevo.metainfo.xml.in
               ${MIREVO_PACKAGING_DIR}/${MIREVO_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/mirevo.6.in ${MIREVO_PACKAGING_DIR}/mirevo.6 @ONLY)
# Manual pages are installed compressed, without a time stamp in the archive.
add_custom_command(
    OUTPUT ${MIREVO_PACKAGING_DIR}/mirevo.6.gz
    COMMAND gzip -9 -n -f -k ${MIREVO_PACKAGING_DIR}/mirevo.6
    DEPENDS ${MIREVO_PACKAGING_DIR}/mirevo.6
    COMMENT "Compressing the manual page")
add_custom_target(manual_page ALL DEPENDS ${MIREVO_PACKAGING_DIR}/mirevo.6.gz)

# The package's change log (Debian's format, dated with the release) and copyright file.
execute_process(COMMAND date -u -R -d "${MIREVO_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE MIREVO_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${MIREVO_PACKAGING_DIR}/changelog @ONLY)
add_custom_command(
    OUTPUT ${MIREVO_PACKAGING_DIR}/changelog.gz
    COMMAND gzip -9 -n -f -k ${MIREVO_PACKAGING_DIR}/changelog
    DEPENDS ${MIREVO_PACKAGING_DIR}/changelog
    COMMENT "Compressing the change log")
add_custom_target(changelog ALL DEPENDS ${MIREVO_PACKAGING_DIR}/changelog.gz)

install(PROGRAMS ${MIREVO_PACKAGING_DIR}/mirevo DESTINATION ${MIREVO_INSTALL_GAMES})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/mirevo.desktop DESTINATION share/applications)
install(FILES ${MIREVO_PACKAGING_DIR}/${MIREVO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${MIREVO_PACKAGING_DIR}/mirevo.6.gz DESTINATION share/man/man6)
install(FILES ${MIREVO_PACKAGING_DIR}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION share/doc/mirevo)
# Debian's package checker is told why the one name it questions stays as it is.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides
        RENAME mirevo)
if(TARGET icon)
    install(DIRECTORY ${MIREVO_ICON_DIR}/ DESTINATION share/icons/hicolor)
endif()

# The metadata, the desktop entry and the manual page pass their checkers.
add_test(NAME package_metainfo_valid
         COMMAND appstreamcli validate --no-net --pedantic
                 ${MIREVO_PACKAGING_DIR}/${MIREVO_APP_ID}.metainfo.xml)
add_test(NAME package_desktop_entry_valid
         COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/packaging/mirevo.desktop)
add_test(NAME package_manual_page_clean
         COMMAND sh -c "out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l \"$0\" 2>&1 >/dev/null) && test -z \"$out\" || { echo \"$out\"; exit 1; }"
                 ${MIREVO_PACKAGING_DIR}/mirevo.6)
set_tests_properties(package_metainfo_valid package_desktop_entry_valid
                     package_manual_page_clean PROPERTIES LABELS package)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
