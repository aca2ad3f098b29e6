# SPDX-License-Identifier: GPL-2.0-or-later
# Warnings, sanitizers and fuzzing instrumentation: the usage requirements of
# the INTERFACE target kelimbo_build_flags, which every target of the project
# links (the layering test checks that none is missing). Nothing is set for
# the whole directory tree, so what a target is built with shows in its links.
add_library(kelimbo_build_flags INTERFACE)
target_compile_options(kelimbo_build_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    $<$<BOOL:${KELIMBO_WERROR}>:-Werror>)
if(KELIMBO_SANITIZE)
    target_compile_options(kelimbo_build_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(kelimbo_build_flags INTERFACE -fsanitize=address,undefined)
endif()
# Fuzzing instruments every library for coverage; the fuzz targets link libFuzzer.
if(KELIMBO_BUILD_FUZZ)
    target_compile_options(kelimbo_build_flags INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    target_link_options(kelimbo_build_flags INTERFACE -fsanitize=address,undefined)
endif()

# Programs and helper libraries outside src/ (tools, tests, benchmarks, fuzz
# targets), with the project's flags.
function(kelimbo_executable name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE kelimbo_build_flags)
endfunction()
function(kelimbo_static_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PRIVATE kelimbo_build_flags)
endfunction()
