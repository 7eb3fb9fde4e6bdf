# cmake -DPROGRAM=path -DFORBIDDEN=name[;name...] [-DARGS=arg[;arg...]] -P CheckRuntimeDependencies.cmake
# Runs PROGRAM with ARGS (it must exit with 0) and fails when PROGRAM or any shared
# library it loads, directly or through other libraries, has a file name
# starting with one of the FORBIDDEN names.
if(NOT PROGRAM OR NOT FORBIDDEN)
  message(FATAL_ERROR "usage: cmake -DPROGRAM=path -DFORBIDDEN=names -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (${status}):\n${out}${err}")
endif()

file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${PROGRAM}
  RESOLVED_DEPENDENCIES_VAR resolved
  UNRESOLVED_DEPENDENCIES_VAR unresolved)
if(unresolved)
  message(FATAL_ERROR "${PROGRAM}: libraries not found: ${unresolved}")
endif()
list(LENGTH resolved count)
if(count EQUAL 0)
  message(FATAL_ERROR "${PROGRAM}: no shared libraries found; the check would prove nothing")
endif()
set(found)
foreach(library IN LISTS resolved)
  cmake_path(GET library FILENAME file)
  foreach(name IN LISTS FORBIDDEN)
    string(FIND "${file}" "${name}" at)
    if(at EQUAL 0)
      list(APPEND found ${library})
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "${PROGRAM} loads ${found}")
endif()
message(STATUS "${PROGRAM}: ${count} libraries, none of ${FORBIDDEN}")
