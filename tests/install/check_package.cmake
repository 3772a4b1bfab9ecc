# Makes the Debian package the way the README does, checks its fields, has lintian judge it,
# installs it into a temporary root with dpkg, starts the game from its menu entry's command and
# removes it again: nothing of it may be left, and the best times in the player's home untouched.
# Arguments: SOURCE_DIR, PACKAGE_BUILD_DIR (kept between runs, so that a second run only
# repackages), TEMP_DIR, APP_ID, VERSION, LAUNCHER (the calling build's, may be empty), GENERATOR.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
find_program(DPKG dpkg REQUIRED)
find_program(DPKG_DEB dpkg-deb REQUIRED)
find_program(LINTIAN lintian REQUIRED)
find_program(FAKEROOT fakeroot REQUIRED)
make_work_dir(aloft-package-check)

if(LAUNCHER)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER} -DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER})
endif()
run_checked("configuring the package build"
  ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${PACKAGE_BUILD_DIR} -G ${GENERATOR} ${launcher}
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
  -DALOFT_BUILD_TESTS=OFF -DALOFT_BUILD_BENCHMARKS=OFF)
run_checked("dpkg --print-architecture" ${DPKG} --print-architecture)
string(STRIP "${output}" architecture)
set(package ${PACKAGE_BUILD_DIR}/aloft_${VERSION}-1_${architecture}.deb)
file(REMOVE ${package})
run_checked("building the package" ${CMAKE_COMMAND} --build ${PACKAGE_BUILD_DIR} --target package)
if(NOT EXISTS ${package})
  fail("no ${package}")
endif()

# The dependencies come from dpkg-shlibdeps: the libraries the game links, with the versions it
# needs. The changelog's newest entry must be this version.
run_checked("dpkg-deb --field" ${DPKG_DEB} --field ${package})
foreach(pattern "\nSection: games\n" "\nPriority: optional\n"
    "\nDescription: arcade game [^\n]+\n [^ ]" "\nDepends:([^\n]*,)? libc6 \\(>= "
    "\nDepends:([^\n]*,)? libsdl2-2\\.0-0 \\(>= " "\nDepends:([^\n]*,)? libtiff6 \\(>= ")
  if(NOT "\n${output}" MATCHES "${pattern}")
    fail("the package's fields do not match '${pattern}':\n${output}")
  endif()
endforeach()
file(STRINGS ${SOURCE_DIR}/data/debian/changelog first_entry LIMIT_COUNT 1)
if(NOT first_entry MATCHES "^aloft \\(${VERSION}-1\\)")
  fail("data/debian/changelog starts with '${first_entry}', the package is ${VERSION}-1")
endif()

# No errors and no warnings (wrong owners included); lintian applies the package's overrides.
run_checked("lintian" ${LINTIAN} --fail-on error,warning ${package})
if(output MATCHES "(^|\n)[EW]: ")
  fail("lintian reports:\n${output}")
endif()

# Installed with dpkg into a root of its own (fakeroot lets root own the files there), with a
# player's best times already in the home.
set(root ${WORK_DIR}/root)
file(MAKE_DIRECTORY ${root}/var/lib/dpkg/info ${root}/var/lib/dpkg/updates)
file(TOUCH ${root}/var/lib/dpkg/status ${root}/var/lib/dpkg/available)
set(home ${WORK_DIR}/home)
set(best_times ${home}/.local/share/aloft/preferences.json)
set(stored "{\"Easy\": [0, 0, 4, 2, 1, 7]}\n")
file(WRITE ${best_times} "${stored}")
# dpkg looks for its helpers (ldconfig, ...) on the PATH, which may lack the sbin folders.
set(dpkg_in_root ${CMAKE_COMMAND} -E env "PATH=/usr/sbin:/usr/bin:/sbin:/bin"
    ${FAKEROOT} ${DPKG} --root=${root} --log=${WORK_DIR}/dpkg.log --force-depends
    --force-not-root)
run_checked("dpkg --install" ${dpkg_in_root} --install ${package})

# Every file below `root`, relative to it, leaving out dpkg's own.
function(files_below root result)
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
  list(FILTER found EXCLUDE REGEX "^var/lib/dpkg/")
  list(SORT found)
  set(${result} "${found}" PARENT_SCOPE)
endfunction()

# The files: exactly those of a plain install of the same build (checked one by one by the
# install test) under /usr, plus those only Debian reads.
run_checked("cmake --install" ${CMAKE_COMMAND} --install ${PACKAGE_BUILD_DIR}
  --prefix ${WORK_DIR}/plain/usr)
files_below(${WORK_DIR}/plain expected)
list(APPEND expected usr/share/doc/aloft/copyright usr/share/doc/aloft/changelog.Debian.gz
     usr/share/lintian/overrides/aloft)
list(SORT expected)
files_below(${root} packaged)
if(NOT packaged STREQUAL expected)
  fail("the package holds\n  ${packaged}\nexpected\n  ${expected}")
endif()

# The menu entry's command, found as a desktop finds it: on a PATH of the root's games and
# programs only. Field codes (%f, %U, ...) stand for files to open: none here.
file(STRINGS ${root}/usr/share/applications/${APP_ID}.desktop exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=" "" exec "${exec}")
string(REGEX REPLACE " ?%[a-zA-Z]" "" exec_line "${exec}")
separate_arguments(exec UNIX_COMMAND "${exec_line}")
run_checked("the menu entry's command '${exec_line}'" ${CMAKE_COMMAND} -E env
  "PATH=${root}/usr/games:${root}/usr/bin" "HOME=${home}"
  --unset=XDG_DATA_HOME --unset=DISPLAY --unset=WAYLAND_DISPLAY ${exec} --headless --frames 10)

run_checked("dpkg --remove" ${dpkg_in_root} --remove aloft)
files_below(${root} left)
if(left)
  fail("removing the package left\n  ${left}")
endif()
file(READ ${best_times} best_times_after)
if(NOT best_times_after STREQUAL stored)
  fail("the best times changed to\n${best_times_after}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
