# What the install checks share. WORK_DIR is the check's temporary folder.

# Ends the check, leaving nothing behind in the temporary folder.
function(fail text)
  file(REMOVE_RECURSE ${WORK_DIR})
  message(FATAL_ERROR "${text}")
endfunction()

# Runs the command after `what`, failing the check on a non-zero status; its output (and, with
# WITH_ERRORS set, its error output) lands in `output`.
function(run_checked what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 1200)
  if(NOT status EQUAL 0)
    fail("${what} failed (${status}):\n${out}${err}")
  endif()
  if(WITH_ERRORS)
    set(out "${out}${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# A fresh temporary folder under TEMP_DIR named after `name`, links resolved (the program knows
# its folder that way, and so must the paths expected of it).
function(make_work_dir name)
  string(RANDOM LENGTH 8 suffix)
  set(dir ${TEMP_DIR}/${name}-${suffix})
  file(MAKE_DIRECTORY ${dir})
  file(REAL_PATH ${dir} dir)
  set(WORK_DIR ${dir} PARENT_SCOPE)
endfunction()
