# Run by CPack after it made a package, so that one made from the same commit later repeats byte for
# byte; with SOURCE_DATE_EPOCH set (the staged files already carry that time), it mends what CPack
# leaves to the machine.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
if(CPACK_GENERATOR STREQUAL "ZIP")
  # CPack adds the files in the order the file system lists them: made again, sorted by name, with
  # the times in UTC, since a zip's times are local times.
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${CPACK_TEMPORARY_DIRECTORY}"
       "${CPACK_TEMPORARY_DIRECTORY}/*")
  list(SORT files)
  foreach(package ${CPACK_PACKAGE_FILES})
    file(REMOVE "${package}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${CMAKE_COMMAND} -E tar cf "${package}"
                            --format=zip -- ${files}
                    WORKING_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
elseif(CPACK_GENERATOR STREQUAL "NSIS")
  # CPack writes the installer's page settings only just before it runs makensis, after the staged
  # files took the commit's time, and NSIS keeps that file's time too: made again with it.
  execute_process(COMMAND touch -d "@$ENV{SOURCE_DATE_EPOCH}"
                          "${CPACK_TOPLEVEL_DIRECTORY}/NSIS.InstallOptions.ini"
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND makensis -V2 project.nsi WORKING_DIRECTORY "${CPACK_TOPLEVEL_DIRECTORY}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
