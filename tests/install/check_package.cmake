# Makes the Debian package the way the README does, checks its fields and files, has lintian
# judge it, then installs it into a temporary root with dpkg, starts the game from its menu
# entry's command, removes it again and checks that nothing of it is left - and that the best
# times in the player's home are untouched.
# Arguments: SOURCE_DIR, PACKAGE_BUILD_DIR (a build directory of its own, kept between runs so
# that a second run only repackages), TEMP_DIR, APP_ID, VERSION, LAUNCHER (compiler launcher of
# the calling build, may be empty), GENERATOR.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
foreach(tool dpkg dpkg-deb dpkg-parsechangelog lintian fakeroot)
  string(TOUPPER ${tool} name)
  string(REPLACE "-" "_" name ${name})
  find_program(${name} ${tool} REQUIRED)
endforeach()

# Every file below `root`, as paths relative to it; directories left out.
function(files_below root result)
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
  list(SORT found)
  set(${result} "${found}" PARENT_SCOPE)
endfunction()

make_work_dir(aloft-package-check)

# The package, made as the README says.
set(launcher_options "")
if(LAUNCHER)
  set(launcher_options
      -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER} -DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER})
endif()
run_checked("configuring the package build"
  ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${PACKAGE_BUILD_DIR} -G ${GENERATOR}
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
  -DALOFT_BUILD_TESTS=OFF -DALOFT_BUILD_BENCHMARKS=OFF ${launcher_options})
file(GLOB old_packages ${PACKAGE_BUILD_DIR}/*.deb)
if(old_packages)
  file(REMOVE ${old_packages})
endif()
run_checked("building the package" ${CMAKE_COMMAND} --build ${PACKAGE_BUILD_DIR} --target package)
run_checked("dpkg --print-architecture" ${DPKG} --print-architecture)
string(STRIP "${output}" architecture)
set(package ${PACKAGE_BUILD_DIR}/aloft_${VERSION}-1_${architecture}.deb)
if(NOT EXISTS ${package})
  file(GLOB made ${PACKAGE_BUILD_DIR}/*.deb)
  fail("no ${package}; the build made: ${made}")
endif()

# Each entry: a field and a pattern its value must match. The dependencies come from
# dpkg-shlibdeps, so the libraries the game links appear in them with the versions it needs.
foreach(expected
    "Package=^aloft$" "Version=^${VERSION}-1$" "Architecture=^${architecture}$"
    "Section=^games$" "Priority=^optional$"
    "Depends=(^|, )libc6 \\(>= [^)]+\\)(,|$)"
    "Depends=(^|, )libsdl2-2\\.0-0 \\(>= [^)]+\\)(,|$)"
    "Depends=(^|, )libtiff6 \\(>= [^)]+\\)(,|$)"
    "Description=^arcade game [^\n]+\n [^ ]")
  string(REGEX MATCH "^([A-Za-z]+)=(.*)$" unused "${expected}")
  set(field ${CMAKE_MATCH_1})
  set(pattern "${CMAKE_MATCH_2}")
  run_checked("dpkg-deb --field ${field}" ${DPKG_DEB} --field ${package} ${field})
  string(STRIP "${output}" value)
  if(NOT value MATCHES "${pattern}")
    fail("field ${field} is '${value}', expected to match '${pattern}'")
  endif()
endforeach()

# No maintainer scripts: installing and removing only adds and deletes the package's own files,
# and nothing ever touches a player's home.
run_checked("dpkg-deb --info" ${DPKG_DEB} --info ${package})
string(REGEX MATCHALL "\n +[0-9]+ bytes, +[0-9]+ lines? +[* ] ([^ \n]+)" members "${output}")
list(TRANSFORM members REPLACE ".* ([^ ]+)$" "\\1")
if(NOT members STREQUAL "control;md5sums")
  fail("the control archive holds ${members}, expected only control and md5sums:\n${output}")
endif()

# The changelog's newest entry is this package's version.
run_checked("dpkg-parsechangelog" ${DPKG_PARSECHANGELOG} -l ${SOURCE_DIR}/data/debian/changelog
  -S Version)
string(STRIP "${output}" changelog_version)
if(NOT changelog_version STREQUAL "${VERSION}-1")
  fail("data/debian/changelog starts with ${changelog_version}, the package is ${VERSION}-1")
endif()

# Files: exactly what a plain install of the same build holds (checked file by file by the
# install test), moved under /usr, plus the files only Debian reads; all owned by root.
run_checked("dpkg-deb --contents" ${DPKG_DEB} --contents ${package})
string(REPLACE "\n" ";" entries "${output}")
set(packaged "")
foreach(entry IN LISTS entries)
  if(entry MATCHES "^-[^ ]+ ([^ ]+) +[0-9]+ [^ ]+ [^ ]+ \\./(.+)$")
    if(NOT CMAKE_MATCH_1 STREQUAL "root/root")
      fail("${CMAKE_MATCH_2} is owned by ${CMAKE_MATCH_1}")
    endif()
    list(APPEND packaged ${CMAKE_MATCH_2})
  elseif(entry MATCHES "^[^d-]")
    fail("unexpected entry (not a file or directory) in the package: ${entry}")
  endif()
endforeach()
list(SORT packaged)
run_checked("cmake --install" ${CMAKE_COMMAND} --install ${PACKAGE_BUILD_DIR}
  --prefix ${WORK_DIR}/plain/usr)
files_below(${WORK_DIR}/plain installed)
list(APPEND installed usr/share/doc/aloft/copyright usr/share/doc/aloft/changelog.Debian.gz
     usr/share/lintian/overrides/aloft)
list(SORT installed)
if(NOT packaged STREQUAL installed)
  fail("the package holds\n  ${packaged}\nexpected\n  ${installed}")
endif()

# No errors and no warnings; the overrides the package installs are applied by lintian itself.
run_checked("lintian" ${LINTIAN} --fail-on error,warning ${package})
if(output MATCHES "(^|\n)[EW]: ")
  fail("lintian reports:\n${output}")
endif()

# Installed with dpkg into a root of its own (fakeroot lets the files be owned by root there),
# with a player's best times already in the home.
set(root ${WORK_DIR}/root)
file(MAKE_DIRECTORY ${root}/var/lib/dpkg/info ${root}/var/lib/dpkg/updates)
file(TOUCH ${root}/var/lib/dpkg/status ${root}/var/lib/dpkg/available)
set(home ${WORK_DIR}/home)
set(best_times ${home}/.local/share/aloft/preferences.json)
file(WRITE ${best_times} "{\"Easy\": [0, 0, 4, 2, 1, 7]}\n")
file(READ ${best_times} best_times_before)
# dpkg looks for its helpers (ldconfig, ...) on the PATH, which may lack the sbin folders.
set(dpkg_in_root ${CMAKE_COMMAND} -E env "PATH=/usr/sbin:/usr/bin:/sbin:/bin"
    ${FAKEROOT} ${DPKG} --root=${root} --log=${WORK_DIR}/dpkg.log --force-depends
    --force-not-root)
run_checked("dpkg --install" ${dpkg_in_root} --install ${package})

# The menu entry's command, found the way a desktop finds it: on a PATH holding the root's
# games and programs only. Field codes (%f, %U, ...) stand for files to open: none here.
file(STRINGS ${root}/usr/share/applications/${APP_ID}.desktop exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=" "" exec "${exec}")
string(REGEX REPLACE " ?%[a-zA-Z]" "" exec_line "${exec}")
separate_arguments(exec UNIX_COMMAND "${exec_line}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "PATH=${root}/usr/games:${root}/usr/bin" "HOME=${home}"
          --unset=XDG_DATA_HOME --unset=DISPLAY --unset=WAYLAND_DISPLAY
          ${exec} --headless --frames 10
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT status EQUAL 0)
  fail("the menu entry's command '${exec_line}' ended with ${status}:\n${out}${err}")
endif()

run_checked("dpkg --remove" ${dpkg_in_root} --remove aloft)
files_below(${root} left)
list(FILTER left EXCLUDE REGEX "^var/lib/dpkg/")
if(left)
  fail("removing the package left\n  ${left}")
endif()
file(READ ${best_times} best_times_after)
if(NOT best_times_after STREQUAL best_times_before)
  fail("the best times changed from\n${best_times_before}to\n${best_times_after}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
