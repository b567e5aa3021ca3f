cmake_minimum_required(VERSION 3.25)
# program_names_nsh.cmake: the real header gives a define for every string value and for
# every name the installer's scripts use; made-up headers check the conversion of escapes
# and "$", and that what NSIS could misread stops the generator.
# Usage: cmake -DGENERATOR=program_names_nsh.cmake -DHEADER=program_windows.h -DWORK=dir -P this
get_filename_component(installer_dir "${GENERATOR}" DIRECTORY)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(failures "")

function(generate header output result)
  execute_process(COMMAND ${CMAKE_COMMAND} -DHEADER=${header} -DOUTPUT=${output} -P ${GENERATOR}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  set(${result} ${rc} PARENT_SCOPE)
endfunction()

# ---- The real header: one define per string value, and each name the scripts use is there.
generate("${HEADER}" "${WORK}/real.nsh" rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed on ${HEADER}")
endif()
file(STRINGS "${HEADER}" values REGEX "^[ \t]*constexpr[ \t]+const[ \t]+char")
file(STRINGS "${WORK}/real.nsh" defines REGEX "^!define ")
list(LENGTH values value_count)
list(LENGTH defines define_count)
if(NOT value_count EQUAL define_count)
  string(APPEND failures "  ${value_count} string values in the header, ${define_count} defines\n")
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

# ---- Escapes: C's "\\" is one backslash, "$" is doubled, other lines are left alone.
file(WRITE "${WORK}/escapes.h" [=[
constexpr const char* kFolder = "Applets\\Bar.exe";
  constexpr const char*kPrice="$5";
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

# ---- Refused: an escape NSIS reads differently, a name given twice, a value it cannot read.
foreach(case
    [[constexpr const char* kQuote = "say \"hi\"";]]
    [[constexpr const char* kTab = "a\tb";]]
    "constexpr const char* kOne = \"a\";\nconstexpr const char* kOne = \"b\";"
    [[constexpr const char* kAlias = kOther;]]
    "// nothing but a comment")
  file(WRITE "${WORK}/refused.h" "${case}\n")
  file(REMOVE "${WORK}/refused.nsh")
  generate("${WORK}/refused.h" "${WORK}/refused.nsh" rc)
  if(rc EQUAL 0 OR EXISTS "${WORK}/refused.nsh")
    string(APPEND failures "  not refused: ${case}\n")
  endif()
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "program_names_nsh.cmake:\n${failures}")
endif()
message(STATUS "program_names_nsh.cmake: ${define_count} names, escapes and refusals as expected")
