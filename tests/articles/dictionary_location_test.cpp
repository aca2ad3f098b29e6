// SPDX-License-Identifier: GPL-2.0-or-later
// Where the dictionary is read: beside a portable program, in the user's data
// folder for an installed one when a dictionary is there.
#include "articles/dictionary_location.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(DictionaryFolderFor, InstalledCopiesReadTheUsersDictionaryOnlyWhenThereIsOne) {
    TempDir home;
    TempDir data;
    fs::create_directories(home.File(".local/share/kelimbo"));
    WriteBytes(home.File(".local/share/kelimbo/tarnesk_rusa_esperanto.bsi"), "index");
    fs::create_directories(data.File("kelimbo"));
    WriteBytes(data.File("kelimbo/EoRu_kelimbo.bsi"), "the Esperanto index alone");
    TempDir full;
    fs::create_directories(full.File("kelimbo"));
    WriteBytes(full.File("kelimbo/tarnesk_rusa_esperanto.bsi"), "index");
    TempDir committing; // its first import killed before the index was in place
    fs::create_directories(committing.File("kelimbo"));
    WriteBytes(committing.File("kelimbo/.kelimbo-commit"), "journal");

    const std::string program = "/usr/lib/kelimbo/";
    const std::string homeFolder = home.Path().string() + "/.local/share/kelimbo/";
    const std::string fullFolder = full.Path().string() + "/kelimbo/";
    const struct {
        const char* what;
        bool writable;
        std::optional<std::string> xdgDataHome;
        std::string expected;
    } cases[] = {
        {"portable: everything beside it", true, full.Path().string(), program},
        {"installed, XDG_DATA_HOME holds one", false, full.Path().string(), fullFolder},
        {"installed, XDG_DATA_HOME has no Russian index", false, data.Path().string(), program},
        {"installed, XDG_DATA_HOME has an import to finish", false, committing.Path().string(),
         committing.Path().string() + "/kelimbo/"},
        {"installed, XDG_DATA_HOME unset", false, std::nullopt, homeFolder},
        {"installed, XDG_DATA_HOME relative", false, "share", homeFolder},
    };
    for (const auto& c : cases) {
        const DictionarySurroundings surroundings{c.writable, c.xdgDataHome, home.Path().string()};
        EXPECT_EQ(DictionaryFolderFor(program, surroundings), c.expected) << c.what;
    }
    EXPECT_EQ(DictionaryFolderFor(program, {false, std::nullopt, std::nullopt}), program)
        << "no home at all";
}

} // namespace
