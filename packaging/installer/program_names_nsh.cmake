cmake_minimum_required(VERSION 3.25)
# Writes the string values of the programs' shared header (shared/contracts/program_windows.h)
# as NSIS defines, so the installer finds windows, named objects and programs by the very
# names the programs use: `constexpr const char* kTitleMonitor = "...";` becomes
# `!define kTitleMonitor "..."`. A C escape other than \\ is refused (NSIS would read it
# differently), and so is a name defined twice.
# Usage: cmake -DHEADER=program_windows.h -DOUTPUT=program_names.nsh -P program_names_nsh.cmake
if(NOT DEFINED HEADER OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DHEADER=... -DOUTPUT=... -P program_names_nsh.cmake")
endif()

set(pattern "^[ \t]*constexpr[ \t]+const[ \t]+char[ \t]*\\*[ \t]*(k[A-Za-z0-9_]+)[ \t]*=[ \t]*\"(([^\"\\\\]|\\\\.)*)\"[ \t]*;")
file(STRINGS "${HEADER}" lines REGEX "^[ \t]*constexpr[ \t]+const[ \t]+char")

set(names "")
set(text "; Generated from ${HEADER} by program_names_nsh.cmake: do not edit.\n")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "${pattern}")
    message(FATAL_ERROR "program_names_nsh: cannot read the line: ${line}")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(value "${CMAKE_MATCH_2}")
  if(name IN_LIST names)
    message(FATAL_ERROR "program_names_nsh: ${name} is defined twice")
  endif()
  list(APPEND names "${name}")
  # C's "\\" is one backslash; NSIS reads a backslash as it is and "$" as a variable.
  string(REPLACE "\\\\" "\n" unescaped "${value}")
  if(unescaped MATCHES "\\\\")
    message(FATAL_ERROR "program_names_nsh: ${name} holds an escape NSIS cannot take: ${value}")
  endif()
  string(REPLACE "\n" "\\" unescaped "${unescaped}")
  string(REPLACE "$" "$$" unescaped "${unescaped}")
  string(APPEND text "!define ${name} \"${unescaped}\"\n")
endforeach()
if(names STREQUAL "")
  message(FATAL_ERROR "program_names_nsh: no string values in ${HEADER}")
endif()

# Replaced only when it changes.
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
