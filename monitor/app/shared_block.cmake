# The shared state block and its lock (Windows layer), with their Wine test.
if(WIN32)
  add_library(brenik_shared_block_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/owner_only_security_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shared_state_block_win32.cpp)
  target_include_directories(brenik_shared_block_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(brenik_shared_block_win32 PUBLIC brenik_config brenik_core brenik_win32 advapi32)

  brenik_wine_test(shared_state_block_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/shared_state_block_test_win32.cpp
    LIBS brenik_shared_block_win32 brenik_debug_win32)
endif()
