# Run by CPack on the staged files before it packs them: with SOURCE_DATE_EPOCH set, every file and
# folder takes that time, so that a package made from the same commit later repeats byte for byte.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec touch -h
                          -d "@$ENV{SOURCE_DATE_EPOCH}" {} + COMMAND_ERROR_IS_FATAL ANY)
endif()
