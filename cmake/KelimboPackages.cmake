# SPDX-License-Identifier: GPL-2.0-or-later
# Packages of the installed tree (cpack in the build folder):
#   a Debian package, kelimbo_VERSION_ARCH.deb, for /usr;
#   a portable archive, kelimbo-VERSION-linux-ARCH.tar.gz, holding only the
#   program folder (programs and data side by side), to unpack and run anywhere.
set(CPACK_PACKAGE_NAME kelimbo)
set(CPACK_PACKAGE_VENDOR "The Kelimbo developers")
set(CPACK_PACKAGE_CONTACT "The Kelimbo developers <kelimbo@kelimbo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Two-way Russian-Esperanto dictionary")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kelimbo looks words up in a Russian-Esperanto and an Esperanto-Russian\n"
    "dictionary, with Esperanto letters typed in the x-system, a reader for the\n"
    "articles and a history kept between runs. Sample dictionaries are included.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The licence: GPL-2.0-or-later (LICENSE holds the GPL version 2; the package
# carries it as its copyright file, packaging/copyright).
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
# The Qt 6 and C++ runtime libraries come from the executables' own links;
# the font is what the windows are drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# The Russian spelling dictionary gives the base forms of inflected Russian
# words; without it that rule is simply off.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-ru, apertium-rus-ukr")

set(CPACK_KELIMBO_PROCESSOR ${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_KELIMBO_BINARY_DIR ${CMAKE_BINARY_DIR})
set(CPACK_KELIMBO_PROGRAM_DIR ${KELIMBO_INSTALL_PROGRAM_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/KelimboPackagePerGenerator.cmake)

include(CPack)
