# Run by CPack on the staged Debian package before it is built: Debian keeps the programs of a
# package in section games in /usr/games, on every user's PATH there.
set(staged "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(RENAME "${staged}/${CPACK_SCULPT_BINDIR}" "${staged}/games")
