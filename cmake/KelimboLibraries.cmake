# SPDX-License-Identifier: GPL-2.0-or-later
# Reads the table of libraries (src/libraries.cmake) into
#   KELIMBO_LIBRARIES         every library, in the table's order
#   KELIMBO_WINDOW_LIBRARIES  those below the window line (Qt allowed)
#   KELIMBO_USES_<name>       what the library may use
# and declares kelimbo_library(). Included by the build and by the layering
# test's script, so that both read the same table (KELIMBO_LIBRARY_TABLE
# names another table, for the test of that script).

set(KELIMBO_LIBRARIES "")
set(KELIMBO_WINDOW_LIBRARIES "")
set(_kelimbo_in_windows OFF)

# The lines of the table.
macro(kelimbo_layer name)
    list(APPEND KELIMBO_LIBRARIES ${name})
    set(KELIMBO_USES_${name} ${ARGN})
    if(_kelimbo_in_windows)
        list(APPEND KELIMBO_WINDOW_LIBRARIES ${name})
    endif()
endmacro()
macro(kelimbo_windows)
    set(_kelimbo_in_windows ON)
endmacro()

if(NOT KELIMBO_LIBRARY_TABLE)
    set(KELIMBO_LIBRARY_TABLE ${CMAKE_CURRENT_LIST_DIR}/../src/libraries.cmake)
endif()
include(${KELIMBO_LIBRARY_TABLE})

# kelimbo_library(NAME sources...) in src/NAME/CMakeLists.txt: the static
# library kelimbo_NAME, whose public include root is src/NAME/include and
# which links what the table's line for NAME names, nothing else.
function(kelimbo_library name)
    if(NOT name IN_LIST KELIMBO_LIBRARIES)
        message(FATAL_ERROR "kelimbo_library(${name}): src/libraries.cmake has no line for ${name}")
    endif()
    set(target kelimbo_${name})
    add_library(${target} STATIC ${ARGN})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_link_libraries(${target} PRIVATE kelimbo_build_flags)
    foreach(use IN LISTS KELIMBO_USES_${name})
        if(use MATCHES "::")
            # A package's target: found at the top, or in the library's own
            # CMakeLists.txt with find_package(... GLOBAL) so its users see it.
            target_link_libraries(${target} PUBLIC ${use})
        else()
            target_link_libraries(${target} PUBLIC kelimbo_${use})
        endif()
    endforeach()
endfunction()
