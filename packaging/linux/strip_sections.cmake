# Run by cpack on the staged files before packing: drops the sections that Debian's own packages
# strip from their programs as well (compiler version notes), which a plain strip keeps.
find_program(strip NAMES strip REQUIRED)
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${strip} --remove-section=.comment --remove-section=.note ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
