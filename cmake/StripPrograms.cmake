# Run by CPack on the staged files before it packs them: strips the programs
# as Debian strips its own (no symbols, no compiler notes in .comment).
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
if(NOT programs)
  message(FATAL_ERROR "No programs staged in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin")
endif()
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note
    ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
