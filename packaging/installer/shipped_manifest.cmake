cmake_minimum_required(VERSION 3.25)
# Writes what the installer ships, one "<SHA-256> <path>" line per file of the install tree
# (paths relative to it, sorted), leaving out the developer's tools\ and the installers. Each
# kbhid.ini is the installer's own (KEYBOARD_INI, for the real keyboard), not the tree's. The
# installer target writes it beside the installer when it packs the tree, so the Wine test
# can compare an installation with what was packed, even after a demo changed build/dist.
# Also writes WAVE_FILES, the sound cues by name as NSIS steps: the installer writes and its
# uninstaller removes exactly these (files a user added to Wave\ stay).
# Usage: cmake -DDIST=build/dist -DKEYBOARD_INI=files/kbhid.ini -DOUTPUT=shipped-files.txt
#              -DWAVE_FILES=shipped_wave.nsh -P shipped_manifest.cmake
foreach(argument DIST KEYBOARD_INI OUTPUT WAVE_FILES)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "usage: cmake -DDIST=... -DKEYBOARD_INI=... -DOUTPUT=... -DWAVE_FILES=... -P shipped_manifest.cmake")
  endif()
endforeach()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${DIST}" "${DIST}/*")
list(FILTER files EXCLUDE REGEX "^tools/|^BrenikSetup-[^/]*\\.exe$")
list(SORT files)
set(text "")
foreach(file IN LISTS files)
  if(file MATCHES "(^|/)kbhid\\.ini$")
    file(SHA256 "${KEYBOARD_INI}" hash)
  else()
    file(SHA256 "${DIST}/${file}" hash)
  endif()
  string(APPEND text "${hash} ./${file}\n")
endforeach()
file(WRITE "${OUTPUT}" "${text}")

# NSIS reads "$" as a variable and a quote as the end of the name: such names are refused.
set(wave_files "${files}")
list(FILTER wave_files INCLUDE REGEX "^Wave/")
if(wave_files STREQUAL "")
  message(FATAL_ERROR "shipped_manifest: no sound cues in ${DIST}/Wave")
endif()
set(install "!macro BRENIK_INSTALL_WAVE_FILES\n")
set(remove "!macro BRENIK_REMOVE_WAVE_FILES\n")
set(folders "")
set(folder "")
foreach(file IN LISTS wave_files)
  if(NOT file MATCHES "^[A-Za-z0-9_. /-]+$")
    message(FATAL_ERROR "shipped_manifest: the sound cue \"${file}\" has a name the installer cannot take")
  endif()
  get_filename_component(file_folder "${file}" DIRECTORY)
  get_filename_component(name "${file}" NAME)
  string(REPLACE "/" "\\" windows_folder "${file_folder}")
  if(NOT file_folder STREQUAL folder)
    set(folder "${file_folder}")
    list(APPEND folders "${windows_folder}")
    string(APPEND install "  SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
  endif()
  string(APPEND install "  !insertmacro BRENIK_FILE \"\${DIST}/${file_folder}\" \"${name}\"\n")
  string(APPEND remove "  !insertmacro BRENIK_DELETE \"$INSTDIR\\${windows_folder}\\${name}\"\n")
endforeach()
# Deepest first, and only when emptied.
list(REVERSE folders)
foreach(windows_folder IN LISTS folders)
  string(APPEND remove "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
string(APPEND remove "  RMDir \"$INSTDIR\\Wave\"\n")
file(WRITE "${WAVE_FILES}" "; Generated from ${DIST}/Wave by shipped_manifest.cmake: do not edit.\n"
  "${install}!macroend\n${remove}!macroend\n")
