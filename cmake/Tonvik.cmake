# tonvik_add_test(NAME SOURCES ... LIBS ...)
# A GoogleTest executable that runs with the shared test main (a QApplication
# on the offscreen platform, error boxes captured instead of shown).
function(tonvik_add_test name)
  if(NOT TONVIK_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE tonvik_testmain ${ARG_LIBS} Qt6::Test GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "TONVIK_MIDI_OUT=set:capture"
               TIMEOUT 300)
endfunction()

# tonvik_add_benchmark(NAME SOURCES ... LIBS ...)
function(tonvik_add_benchmark name)
  if(NOT TONVIK_BUILD_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
include(${CMAKE_CURRENT_LIST_DIR}/Subdirs.cmake)
