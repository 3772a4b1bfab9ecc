# `aloft --help` gives each option one line, and the manual page documents exactly those
# options.
# Arguments: PROGRAM (the game), MANUAL (the configured aloft.6).
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status TIMEOUT 30)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "aloft --help ended with ${status}")
endif()
string(REGEX MATCHALL "--[a-z][a-z-]*" help_options "${help}")

# An option's line holds its description too: nothing wraps onto a line of its own.
string(REPLACE "\n" ";" help_lines "${help}")
foreach(line IN LISTS help_lines)
  if(line MATCHES "^  -" AND NOT line MATCHES "^  -.*  [A-Z]")
    message(FATAL_ERROR "aloft --help gives an option more than one line:\n${help}")
  endif()
endforeach()

# roff writes a hyphen in an option's name as "\-".
file(READ ${MANUAL} manual)
string(REPLACE "\\-" "-" manual "${manual}")
string(REGEX MATCHALL "(^|[^a-z-])--[a-z][a-z-]*" manual_options "${manual}")
list(TRANSFORM manual_options REPLACE "^[^-]" "")

foreach(list help_options manual_options)
  list(REMOVE_DUPLICATES ${list})
  list(SORT ${list})
endforeach()
if(NOT help_options)
  message(FATAL_ERROR "no options found in aloft --help:\n${help}")
endif()
if(NOT help_options STREQUAL manual_options)
  message(FATAL_ERROR "aloft --help lists ${help_options}\nbut aloft.6 lists ${manual_options}")
endif()
