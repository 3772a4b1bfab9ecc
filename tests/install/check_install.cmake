# Installs the game into a temporary prefix and checks the result as a desktop would.
# Arguments: BUILD_DIR, SOURCE_DIR, TEMP_DIR (where the prefix is made), APP_ID, BINDIR,
# DATADIR, MANDIR (the GNUInstallDirs folders), DATA_FROM_BIN (the game's data folder relative
# to BINDIR), DESKTOP_FILE_VALIDATE, APPSTREAMCLI.

# Ends the check, leaving nothing behind in the temporary folder.
function(fail text)
  file(REMOVE_RECURSE ${WORK_DIR})
  message(FATAL_ERROR "${text}")
endfunction()

function(run_checked what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 120)
  if(NOT status EQUAL 0)
    fail("${what} failed (${status}):\n${out}${err}")
  endif()
  set(output "${out}${err}" PARENT_SCOPE)
endfunction()

# Width and height from a PNG's header: the signature, then the IHDR chunk.
function(check_png file size)
  if(NOT EXISTS ${file})
    fail("missing icon ${file}")
  endif()
  file(READ ${file} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    fail("${file} is not a ${size} x ${size} PNG (${width} x ${height})")
  endif()
endfunction()

# Starts the installed game headless for ten frames; it must end normally.
function(start_game prefix)
  run_checked("starting ${prefix}/${BINDIR}/aloft"
    ${prefix}/${BINDIR}/aloft --headless --frames 10 --prefs ${WORK_DIR}/preferences.json)
endfunction()

# Outside the build tree, where a program falls back to the source tree's resources.
string(RANDOM LENGTH 8 suffix)
set(WORK_DIR ${TEMP_DIR}/aloft-install-check-${suffix})
file(MAKE_DIRECTORY ${WORK_DIR})
# The program knows its folder with links resolved; so must the paths expected of it.
file(REAL_PATH ${WORK_DIR} WORK_DIR)
set(prefix ${WORK_DIR}/prefix)
run_checked("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(file ${BINDIR}/aloft ${DATADIR}/aloft/kivResources/TupLogo.tif ${MANDIR}/man6/aloft.6.gz)
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

foreach(size 48 128 256)
  check_png(${prefix}/${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png ${size})
endforeach()

start_game(${prefix})
# A moved prefix still works: the data is found relative to the program.
file(RENAME ${prefix} ${WORK_DIR}/moved)
start_game(${WORK_DIR}/moved)

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
