# Read by cpack before it makes a package. A Debian package of a game holds the program in
# /usr/games; a build configured for another prefix would make a package in the wrong place, so
# it is refused with the way to configure one that works.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_ALOFT_FULL_BINDIR STREQUAL "/usr/games")
  message(FATAL_ERROR
    "This build installs the game in ${CPACK_ALOFT_FULL_BINDIR}; the Debian package needs it in "
    "/usr/games. Configure a new build directory with -DCMAKE_INSTALL_PREFIX=/usr and make the "
    "package there.")
endif()
