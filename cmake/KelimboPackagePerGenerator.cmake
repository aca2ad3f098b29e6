# SPDX-License-Identifier: GPL-2.0-or-later
# Read by cpack once per package kind. The portable archive holds only the
# program folder (lib/kelimbo of an installed tree) at its top: the build is
# installed into a stage of its own and that one folder is packed.
if(CPACK_GENERATOR STREQUAL "TGZ")
    set(stage "${CPACK_KELIMBO_BINARY_DIR}/_CPack_Packages/portable-stage")
    set(CPACK_PACKAGE_FILE_NAME "kelimbo-${CPACK_PACKAGE_VERSION}-linux-${CPACK_KELIMBO_PROCESSOR}")
    set(CPACK_INSTALL_CMAKE_PROJECTS "")
    set(CPACK_INSTALL_COMMANDS
        "${CMAKE_COMMAND} -E rm -rf ${stage}"
        "${CMAKE_COMMAND} --install ${CPACK_KELIMBO_BINARY_DIR} --prefix ${stage} --strip")
    set(CPACK_INSTALLED_DIRECTORIES "${stage}/${CPACK_KELIMBO_PROGRAM_DIR};.")
endif()
