cmake_minimum_required(VERSION 3.25)
# Writes the string values of the programs' shared headers (shared/contracts/program_windows.h,
# and config_ini_keys.h for the scripts' reads of config.ini) as NSIS defines, so the installer finds windows, named objects and programs by the very
# names the programs use: `constexpr const char* kTitleMonitor = "...";` becomes
# `!define kTitleMonitor "..."`. A C escape other than \\ is refused (NSIS would read it
# differently), and so is a name defined twice. With SHELL_OUTPUT it also writes the same
# names as shell assignments (`kTitleMonitor='...'`) for the main job's scripts to source.
# Usage: cmake "-DHEADER=program_windows.h[;more.h]" -DOUTPUT=program_names.nsh [-DSHELL_OUTPUT=program_names.sh]
#              -P program_names_nsh.cmake
if(NOT DEFINED HEADER OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DHEADER=... -DOUTPUT=... [-DSHELL_OUTPUT=...] -P program_names_nsh.cmake")
endif()

set(pattern "^[ \t]*constexpr[ \t]+const[ \t]+char[ \t]*\\*[ \t]*(k[A-Za-z0-9_]+)[ \t]*=[ \t]*\"(([^\"\\\\]|\\\\.)*)\"[ \t]*;")
set(lines "")
foreach(header IN LISTS HEADER)
  file(STRINGS "${header}" header_lines REGEX "^[ \t]*constexpr[ \t]+const[ \t]+char")
  list(APPEND lines "${header_lines}")  # quoted: the escaped ";" of each line stays
endforeach()

set(names "")
list(JOIN HEADER ", " sources)
set(text "; Generated from ${sources} by program_names_nsh.cmake: do not edit.\n")
set(shell_text "# Generated from ${sources} by program_names_nsh.cmake: do not edit.\n")
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
  # The shell reads a single-quoted value as it is; a quote in it ends and restarts the quoting.
  string(REPLACE "'" "'\\''" shell_value "${unescaped}")
  string(APPEND shell_text "${name}='${shell_value}'\n")
  string(REPLACE "$" "$$" unescaped "${unescaped}")
  string(APPEND text "!define ${name} \"${unescaped}\"\n")
endforeach()
if(names STREQUAL "")
  message(FATAL_ERROR "program_names_nsh: no string values in ${HEADER}")
endif()

# Each replaced only when it changes.
function(write_if_changed path content)
  file(WRITE "${path}.new" "${content}")
  file(COPY_FILE "${path}.new" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${path}.new")
endfunction()
write_if_changed("${OUTPUT}" "${text}")
if(DEFINED SHELL_OUTPUT)
  write_if_changed("${SHELL_OUTPUT}" "${shell_text}")
endif()
