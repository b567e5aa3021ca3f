# Project-wide compiler settings and the helpers that every directory uses.

option(BRENIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(BRENIK_FUZZ "Build the libFuzzer targets (the fuzz preset: clang, with the sanitizers)" OFF)

add_compile_options(-Wall -Wextra -pedantic -Werror)

if(WIN32)
  enable_language(RC)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # No MinGW runtime DLL may be needed next to our programs (libstdc++, libgcc, winpthread).
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(BRENIK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to cross-build")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${BRENIK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  if(BRENIK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  endif()
  find_package(GTest REQUIRED)
endif()

# The fuzz build: every library carries libFuzzer's coverage hooks, and only the fuzz
# executables link its driver (brenik_fuzzer below), so "fuzzers" builds exactly them.
if(BRENIK_FUZZ)
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT BRENIK_SANITIZE)
    message(FATAL_ERROR "BRENIK_FUZZ needs the host build with clang and BRENIK_SANITIZE (cmake --preset fuzz)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_custom_target(fuzzers)
endif()

# Every Windows test runs under Wine; a test that hangs (a dialog, a crash prompt) must fail,
# not hold the run to CI's limit.
set(BRENIK_WINE_TEST_TIMEOUT 60)

# brenik_native_test(name SOURCES ... LIBS ...): a GoogleTest executable for the host build.
function(brenik_native_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS native)
endfunction()

# brenik_wine_test(name SOURCES ... LIBS ... [DEPENDS target ...] [ARGS arg ...] [TIMEOUT seconds]):
# a GoogleTest executable for Windows, run under Wine by GoogleTest's own main. An end-to-end
# test names the programs it runs in DEPENDS (built before it) and is handed their paths in
# ARGS as --name=value, which it reads with test::ArgumentPath (tests/wine/support). TIMEOUT
# defaults to BRENIK_WINE_TEST_TIMEOUT.
function(brenik_wine_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;DEPENDS;ARGS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT ${BRENIK_WINE_TEST_TIMEOUT})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS wine)
endfunction()

# brenik_fuzzer(name SOURCES ... LIBS ... CORPUS dir): a libFuzzer executable, in the fuzz
# build only. CORPUS is its committed seed folder (<part>/fuzz/corpus/<name>); inputs that
# once crashed it live in <part>/fuzz/crashes/<name>. Each target leaves a line file beside
# its executable that tells scripts/fuzz.sh where all three are.
function(brenik_fuzzer name)
  if(NOT BRENIK_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  get_filename_component(corpus "${ARG_CORPUS}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(corpora "${corpus}" DIRECTORY)
  get_filename_component(fuzzFolder "${corpora}" DIRECTORY)
  add_executable(${name} ${ARG_SOURCES})
  # The recorder backend of DebugOutput: a target can check that a refusal was reported.
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} brenik_debug_capture)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
  add_dependencies(fuzzers ${name})
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers/${name}.fuzzer
    CONTENT "executable=$<TARGET_FILE:${name}>\ncorpus=${corpus}\ncrashes=${fuzzFolder}/crashes/${name}\n")
endfunction()
