# tonvik_add_test(NAME SOURCES ... LIBS ... [LABELS ...])
# A GoogleTest executable that runs with the shared test main (a QApplication
# on the offscreen platform, error boxes captured instead of shown). LABELS
# mark its tests for ctest -L.
function(tonvik_add_test name)
  if(NOT TONVIK_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE tonvik_testmain ${ARG_LIBS} Qt6::Test GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "TONVIK_MIDI_OUT=set:capture"
               TIMEOUT 300
               LABELS "${ARG_LABELS}")
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

# tonvik_add_fuzzer(NAME SOURCES ... LIBS ...)
# A libFuzzer executable. Its seed corpus is the folder corpus/NAME beside
# the sources and its dictionary, if any, NAME.dict there; scripts/run-fuzz
# finds them through the list of targets written to fuzzers.txt in the build
# folder (NAME|executable|source folder per line); the target `fuzzers` builds them all.
function(tonvik_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/platform/fuzz/SanitizerOptions.cpp)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(NOT TARGET fuzzers)
    add_custom_target(fuzzers)
  endif()
  add_dependencies(fuzzers ${name})
  set_property(GLOBAL APPEND PROPERTY TONVIK_FUZZERS
    "${name}|$<TARGET_FILE:${name}>|${CMAKE_CURRENT_SOURCE_DIR}")
endfunction()
