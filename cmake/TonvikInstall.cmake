# Installation of the libraries: the shared libraries with the program
# (component Runtime); their development links, headers under include/tonvik
# and the CMake package Tonvik for other programs (component Development).
# The program and its data install themselves in app/ and tools/midigen/.
include(CMakePackageConfigHelpers)

set(TONVIK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tonvik)
get_property(TONVIK_LIBRARIES GLOBAL PROPERTY TONVIK_LIBRARIES)

install(TARGETS ${TONVIK_LIBRARIES} EXPORT TonvikTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development)

# Each header goes where the library's include root stages it, below
# include/tonvik ("coolctrls/TCoolBtn.h", "platform/canvas/TCanvas.h").
foreach(library IN LISTS TONVIK_LIBRARIES)
  get_target_property(staged ${library} TONVIK_HEADERS)
  get_target_property(files ${library} TONVIK_HEADER_FILES)
  # A library loaded only through its entry point has no headers of its own.
  if(NOT staged)
    continue()
  endif()
  foreach(path file IN ZIP_LISTS staged files)
    cmake_path(GET path PARENT_PATH folder)
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tonvik/${folder} COMPONENT Development)
  endforeach()
endforeach()

install(EXPORT TonvikTargets NAMESPACE Tonvik:: DESTINATION ${TONVIK_CMAKE_DIR} COMPONENT Development)

set(TONVIK_QT_MIN_VERSION 6.4)
list(JOIN TONVIK_LIBRARIES ", " TONVIK_COMPONENTS)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TonvikConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TonvikConfig.cmake
  INSTALL_DESTINATION ${TONVIK_CMAKE_DIR})
# The libraries are young and promise no binary compatibility: a program
# is built against the same major version it finds.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TonvikConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TonvikConfig.cmake ${PROJECT_BINARY_DIR}/TonvikConfigVersion.cmake
  DESTINATION ${TONVIK_CMAKE_DIR} COMPONENT Development)
