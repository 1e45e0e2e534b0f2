# Run by CPack on the staged files before it packs them: the programs, already stripped,
# also lose the compiler's .comment and .note sections, as in Debian's own packages.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(program ${programs})
    execute_process(COMMAND objcopy --remove-section=.comment --remove-section=.note
                            ${program}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "objcopy failed on ${program}")
    endif()
endforeach()
