# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and packaging: where `cmake --install` puts the programs and their desktop
# files, and the Debian package that `make package` builds with CPack. Included at the end of
# the top CMakeLists.txt, after every subdirectory, so that all program targets exist here.
include(GNUInstallDirs)

# Date of the release named by the project version; the metainfo and the manual page carry it.
set(ZELMO_RELEASE_DATE "2026-12-07")
# The same moment as the changelog writes it (RFC 2822); change both together.
set(ZELMO_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")
# Icon sizes rendered for the hicolor theme, beside the scalable SVG.
set(ZELMO_ICON_SIZES 16 22 24 32 48 64 128 256)

# The MIME type of memory files, which the desktop entry opens and the MIME package describes.
set(ZELMO_MIME_TYPE "application/x-zelmo-memory")

include(${CMAKE_CURRENT_LIST_DIR}/AppId.cmake)
zelmo_app_id("${ZELMO_HOMEPAGE_HOST}" ZELMO_APP_ID)

if(TARGET zelmo)
  # The window program itself is installed by app/CMakeLists.txt.
  add_subdirectory(data)
endif()
# The command-line trainer goes beside the window program when it is built.
if(TARGET zelmo-train)
  install(TARGETS zelmo-train RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The Debian package. Library dependencies come from dpkg-shlibdeps on the installed
# programs; the fonts the window asks for by name are not linked, so they are listed here.
# xdg-utils opens the two contact links; without it a link only warns, so it is recommended
# rather than required (it pulls in a Perl stack and more).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelmo)
set(CPACK_PACKAGE_VENDOR Zelmo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelmo <${ZELMO_CONTACT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "noughts and crosses against a computer that learns")
# CPack puts the summary on the first line of the description, before this text.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A game of noughts and crosses in a window: you play X, the computer plays 0.
The computer remembers every position in which it had to move, also turned,
with the answers it tried there, and learns from the school grades (2 to 5)
that you give it for its wins, defeats and draws. A three-dimensional chart
shows the score. The game is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${ZELMO_HOMEPAGE_HOST}/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(ZELMO_PACKAGE_RUNTIME_DEPENDS fonts-liberation fonts-urw-base35 fonts-dejavu-core fonts-dejavu-extra)
list(JOIN ZELMO_PACKAGE_RUNTIME_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The programs of a game go to /usr/games in the Debian package (cmake/DebianGames.cmake).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianGames.cmake)
set(CPACK_ZELMO_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
include(CPack)

if(ZELMO_BUILD_TESTS AND TARGET zelmo)
  add_subdirectory(tests/install)
endif()
