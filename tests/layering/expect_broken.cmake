# SPDX-License-Identifier: GPL-2.0-or-later
# Runs the layering check on broken/, a tree with one fault of each kind, and
# fails unless the check fails and names every one of them.
#   cmake -DCHECK=check_layers.cmake -DTABLE=cmake/KelimboLibraries.cmake -P expect_broken.cmake

set(tree ${CMAKE_CURRENT_LIST_DIR}/broken)
execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DTABLE=${TABLE}
        -DKELIMBO_LIBRARY_TABLE=${tree}/src/libraries.cmake -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(APPEND out "${err}")
if(result EQUAL 0)
    message(FATAL_ERROR "the check passed a broken tree:\n${out}")
endif()
set(expected
    "src/low/low.cpp:3: #include \"mid/mid.h\": low includes mid, a library above it"
    "src/low/low.cpp:5: #include <QWidget>: low reaches Qt, which only the window libraries may use"
    "src/mid/include/mid/mid.h:3: #include \"nowhere/thing.h\": nowhere/ is no library of the table"
    "src/libraries.cmake: mid uses win, which is not listed above it"
    "src/libraries.cmake: mid links low but includes none of its headers"
    "src/libraries.cmake: mid links win but includes none of its headers"
    "src/libraries.cmake: top links Qt6::Widgets, but only the window libraries may use Qt"
    "src/win/win.cpp:4: #include \"low/low.h\": win includes low but does not link it"
    "src/libraries.cmake: win includes Qt headers but its line names no Qt6:: target"
    "src/libraries.cmake: top links Qt but includes none of its headers"
    "src/stray: a folder of src/ without a line in src/libraries.cmake"
    "layering: 11 problem(s)")
foreach(line IN LISTS expected)
    string(FIND "${out}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the check did not report\n  ${line}\nIt said:\n${out}")
    endif()
endforeach()
message(STATUS "the check names all 11 faults of the broken tree")
