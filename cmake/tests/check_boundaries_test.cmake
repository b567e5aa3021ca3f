# Configures the boundary fixture and expects it to fail, naming each crossing it holds and
# none of its allowed uses. Run with: cmake -P check_boundaries_test.cmake
set(fixture ${CMAKE_CURRENT_LIST_DIR}/boundary-fixture)
if(DEFINED ENV{TMPDIR})
  set(build $ENV{TMPDIR}/brenik-boundary-fixture)
else()
  set(build /tmp/brenik-boundary-fixture-${CMAKE_VERSION})
endif()
file(REMOVE_RECURSE ${build})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${fixture} -B ${build} -G Ninja
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${build})
set(text "${out}${err}")
string(REGEX REPLACE "\n +" " " text "${text}")
if(result EQUAL 0)
  message(FATAL_ERROR "the fixture configured although it crosses the boundaries:\n${text}")
endif()
set(expected
  "shared/lib: target sharedlib includes from tools/tool: shared/ may not depend on a program's folder (tools/)"
  "tools/tool: target tool links monitorcore, which belongs to monitor/core: only the monitor may use monitor/"
  "tools/tool: target tool compiles monitor/core/tests/core_test.cpp: monitor/core/tests belongs to monitor/core/ alone"
  "3 crossing(s) of the module boundaries"
  "The rules are at the top of cmake/CheckBoundaries.cmake")
foreach(line IN LISTS expected)
  string(FIND "${text}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the message: \"${line}\"\nthe message:\n${text}")
  endif()
endforeach()
foreach(allowed "target monitorcore" "target monitortest" "target support")
  string(FIND "${text}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "an allowed use was reported (${allowed}):\n${text}")
  endif()
endforeach()
message(STATUS "the boundary check names the fixture's three crossings and nothing else")
