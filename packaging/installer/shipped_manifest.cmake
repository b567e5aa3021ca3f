cmake_minimum_required(VERSION 3.25)
# Writes what the installer ships, one "<SHA-256> <path>" line per file of the install tree
# (paths relative to it, sorted), leaving out the developer's tools\ and the installers. The
# installer target writes it beside the installer when it packs the tree, so the Wine test
# can compare an installation with what was packed, even after a demo changed build/dist.
# Usage: cmake -DDIST=build/dist -DOUTPUT=shipped-files.txt -P shipped_manifest.cmake
if(NOT DEFINED DIST OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "usage: cmake -DDIST=... -DOUTPUT=... -P shipped_manifest.cmake")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${DIST}" "${DIST}/*")
list(FILTER files EXCLUDE REGEX "^tools/|^BrenikSetup-[^/]*\\.exe$")
list(SORT files)
set(text "")
foreach(file IN LISTS files)
  file(SHA256 "${DIST}/${file}" hash)
  string(APPEND text "${hash} ./${file}\n")
endforeach()
file(WRITE "${OUTPUT}" "${text}")
