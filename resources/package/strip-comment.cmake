# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack before it packs: drops the compilers' .comment notes, as Debian's own
# packaging tools do.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND objcopy --remove-section=.comment "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
