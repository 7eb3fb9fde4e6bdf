# Debian packages, made by CPack (`cpack -G DEB` in the build folder, or
# scripts/package), one per install component:
#   tonvik-intervals  (Runtime)      the program and the midigen tool with the
#                                    shared libraries they use, the menu entry,
#                                    icons, AppStream data, manual pages
#   libtonvik-dev     (Development)  the libraries' development links, headers,
#                                    the CMake package Tonvik, the Designer plugin
# The shared libraries travel with the program, so one file installs it
# (`apt install ./tonvik-intervals_*.deb`); the development package depends
# on the program package of the same version for them.

set(TONVIK_RUNTIME_PACKAGE tonvik-intervals)
set(TONVIK_DEVELOPMENT_PACKAGE libtonvik-dev)

# Every package carries its copyright file and changelog.
foreach(component IN ITEMS Runtime Development)
  string(TOUPPER ${component} upper)
  set(TONVIK_PACKAGE_NAME ${TONVIK_${upper}_PACKAGE})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
                 ${PROJECT_BINARY_DIR}/debian/${TONVIK_PACKAGE_NAME}/changelog @ONLY)
  tonvik_gzip(changelog ${PROJECT_BINARY_DIR}/debian/${TONVIK_PACKAGE_NAME}/changelog
              NAME ${TONVIK_PACKAGE_NAME}-changelog)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${TONVIK_PACKAGE_NAME})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${docdir} COMPONENT ${component})
  install(FILES ${changelog} DESTINATION ${docdir} RENAME changelog.gz COMPONENT ${component})
endforeach()
# What lintian reports about the program package by design, with the reasons.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/${TONVIK_RUNTIME_PACKAGE}.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${TONVIK_RUNTIME_PACKAGE}
        COMPONENT Runtime)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TONVIK_RUNTIME_PACKAGE})
set(CPACK_PACKAGE_VENDOR "Tonvik Software")
set(CPACK_PACKAGE_CONTACT "Tonvik Software <info@tonvik.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tonvik.example/")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies on shared libraries come from the binaries (dpkg-shlibdeps);
# the ones named below are added to them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Designer plugin in the development package links the libraries of the
# program package: dpkg-shlibdeps finds them in the build folder (the
# explicit dependency on the program package covers them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS)
foreach(library IN LISTS TONVIK_LIBRARIES)
  get_target_property(folder ${library} BINARY_DIR)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${folder})
endforeach()
list(REMOVE_DUPLICATES CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS)
# The shlibs file and ldconfig trigger of the shared libraries; programs
# built against them depend on this version or later.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# ldconfig runs through dpkg's trigger, not from maintainer scripts (CPack
# would write scripts that call it; these do nothing else).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/debian/triggers
    ${CMAKE_CURRENT_LIST_DIR}/debian/postinst
    ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${TONVIK_RUNTIME_PACKAGE})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION education)
# The built-in synthesizer needs a General MIDI SoundFont at
# /usr/share/sounds/sf2/default-GM.sf2; the small TimGM6mb is preferred, any
# other package that provides one will do. The window's fonts ("MS Sans
# Serif", "Courier New") are drawn with the metric-compatible Liberation
# fonts; without them the captions come out wider and are clipped.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm, fonts-liberation2")
# Description: the synopsis, then the text; an empty line starts a new
# paragraph, a leading space keeps a line as it is (CPack formats the rest).
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
"ear training for musical intervals
Tonvik - Intervals plays two notes and asks which interval they form; you
answer by clicking the interval's caption. Level 1 plays the notes one
after another, level 2 together; a run lasts 300 seconds, counts right and
wrong answers and keeps the best percentage of each level.

The notes are played by the built-in synthesizer (FluidSynth with a General
MIDI SoundFont) or on a port of the ALSA sequencer. The package also has
midigen, a command-line tool that renders, exports or plays the MIDI
generator's play-strings, and the shared libraries both use.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${TONVIK_DEVELOPMENT_PACKAGE})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${TONVIK_RUNTIME_PACKAGE} (= ${PROJECT_VERSION}), qt6-base-dev (>= 6.4)")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
"Tonvik libraries: skinned Qt controls, MIDI generator, 32-bit bitmaps
The libraries of Tonvik - Intervals for Qt 6 programs, as the CMake package
Tonvik (find_package(Tonvik COMPONENTS coolctrls midigen), then link
Tonvik::coolctrls):
 - coolctrls: skinned panels, group boxes, labels, buttons, memos, list and
   combo boxes and a scrolling ticker over wallpaper pictures;
 - midigen: a MIDI generator that plays notes and play-strings as timed
   MIDI streams;
 - raster32: 32-bit ARGB bitmaps and an image view;
 - platform: the services they build on.

Includes a Qt Designer plugin that puts the controls in Designer's widget
box.")

include(CPack)
