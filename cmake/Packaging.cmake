# The Debian package: `cmake --build BUILD --target package` makes aloft_<version>-1_<arch>.deb
# holding what `cmake --install` installs, plus the files only a Debian system reads (copyright,
# Debian changelog, lintian overrides), all under /usr, with the program in /usr/games where
# Debian keeps games, whatever prefix the build was configured for.

set(ALOFT_CONTACT "The Aloft developers <aloft@example.org>" CACHE STRING
    "Maintainer of the Debian package: a name and a mail address")
find_program(GZIP gzip REQUIRED)

# Debian wants the changelog compressed at the highest level and without a time stamp, so that
# the same changelog always makes the same bytes.
set(debian_dir ${PROJECT_BINARY_DIR}/debian)
add_custom_command(OUTPUT ${debian_dir}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/debian/changelog
          ${debian_dir}/changelog.Debian
  COMMAND ${GZIP} -9nf ${debian_dir}/changelog.Debian
  DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
  COMMENT "Compressing the Debian changelog")
add_custom_target(debian_changelog ALL DEPENDS ${debian_dir}/changelog.Debian.gz)

# Component "debian", left out of a plain `cmake --install`: only the package holds these.
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${debian_dir}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
# Both programs in /usr/games: from there the data is ../share/aloft as from any <prefix>/bin.
install(TARGETS aloft aloft-game RUNTIME DESTINATION games COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${PROJECT_NAME}
        COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_CONTACT ${ALOFT_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of keeping a flyer aloft for as long as you can")
set(CPACK_PACKAGE_DESCRIPTION [[
A small arcade game for one player. A flyer climbs from the ground and never
stops moving along its heading; the arrow keys turn it. A run lasts until the
flyer, once aloft, comes back down to the landing height. The best run of each
mode, easy and hard, is kept and shown on the stats screen.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ALOFT_HOMEPAGE})
# Depends is computed by dpkg-shlibdeps from the libraries the program links, never by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
# Directories get the same modes whatever the umask of the person building.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# What a plain install installs, but the program from the "debian" component, in games/.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")
include(CPack)
