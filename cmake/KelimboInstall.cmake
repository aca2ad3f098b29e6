# SPDX-License-Identifier: GPL-2.0-or-later
# Where an installed Kelimbo lives. The programs find their data files beside
# their executables, so the programs and the data share one folder,
# PREFIX/lib/kelimbo; PREFIX/bin holds relative symbolic links to the programs
# (the programs resolve their own path through the link).
include(GNUInstallDirs)

# Deliberately not CMAKE_INSTALL_LIBDIR: that is a multiarch folder on Debian,
# and the program's folder is the same on every architecture.
set(KELIMBO_INSTALL_PROGRAM_DIR lib/kelimbo)

# Installs an executable target into the program folder, with its link in bin.
function(kelimbo_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${KELIMBO_INSTALL_PROGRAM_DIR})
    # The link is made in the build tree and installed as a link.
    file(RELATIVE_PATH to_program
        /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KELIMBO_INSTALL_PROGRAM_DIR}/${target})
    set(link ${CMAKE_BINARY_DIR}/install-links/${target})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
    file(CREATE_LINK ${to_program} ${link} SYMBOLIC)
    install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# Installs data files into the program folder, beside the programs.
function(kelimbo_install_data)
    install(FILES ${ARGN} DESTINATION ${KELIMBO_INSTALL_PROGRAM_DIR})
endfunction()
