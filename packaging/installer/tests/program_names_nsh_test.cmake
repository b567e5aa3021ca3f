cmake_minimum_required(VERSION 3.25)
# program_names_nsh.cmake: the real header gives a define and a shell assignment for every
# string value, and a define for every name the installer's scripts use; made-up headers check
# the conversion of escapes, "$" and quotes (the shell file read back by a shell), and that
# what NSIS could misread stops the generator and writes neither file.
# Usage: cmake -DGENERATOR=program_names_nsh.cmake -DHEADER=program_windows.h -DWORK=dir -P this
get_filename_component(installer_dir "${GENERATOR}" DIRECTORY)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(failures "")

# Writes <output> and <output>.sh.
function(generate header output result)
  execute_process(COMMAND ${CMAKE_COMMAND} -DHEADER=${header} -DOUTPUT=${output} -DSHELL_OUTPUT=${output}.sh
    -P ${GENERATOR} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  set(${result} ${rc} PARENT_SCOPE)
endfunction()

# The value a shell finds in `name` after sourcing the file.
function(shell_value file name result)
  execute_process(COMMAND sh -c ". \"$1\" && printf '%s' \"$${name}\"" sh "${file}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE value)
  if(NOT rc EQUAL 0)
    set(value "<the shell could not source ${file}>")
  endif()
  set(${result} "${value}" PARENT_SCOPE)
endfunction()

# ---- The real header: one define per string value, and each name the scripts use is there.
generate("${HEADER}" "${WORK}/real.nsh" rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed on ${HEADER}")
endif()
file(STRINGS "${HEADER}" values REGEX "^[ \t]*constexpr[ \t]+const[ \t]+char")
file(STRINGS "${WORK}/real.nsh" defines REGEX "^!define ")
file(STRINGS "${WORK}/real.nsh.sh" assignments REGEX "^k[A-Za-z0-9_]+='")
list(LENGTH values value_count)
list(LENGTH defines define_count)
list(LENGTH assignments assignment_count)
if(NOT value_count EQUAL define_count)
  string(APPEND failures "  ${value_count} string values in the header, ${define_count} defines\n")
endif()
if(NOT value_count EQUAL assignment_count)
  string(APPEND failures "  ${value_count} string values in the header, ${assignment_count} shell assignments\n")
endif()
shell_value("${WORK}/real.nsh.sh" kTitleMonitor monitor_title)
if(NOT monitor_title STREQUAL "BrenikGamingKeyboardMonitor")
  string(APPEND failures "  the shell file gives kTitleMonitor as \"${monitor_title}\"\n")
endif()
file(READ "${WORK}/real.nsh" real)
file(GLOB scripts "${installer_dir}/*.nsi" "${installer_dir}/*.nsh")
foreach(script IN LISTS scripts)
  file(READ "${script}" text)
  string(REGEX MATCHALL "\\\${k[A-Z][A-Za-z0-9_]*}" used "${text}")
  list(REMOVE_DUPLICATES used)
  foreach(use IN LISTS used)
    string(REGEX REPLACE "^\\\${(.*)}$" "\\1" name "${use}")
    if(NOT real MATCHES "\n!define ${name} \"[^\"\n]+\"\n")
      get_filename_component(script_name "${script}" NAME)
      string(APPEND failures "  ${script_name} uses ${name}, which the header does not give\n")
    endif()
  endforeach()
endforeach()

# ---- Escapes: C's "\\" is one backslash, "$" is doubled for NSIS, a quote is closed and
# reopened for the shell, other lines are left alone.
file(WRITE "${WORK}/escapes.h" [=[
constexpr const char* kFolder = "Applets\\Bar.exe";
  constexpr const char*kPrice="$5";
constexpr const char* kQuoted = "it's";
constexpr unsigned kNumber = 1224;
]=])
generate("${WORK}/escapes.h" "${WORK}/escapes.nsh" rc)
file(READ "${WORK}/escapes.nsh" escapes)
foreach(line [[!define kFolder "Applets\Bar.exe"]] [[!define kPrice "$$5"]])
  string(FIND "${escapes}" "${line}\n" at)
  if(NOT rc EQUAL 0 OR at LESS 0)
    string(APPEND failures "  escapes: no line ${line}\n")
  endif()
endforeach()
if(escapes MATCHES "kNumber")
  string(APPEND failures "  escapes: a number became a define\n")
endif()
foreach(case "kFolder|Applets\\Bar.exe" "kPrice|$5" "kQuoted|it's")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 expected)
  shell_value("${WORK}/escapes.nsh.sh" ${name} got)
  if(NOT got STREQUAL expected)
    string(APPEND failures "  escapes: the shell reads ${name} as \"${got}\", not \"${expected}\"\n")
  endif()
endforeach()
file(READ "${WORK}/escapes.nsh.sh" shell_escapes)
if(shell_escapes MATCHES "kNumber")
  string(APPEND failures "  escapes: a number became a shell assignment\n")
endif()

# ---- Refused: an escape NSIS reads differently, a name given twice, a value it cannot read.
foreach(case
    [[constexpr const char* kQuote = "say \"hi\"";]]
    [[constexpr const char* kTab = "a\tb";]]
    "constexpr const char* kOne = \"a\";\nconstexpr const char* kOne = \"b\";"
    [[constexpr const char* kAlias = kOther;]]
    "// nothing but a comment")
  file(WRITE "${WORK}/refused.h" "${case}\n")
  file(REMOVE "${WORK}/refused.nsh" "${WORK}/refused.nsh.sh")
  generate("${WORK}/refused.h" "${WORK}/refused.nsh" rc)
  if(rc EQUAL 0 OR EXISTS "${WORK}/refused.nsh" OR EXISTS "${WORK}/refused.nsh.sh")
    string(APPEND failures "  not refused: ${case}\n")
  endif()
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "program_names_nsh.cmake:\n${failures}")
endif()
message(STATUS "program_names_nsh.cmake: ${define_count} names for NSIS and the shell, escapes and refusals as expected")
