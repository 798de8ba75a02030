# Installed like a Linux game: the executable as bin/moorhold, the game directory's data
# under share/moorhold (where the executable finds it by itself), a desktop entry, icons,
# AppStream metadata and a manual page. `cpack -G DEB` in the build folder packs the same
# into moorhold_<version>_amd64.deb, its dependencies read off the executable's libraries.

set(MOORHOLD_HOMEPAGE "https://moorhold.github.io" CACHE STRING
    "The project's web page: the AppStream metadata's home page, under which its screenshot is published")
set(MOORHOLD_APPSTREAM_ID "io.github.moorhold" CACHE STRING "The AppStream component id (reverse DNS of the home page)")
set(MOORHOLD_RELEASE_DATE "2026-12-09")

install(PROGRAMS $<TARGET_FILE:EZG> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME moorhold)
install(DIRECTORY ${GAME_DIR}/config ${GAME_DIR}/shader DESTINATION ${CMAKE_INSTALL_DATADIR}/moorhold)
# The contact sheet is the developers' look at the generated data, not the game's.
install(DIRECTORY ${GAME_DIR}/media DESTINATION ${CMAKE_INSTALL_DATADIR}/moorhold
        PATTERN contact_sheet.png EXCLUDE PATTERN .generated EXCLUDE)

configure_file(${CMAKE_SOURCE_DIR}/packaging/moorhold.metainfo.xml
               ${CMAKE_BINARY_DIR}/packaging/${MOORHOLD_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/moorhold.6 ${CMAKE_BINARY_DIR}/packaging/moorhold.6 @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/moorhold.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${MOORHOLD_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/packaging/moorhold.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size 48 64 128 256)
  install(FILES ${GAME_DIR}/media/icons/moorhold_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME moorhold.png)
endforeach()

set(CPACK_PACKAGE_NAME moorhold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Moorhold developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "race hover vehicles to the crystals over a flooded moor")
# The first line of the package description is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Moorhold is a single-player real-time 3-D game: steer a physically simulated hover vehicle
over a partly flooded moor and race five computer opponents to the crystals that a
roaming flying ship drops. Whoever first reaches the level's points wins.")
# No mailing list exists: the reserved .invalid domain says so rather than inventing one.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Moorhold developers <developers@moorhold.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MOORHOLD_HOMEPAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
