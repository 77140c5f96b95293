# SPDX-License-Identifier: GPL-3.0-or-later
# Installation: where `cmake --install` puts the programs and their desktop files. The Debian
# package (debian/, `make package`) installs exactly this tree. Included at the end of the top
# CMakeLists.txt, after every subdirectory, so that all program targets exist here.
include(GNUInstallDirs)

include(${CMAKE_CURRENT_LIST_DIR}/DebianChangelog.cmake)
zelmo_read_debian_changelog(${PROJECT_SOURCE_DIR}/debian/changelog)
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

if(ZELMO_BUILD_TESTS AND TARGET zelmo)
  add_subdirectory(tests/install)
endif()
