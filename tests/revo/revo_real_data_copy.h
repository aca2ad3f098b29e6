// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the tests of a real import find their copy of Reta Vortaro: the
// KELIMBO_REVO_DIR of the environment when set, else the folder the build
// was configured with.

#include "importing/import_writer.h"
#include "revo/revo_import.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

inline std::filesystem::path RevoCopy() {
    const char* given = std::getenv("KELIMBO_REVO_DIR");
    return given != nullptr && *given != '\0' ? std::filesystem::path(given)
                                              : std::filesystem::path(KELIMBO_REVO_DIR);
}

// Why the tests of a real import cannot run: empty when the copy is there.
inline std::string MissingRevoCopy(const std::filesystem::path& copy) {
    if (std::filesystem::is_directory(copy / "revo")) {
        return {};
    }
    return "no Reta Vortaro copy at " + copy.string() +
           " (set KELIMBO_REVO_DIR to a folder holding revo/ and dtd/)";
}

// Both directions of an import written into `out`, as kelimbo-index writes them.
inline std::vector<DirectionReport> WriteRevoDirections(RevoImport revo,
                                                        const std::filesystem::path& out) {
    std::vector<ImportedDirection> directions(2);
    directions[0] = {Language::Esperanto, "note", std::move(revo.esperanto)};
    directions[1] = {Language::Russian, "note", std::move(revo.russian)};
    return WriteImportedDirections(directions, out);
}
