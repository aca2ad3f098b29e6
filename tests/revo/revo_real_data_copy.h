// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the tests of a real import find their copy of Reta Vortaro: the
// KELIMBO_REVO_DIR of the environment when set, else the folder the build
// was configured with.

#include <cstdlib>
#include <filesystem>

inline std::filesystem::path RevoCopy() {
    const char* given = std::getenv("KELIMBO_REVO_DIR");
    return given != nullptr && *given != '\0' ? std::filesystem::path(given)
                                              : std::filesystem::path(KELIMBO_REVO_DIR);
}
