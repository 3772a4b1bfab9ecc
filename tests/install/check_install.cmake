# Installs the game into a temporary prefix and checks the result as a desktop would.
# Arguments: BUILD_DIR, SOURCE_DIR, TEMP_DIR (where the prefix is made), APP_ID, BINDIR,
# DATADIR, MANDIR (the GNUInstallDirs folders), DATA_FROM_BIN (the game's data folder relative
# to BINDIR).

include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
set(WITH_ERRORS ON)

# Outside the build tree, where a program falls back to the source tree's resources.
make_work_dir(aloft-install-check)
set(prefix ${WORK_DIR}/prefix)
run_checked("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# The icons' sizes are checked on the committed files (tools/tests); here only their presence.
foreach(file ${BINDIR}/aloft ${BINDIR}/aloft-game ${DATADIR}/aloft/kivResources/TupLogo.tif ${MANDIR}/man6/aloft.6.gz
    ${DATADIR}/icons/hicolor/48x48/apps/${APP_ID}.png
    ${DATADIR}/icons/hicolor/128x128/apps/${APP_ID}.png
    ${DATADIR}/icons/hicolor/256x256/apps/${APP_ID}.png)
  if(NOT EXISTS ${prefix}/${file})
    fail("${file} was not installed")
  endif()
endforeach()

set(desktop_file ${prefix}/${DATADIR}/applications/${APP_ID}.desktop)
run_checked("desktop-file-validate" ${DESKTOP_FILE_VALIDATE} ${desktop_file})
if(NOT output STREQUAL "")
  fail("desktop-file-validate complained:\n${output}")
endif()
file(STRINGS ${desktop_file} wm_class REGEX "^StartupWMClass=")
if(NOT wm_class STREQUAL "StartupWMClass=${APP_ID}")
  fail("the desktop entry's window class is '${wm_class}', not ${APP_ID}")
endif()

run_checked("appstreamcli validate" ${APPSTREAMCLI} validate --no-net
  ${prefix}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml)

# The game starts, and still starts from the prefix moved: it finds its data beside itself.
foreach(moved OFF ON)
  if(moved)
    file(RENAME ${prefix} ${WORK_DIR}/moved)
    set(prefix ${WORK_DIR}/moved)
  endif()
  run_checked("starting ${prefix}/${BINDIR}/aloft"
    ${prefix}/${BINDIR}/aloft --headless --frames 10 --prefs ${WORK_DIR}/preferences.json)
endforeach()

# Without its data the installed game names the folder it looked in and ends with status 1;
# it never falls back to the source tree it was built from.
set(resources ${WORK_DIR}/moved/${DATADIR}/aloft/kivResources)
file(REMOVE_RECURSE ${resources})
# No display: the error box would otherwise wait for someone to close it.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        ${WORK_DIR}/moved/${BINDIR}/aloft --headless --frames 10
                RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET TIMEOUT 60)
string(FIND "${err}" "\n  ${WORK_DIR}/moved/${BINDIR}/${DATA_FROM_BIN}/kivResources" named)
string(FIND "${err}" "\n  ${SOURCE_DIR}/kivResources" named_source)
if(NOT status EQUAL 1 OR named EQUAL -1 OR NOT named_source EQUAL -1)
  fail("without its data the installed game ended with ${status}, saying:\n${err}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
