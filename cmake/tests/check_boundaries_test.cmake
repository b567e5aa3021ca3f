# Configures boundary-fixture/ and expects the boundary check to stop it, naming each of its
# crossings once and none of its allowed uses: once with the fixture's folder passed as the
# root, once with no root (CMAKE_SOURCE_DIR). With w/ as the root every crossing lies
# outside the project, so that configure must pass. v/ is a program folder that the check
# finds by its targets: shared/'s use of it is a crossing too.
# Run: cmake -P cmake/tests/check_boundaries_test.cmake
cmake_minimum_required(VERSION 3.25)

set(fixture "${CMAKE_CURRENT_LIST_DIR}/boundary-fixture")
set(only_monitor "only the monitor may use monitor/ (move what both need to shared/).")
set(shared_from_monitor "shared/ serves every program and may use none of them (move what it needs from monitor/ into shared/).")
set(shared_from_tools "shared/ serves every program and may use none of them (move what it needs from tools/ into shared/).")
set(shared_from_v "shared/ serves every program and may use none of them (move what it needs from v/ into shared/).")
set(helpers "(put helpers several folders need in tests/support or tests/wine/support).")
set(expected
  "shared/y: target y_lib includes from monitor/x: ${shared_from_monitor}"
  "shared/y: target y_lib compiles tools/z/z.cpp: ${shared_from_tools}"
  "shared/y: target y_iface links z_lib, which belongs to tools/z: ${shared_from_tools}"
  "shared/y: target y_v links v_lib, which belongs to v: ${shared_from_v}"
  "tools/z: target z_lib links x::lib, which belongs to monitor/x: ${only_monitor}"
  "tools/z: target z_tool compiles monitor/x/x.cpp: ${only_monitor}"
  "tools/z: target z_tool includes from monitor/x/tests: monitor/x/tests is for monitor/x's own tests only ${helpers}"
  "tools/z: target z_tool compiles w/tests/helper.cpp: w/tests is for w's own tests only ${helpers}"
  "tools/z: target z_tool links w_test_helper, which belongs to w/tests: w/tests is for w's own tests only ${helpers}"
  "tools/z: target z_tool links w_driver, which hands on the headers of w/tests: w/tests is for w's own tests only ${helpers}"
  "w: target w_iface links x_lib, which belongs to monitor/x: ${only_monitor}"
  "w: target w_iface includes from monitor/x: ${only_monitor}")
list(LENGTH expected expected_count)

# Configures the fixture with root; sets output and result.
function(configure_fixture root)
  string(RANDOM LENGTH 8 suffix)
  set(build "/tmp/brenik-boundary-fixture-${suffix}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${fixture} -B ${build} -G Ninja -DBOUNDARY_ROOT=${root}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  file(REMOVE_RECURSE ${build})
  set(output "${out}${err}" PARENT_SCOPE)
  set(result ${result} PARENT_SCOPE)
endfunction()

set(failures "")
configure_fixture(${fixture}/w)
if(NOT result EQUAL 0 OR output MATCHES ": target ")
  string(APPEND failures "root w/: crossings outside the root were reported\n")
endif()

foreach(root ${fixture} default)
  configure_fixture(${root})
  set(run "root ${root}")
  if(result EQUAL 0)
    string(APPEND failures "${run}: the fixture configured although it crosses the boundaries\n")
  endif()
  foreach(line IN LISTS expected)
    string(FIND "${output}" " ${line}\n" at)
    if(at EQUAL -1)
      string(APPEND failures "${run}: not reported: ${line}\n")
    endif()
  endforeach()
  # Every violation line: the allowed uses (ok_*, the outside folder) must not be among them.
  string(REGEX MATCHALL "\n    [^\n]*: target [^\n]*" reported "${output}")
  list(LENGTH reported reported_count)
  if(NOT reported_count EQUAL expected_count)
    string(APPEND failures "${run}: ${reported_count} crossings reported, ${expected_count} expected\n")
  endif()
  foreach(allowed "target ok_" "outside_lib")
    string(FIND "${output}" "${allowed}" at)
    if(NOT at EQUAL -1)
      string(APPEND failures "${run}: an allowed use was reported (${allowed})\n")
    endif()
  endforeach()
  foreach(closing "Crossings of the module boundaries (${expected_count}):"
                  "cmake/CheckBoundaries.cmake and in docs/architecture.md's layout section.")
    string(FIND "${output}" "${closing}" at)
    if(at EQUAL -1)
      string(APPEND failures "${run}: missing: ${closing}\n")
    endif()
  endforeach()
endforeach()

if(NOT failures STREQUAL "")
  message(NOTICE "The last configure's output:\n${output}")
  string(REPLACE "\n" "\n " failures " ${failures}")  # indented lines are printed unwrapped
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "the boundary check names the fixture's ${expected_count} crossings and nothing else, and keeps to the root it is given")
