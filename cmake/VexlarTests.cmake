# vexlar_host_test(NAME SOURCES... LIBS...) and vexlar_windows_test(NAME SOURCES... LIBS...):
# one GoogleTest executable per subject. Windows tests run under Wine through CTest's
# cross-compiling emulator (scripts/test sets up the prefix and the display). Each writes its
# GoogleTest results to test-results/ in its build folder, where scripts/test finds the skips.
function(vexlar_host_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    XML_OUTPUT_DIR ${CMAKE_CURRENT_BINARY_DIR}/test-results
    PROPERTIES ENVIRONMENT "VEXLAR_SOURCE_DIR=${PROJECT_SOURCE_DIR};VEXLAR_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()

function(vexlar_windows_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # The program's manifest: the code under test runs with the code page and controls it gives.
  target_link_libraries(${name} PRIVATE ${T_LIBS} vexlar_manifest gtest gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Symbols for Wine's backtraces. GCC 12 at -O3 on i686 reports std::string concatenations
  # as overlapping copies (-Wrestrict, a known false positive); the product is not affected.
  target_compile_options(${name} PRIVATE -g $<$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},X86>:-Wno-restrict>)
  # One CTest entry per executable: a Wine start costs more than a test.
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 --gtest_output=xml:test-results/${name}.xml)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "VEXLAR_SOURCE_DIR=${PROJECT_SOURCE_DIR};VEXLAR_BINARY_DIR=${PROJECT_BINARY_DIR}")
  if(T_GUI)
    # Windows that take the focus and the pointer must not run side by side.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()
