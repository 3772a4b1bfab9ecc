# The second Debian package, aloft-board: the board server and its systemd unit, from the
# install component "board". `cmake --build BUILD --target package_board` makes
# aloft-board_<version>-1_<arch>.deb with the settings of the game's package (cmake/Packaging.cmake)
# except those below. It depends on the game, which verifies the runs.
install(TARGETS aloft-board RUNTIME DESTINATION bin COMPONENT board EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/board/aloft-board.service
        DESTINATION lib/systemd/system COMPONENT board EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${debian_dir}/changelog.Debian.gz
        DESTINATION share/doc/aloft-board COMPONENT board EXCLUDE_FROM_ALL)

install(FILES ${PROJECT_SOURCE_DIR}/data/board/lintian-overrides
        DESTINATION share/lintian/overrides RENAME aloft-board COMPONENT board EXCLUDE_FROM_ALL)

set(board_config ${PROJECT_BINARY_DIR}/CPackBoardConfig.cmake)
file(WRITE ${board_config} "include(\"${PROJECT_BINARY_DIR}/CPackConfig.cmake\")
set(CPACK_PACKAGE_NAME aloft-board)
set(CPACK_INSTALL_CMAKE_PROJECTS \"${PROJECT_BINARY_DIR};${PROJECT_NAME};board;/\")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_DEPENDS \"aloft (= ${PROJECT_VERSION}-1)\")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY \"leaderboard server for aloft that verifies every run it lists\")
set(CPACK_PACKAGE_DESCRIPTION \"A shared leaderboard for the aloft game. Players send their best runs
with aloft --submit; each run is replayed by the game's own verifier in a child
process under CPU, memory and time limits before it is listed. Runs are kept in
an SQLite file, or in PostgreSQL shared by any number of servers.\")
set(CPACK_OUTPUT_CONFIG_FILE \"${board_config}\")
")
add_custom_target(package_board
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${board_config}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS aloft-board debian_changelog
  COMMENT "Making the aloft-board Debian package")
