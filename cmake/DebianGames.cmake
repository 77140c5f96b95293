# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the Debian package's staging tree, after the install
# and before the package is made. Debian keeps the programs of games in /usr/games, which is on
# every user's PATH; a plain `cmake --install` keeps them in BINDIR, where a home or /usr/local
# install finds them on the PATH too. So only the package moves them.
set(staging "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${staging}/${CPACK_ZELMO_INSTALL_BINDIR}")
  message(FATAL_ERROR "no ${CPACK_ZELMO_INSTALL_BINDIR} folder in the package's staging tree ${staging}")
endif()
file(RENAME "${staging}/${CPACK_ZELMO_INSTALL_BINDIR}" "${staging}/games")
