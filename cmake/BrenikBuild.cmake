# Project-wide compiler settings and the helpers that every directory uses.

option(BRENIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

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

# brenik_wine_test(name SOURCES ... LIBS ...): a GoogleTest executable for Windows, run under Wine.
function(brenik_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${BRENIK_WINE_TEST_TIMEOUT} LABELS wine)
endfunction()
