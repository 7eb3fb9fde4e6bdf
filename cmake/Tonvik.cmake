include(GNUInstallDirs)
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

# tonvik_include_root(TARGET PREFIX prefix [BASE_DIR dir] [HEADERS file...]
#                     [WITH target...] [PRIVATE])
# Gives TARGET an include root of its own: the headers of its source list (or
# the HEADERS given) staged in the build folder as PREFIX/<path below
# BASE_DIR>, symbolic links to the sources. So `#include "PREFIX/..."` finds
# exactly the headers of the libraries a target links and no others.
# BASE_DIR defaults to the current source folder. WITH names libraries of the
# same folder that TARGET builds on: their headers are staged beside TARGET's
# own, as they are installed, so a header may include a neighbour by its
# plain name. PUBLIC unless PRIVATE; installed headers go below
# include/tonvik. The target properties TONVIK_HEADERS (staged paths below
# the root) and TONVIK_HEADER_FILES (the sources) list TARGET's own headers
# for installing them.
function(tonvik_include_root target)
  cmake_parse_arguments(ARG "PRIVATE" "PREFIX;BASE_DIR" "HEADERS;WITH" ${ARGN})
  if(NOT ARG_PREFIX)
    message(FATAL_ERROR "tonvik_include_root(${target}): PREFIX is required")
  endif()
  if(NOT ARG_BASE_DIR)
    set(ARG_BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  # Rebuilt at every configure, so a header dropped from the list is gone.
  file(REMOVE_RECURSE ${root})
  if(ARG_HEADERS)
    set(sources ${ARG_HEADERS})
  else()
    get_target_property(sources ${target} SOURCES)
  endif()
  set(files)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.h$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE file)
    cmake_path(IS_PREFIX ARG_BASE_DIR "${file}" NORMALIZE inside)
    if(NOT inside OR NOT EXISTS ${file})
      message(FATAL_ERROR "tonvik_include_root(${target}): ${source} is not a header below ${ARG_BASE_DIR}")
    endif()
    list(APPEND files ${file})
  endforeach()
  set(staged)
  set(neighbours)
  foreach(other IN LISTS ARG_WITH)
    get_target_property(more ${other} TONVIK_HEADER_FILES)
    list(APPEND neighbours ${more})
  endforeach()
  foreach(file IN LISTS files neighbours)
    cmake_path(RELATIVE_PATH file BASE_DIRECTORY ${ARG_BASE_DIR} OUTPUT_VARIABLE relative)
    set(link ${root}/${ARG_PREFIX}/${relative})
    cmake_path(GET link PARENT_PATH folder)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${file} ${link} SYMBOLIC)
    if(file IN_LIST files)
      list(APPEND staged ${ARG_PREFIX}/${relative})
    endif()
  endforeach()
  set_property(TARGET ${target} PROPERTY TONVIK_HEADERS ${staged})
  set_property(TARGET ${target} PROPERTY TONVIK_HEADER_FILES ${files})
  if(ARG_PRIVATE)
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC
      $<BUILD_INTERFACE:${root}> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/tonvik>)
  endif()
endfunction()

# tonvik_gzip(OUTPUT_VARIABLE SOURCE [NAME name])
# Compresses SOURCE (relative to the current source folder, or a file of the
# build folder) into the build folder as NAME.gz (default: SOURCE's file
# name), as Debian wants shipped manual pages and changelogs: maximum
# compression, no name or time stamp inside, so builds are reproducible.
# Sets OUTPUT_VARIABLE to the compressed file; built with the default target.
function(tonvik_gzip out source)
  cmake_parse_arguments(ARG "" "NAME" "" ${ARGN})
  cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT ARG_NAME)
    cmake_path(GET source FILENAME ARG_NAME)
  endif()
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/gz/${ARG_NAME}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gz
    COMMAND sh -c "gzip -n -9 -c \"$1\" > \"$2\"" gzip ${source} ${gz}
    DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER "gz_${ARG_NAME}" name)
  add_custom_target(${name} ALL DEPENDS ${gz})
  set_property(GLOBAL APPEND PROPERTY TONVIK_INSTALLED_TARGETS ${name})
  set(${out} ${gz} PARENT_SCOPE)
endfunction()

# tonvik_install_manpage(FILE COMPONENT component)
# Installs the manual page FILE (its section is the file's extension),
# compressed, below share/man.
function(tonvik_install_manpage file)
  cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
  cmake_path(GET file EXTENSION LAST_ONLY section)
  string(SUBSTRING ${section} 1 -1 section)
  tonvik_gzip(gz ${file})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${ARG_COMPONENT})
endfunction()

# tonvik_library(TARGET)
# Makes the shared library TARGET one of the libraries offered to other
# programs: libtonvik-TARGET.so with the project's version, its major number
# in the SONAME, installed with its headers and exported as Tonvik::TARGET
# (cmake/TonvikInstall.cmake). Shared, so a program, the Qt Designer plugin
# and forms loaded through the plugin all use one copy of each class (a
# second copy would make qobject_cast fail across them).
function(tonvik_library target)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME tonvik-${target}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    UNITY_BUILD ${TONVIK_UNITY_BUILD})
  # Every library names what it uses; the sanitizers' runtimes are resolved
  # from the program, so the check is left out there.
  if(NOT TONVIK_SANITIZE AND NOT TONVIK_BUILD_FUZZERS)
    target_link_options(${target} PRIVATE LINKER:--no-undefined)
  endif()
  # Calls inside the library bind to its own functions when it is loaded,
  # not through the symbol lookup over every library of the process: fewer
  # relocations for the dynamic linker at a program's start.
  target_link_options(${target} PRIVATE LINKER:-Bsymbolic-functions LINKER:--as-needed)
  set_property(GLOBAL APPEND PROPERTY TONVIK_LIBRARIES ${target})
endfunction()

# tonvik_add_no_widgets_check(NAME SOURCES ... LIBS ...)
# A small program that links only LIBS, and a test that runs it and checks
# that neither it nor any library it loads is Qt Widgets: the non-visual
# libraries must stay usable by programs without widgets. Linked without
# --as-needed, so everything the libraries' link interface names is seen.
function(tonvik_add_no_widgets_check name)
  if(NOT TONVIK_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE LINKER:--no-as-needed)
  add_test(NAME Layering.${name}
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${name}> -DFORBIDDEN=libQt6Widgets
                   -P ${PROJECT_SOURCE_DIR}/cmake/CheckRuntimeDependencies.cmake)
  set_tests_properties(Layering.${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    ENVIRONMENT_MODIFICATION "TONVIK_MIDI_OUT=set:capture"
    TIMEOUT 60)
endfunction()
