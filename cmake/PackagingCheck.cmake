# Read by cpack before it makes a package. The package installs under /usr with the build's
# relative folders, so the program lands in /usr/games (a build configured for the prefix /usr)
# or in /usr/bin (any other prefix, such as run.sh's build-release): both are places Debian
# keeps programs. An absolute or unusual program folder would put it elsewhere, so it is refused.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_ALOFT_BINDIR MATCHES "^(games|bin)$")
  message(FATAL_ERROR
    "This build installs the game in ${CPACK_ALOFT_BINDIR}; the Debian package needs it in "
    "/usr/games or /usr/bin. Configure a new build directory with -DCMAKE_INSTALL_PREFIX=/usr "
    "and make the package there.")
endif()
