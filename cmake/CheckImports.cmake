cmake_minimum_required(VERSION 3.25)
# Fails when a shipped binary imports a DLL that is not part of Windows itself: a MinGW
# runtime DLL (libstdc++, libgcc, winpthread) would be missing on a user's machine.
# Usage: cmake -DOBJDUMP=... -DBINARIES="a.exe;b.dll" -P CheckImports.cmake
set(allowed
  kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll shlwapi.dll ole32.dll oleaut32.dll
  comctl32.dll comdlg32.dll winmm.dll msvcrt.dll uuid.dll version.dll psapi.dll setupapi.dll hid.dll)

foreach(binary IN LISTS BINARIES)
  execute_process(COMMAND ${OBJDUMP} -p ${binary} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump could not read ${binary}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
  foreach(entry IN LISTS names)
    string(REPLACE "DLL Name: " "" dll "${entry}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST allowed)
      message(FATAL_ERROR "${binary} imports ${dll}, which is not a system DLL")
    endif()
    message(STATUS "${binary}: ${dll}")
  endforeach()
endforeach()
