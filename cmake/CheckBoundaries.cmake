# The module boundaries, checked when the build is configured (paths from the project root;
# a target belongs to the folder its SOURCE_DIR names):
#  1. Only the monitor uses monitor/: a target outside monitor/ links no target of monitor/,
#     includes from no folder of it and compiles none of its files. The monitor may change
#     its insides at will; what another program needs too belongs in shared/.
#  2. A folder's tests/ are its own: only targets of <folder> (or below it) include from,
#     compile from or link what lives in <folder>/tests. Test helpers that several folders
#     use live in the top-level tests/ (tests/support, tests/wine/support), which is exempt.
#  3. shared/ depends on no program: a target of shared/ links, includes and compiles
#     nothing of a program folder, so every program can take shared/ as it is. The program
#     folders are found, not listed: every top-level folder that declares a target, except
#     shared/ and the top-level tests/ (today monitor/, updater/, osd/, settings-tool/,
#     tools/, and packaging/ in the Windows build); a new one is checked from its first
#     target on.
# Links are checked one step deep (a longer chain always has one direct offender) and
# include directories a linked target brings in are checked for rule 2. Imported targets,
# generator expressions and link items that are not targets (gdi32) are not looked at.
# docs/architecture.md ("Layout") says the same for people.
#
# brenik_check_boundaries([root]): call at the end of the top-level CMakeLists.txt; root
# defaults to CMAKE_SOURCE_DIR. Names every crossing, then stops the configuration.

# The targets declared in dir and in all directories below it.
function(_brenik_targets_below dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _brenik_targets_below("${sub}" below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} "${targets}" PARENT_SCOPE)
endfunction()

# path relative to root ("" for root itself); inside is false for anything elsewhere and
# for generated files in a build folder that lies in the project.
function(_brenik_relative path root out_rel out_inside)
  cmake_path(IS_PREFIX root "${path}" NORMALIZE inside)
  cmake_path(IS_PREFIX CMAKE_BINARY_DIR "${path}" NORMALIZE generated)
  if(generated AND NOT CMAKE_BINARY_DIR STREQUAL root)
    set(inside FALSE)
  endif()
  set(rel "")
  if(inside)
    file(RELATIVE_PATH rel "${root}" "${path}")
  endif()
  set(${out_rel} "${rel}" PARENT_SCOPE)
  set(${out_inside} ${inside} PARENT_SCOPE)
endfunction()

# True when rel is folder itself or lies below it.
function(_brenik_within rel folder out)
  string(FIND "${rel}/" "${folder}/" at)
  if(at EQUAL 0)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# The folder whose tests/ rel lies in ("" when none, or only the exempt top-level tests/).
function(_brenik_tests_owner rel out)
  string(FIND "/${rel}/" "/tests/" at)
  set(owner "")
  if(at GREATER 0)
    math(EXPR len "${at} - 1")
    string(SUBSTRING "${rel}" 0 ${len} owner)
  endif()
  set(${out} "${owner}" PARENT_SCOPE)
endfunction()

# The program folders: the first part of every folder (project-relative, "." for the root)
# that declares a target, except shared and tests.
function(_brenik_program_folders target_dirs out)
  set(programs "")
  foreach(dir IN LISTS target_dirs)
    string(REGEX REPLACE "/.*$" "" top "${dir}")
    if(NOT top MATCHES "^(\\.|shared|tests)$")
      list(APPEND programs "${top}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES programs)
  list(SORT programs)
  set(${out} "${programs}" PARENT_SCOPE)
endfunction()

# Why a target declared in target_dir may not use rel (both project-relative), naming the
# first rule it breaks; "" when the use is allowed. programs: the program folders.
function(_brenik_why_refused target_dir rel programs out)
  set(why "")
  _brenik_within("${target_dir}" monitor in_monitor)
  _brenik_within("${rel}" monitor uses_monitor)
  if(uses_monitor AND NOT in_monitor)
    set(why "only the monitor may use monitor/ (move what both need to shared/).")
  endif()
  _brenik_within("${target_dir}" shared in_shared)
  foreach(program IN LISTS programs)
    _brenik_within("${rel}" ${program} uses_program)
    if(in_shared AND uses_program)
      set(why "shared/ serves every program and may use none of them (move what it needs from ${program}/ into shared/).")
    endif()
  endforeach()
  _brenik_tests_owner("${rel}" owner)
  _brenik_within("${target_dir}" "${owner}" own_tests)
  if(NOT owner STREQUAL "" AND NOT own_tests)
    set(why "${owner}/tests is for ${owner}'s own tests only (put helpers several folders need in tests/support or tests/wine/support).")
  endif()
  set(${out} "${why}" PARENT_SCOPE)
endfunction()

function(brenik_check_boundaries)
  set(root "${CMAKE_SOURCE_DIR}")
  if(ARGC GREATER 0)
    set(root "${ARGV0}")
  endif()
  cmake_path(ABSOLUTE_PATH root NORMALIZE)
  _brenik_targets_below("${root}" all_targets)
  # The project's targets and the folders that declare them; googletest and anything else
  # added from outside the project are left out.
  set(targets "")
  set(target_dirs "")
  foreach(target IN LISTS all_targets)
    get_target_property(source_dir ${target} SOURCE_DIR)
    _brenik_relative("${source_dir}" "${root}" where inside)
    if(inside)
      if(where STREQUAL "")
        set(where ".")
      endif()
      list(APPEND targets ${target})
      list(APPEND target_dirs "${where}")
    endif()
  endforeach()
  _brenik_program_folders("${target_dirs}" programs)

  set(violations "")
  foreach(target where IN ZIP_LISTS targets target_dirs)
    get_target_property(source_dir ${target} SOURCE_DIR)
    set(uses "")  # "<what the target does>|<project-relative path it does it to>"

    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(interface_links ${target} INTERFACE_LINK_LIBRARIES)
    foreach(item IN LISTS links interface_links)
      if(NOT TARGET "${item}")  # gdi32, generator expressions
        continue()
      endif()
      get_target_property(imported "${item}" IMPORTED)  # an alias reads as its target
      if(imported)
        continue()
      endif()
      get_target_property(dep_dir "${item}" SOURCE_DIR)
      _brenik_relative("${dep_dir}" "${root}" dep_rel inside)
      if(inside)
        list(APPEND uses "links ${item}, which belongs to ${dep_rel}|${dep_rel}")
      endif()
      # Headers a linked target hands on count as the linker's own include directories
      # (unless that target lives in a tests/ itself: its link line says it all).
      _brenik_tests_owner("${dep_rel}" dep_owner)
      set(handed_on "")
      if(dep_owner STREQUAL "")
        get_target_property(handed_on "${item}" INTERFACE_INCLUDE_DIRECTORIES)
      endif()
      foreach(dir IN LISTS handed_on)
        _brenik_relative("${dir}" "${root}" dir_rel inside)
        _brenik_tests_owner("${dir_rel}" owner)
        if(inside AND NOT owner STREQUAL "")
          list(APPEND uses "links ${item}, which hands on the headers of ${dir_rel}|${dir_rel}")
        endif()
      endforeach()
    endforeach()

    get_target_property(includes ${target} INCLUDE_DIRECTORIES)
    get_target_property(interface_includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS includes interface_includes)
      string(REGEX REPLACE "^\\$<BUILD_INTERFACE:(.*)>$" "\\1" dir "${dir}")
      if(NOT dir MATCHES "\\$<|-NOTFOUND$")
        cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${source_dir}" NORMALIZE)
        _brenik_relative("${dir}" "${root}" dir_rel inside)
        if(inside)
          list(APPEND uses "includes from ${dir_rel}|${dir_rel}")
        endif()
      endif()
    endforeach()

    get_target_property(sources ${target} SOURCES)
    foreach(file IN LISTS sources)
      if(NOT file MATCHES "\\$<|-NOTFOUND$")
        cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${source_dir}" NORMALIZE)
        _brenik_relative("${file}" "${root}" file_rel inside)
        if(inside)
          list(APPEND uses "compiles ${file_rel}|${file_rel}")
        endif()
      endif()
    endforeach()

    list(REMOVE_DUPLICATES uses)
    foreach(use IN LISTS uses)
      string(REGEX MATCH "^(.*)\\|([^|]*)$" use "${use}")
      _brenik_why_refused("${where}" "${CMAKE_MATCH_2}" "${programs}" why)
      if(NOT why STREQUAL "")
        string(APPEND violations "    ${where}: target ${target} ${CMAKE_MATCH_1}: ${why}\n")
      endif()
    endforeach()
  endforeach()

  if(NOT violations STREQUAL "")
    string(REGEX MATCHALL "\n" lines "${violations}")
    list(LENGTH lines count)
    message(FATAL_ERROR "Crossings of the module boundaries (${count}):\n${violations}"
      "  The rules are written in the comment at the top of cmake/CheckBoundaries.cmake and in docs/architecture.md's layout section.\n")
  endif()
endfunction()
