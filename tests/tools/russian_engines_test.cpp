// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-lookup's Russian base forms come from a plugin in plugins/ beside
// the program.
// A copy of the program with the sample dictionary, unpacked with the plugin,
// without it, or beside a file of that name that is no plugin: the lemmas
// when it is there; otherwise the same run with no lemmas or stems, one
// message that names the plugin's path, and success. Esperanto base forms
// never need it.
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

enum class Plugin { Beside, Missing, NotAPlugin };

TEST(RussianEngines, BaseFormsFallBackToTheReadingsWithAMessageWithoutThePlugin) {
    if (!fs::exists("/usr/share/hunspell/ru_RU.aff") ||
        !fs::exists("/usr/share/hunspell/ru_RU.dic")) {
        GTEST_SKIP() << "the Russian Hunspell dictionary (hunspell-ru) is not installed";
    }
    const fs::path plugin =
        fs::path(KELIMBO_LOOKUP).parent_path() / "plugins" / "kelimbo-russian.so";
    ASSERT_TRUE(fs::exists(plugin)) << "the build puts the plugin beside the program";

    const struct {
        Plugin plugin;
        const char* query;
        std::string out;
        bool message;
    } table[] = {
        {Plugin::Beside, "любили", "любить\tлюбить\n", false},
        {Plugin::Beside, "елки", "елка\tелка\nёлка\tёлка\n", false},
        {Plugin::Missing, "любили", "", true},
        {Plugin::Missing, "hundojn", "hundo\thundo\n", false},
        {Plugin::Missing, "собака", "собака\n", false}, // a headword: no base forms asked
        {Plugin::NotAPlugin, "любили", "", true},
        {Plugin::NotAPlugin, "hundojn", "hundo\thundo\n", false},
    };
    TempDir dir;
    int made = 0;
    for (const auto& c : table) {
        const fs::path folder = dir.Path() / std::to_string(made++);
        fs::create_directory(folder);
        fs::copy_file(KELIMBO_LOOKUP, folder / "kelimbo-lookup");
        for (const char* name : {"tarnesk_rusa_esperanto.bsi", "EoRu_kelimbo.bsi",
                                 "tarnesk_rusa_esperanto.txt", "EoRu_kelimbo.txt"}) {
            fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / name, folder / name);
        }
        const fs::path copied = folder / "plugins" / "kelimbo-russian.so";
        if (c.plugin != Plugin::Missing) {
            fs::create_directory(folder / "plugins");
        }
        if (c.plugin == Plugin::Beside) {
            fs::copy_file(plugin, copied);
        } else if (c.plugin == Plugin::NotAPlugin) {
            std::ofstream(copied) << "not a shared object\n";
        }
        const testing_support::ProcessOutcome r =
            testing_support::RunProcess({(folder / "kelimbo-lookup").string(), "--forms", c.query});
        EXPECT_EQ(r.status, 0) << c.query << r.err;
        EXPECT_EQ(r.out, c.out) << c.query << " " << static_cast<int>(c.plugin);
        if (c.message) {
            EXPECT_EQ(r.err.rfind("kelimbo-lookup: Russian base forms need " + copied.string() +
                                      ", which could not be loaded (",
                                  0),
                      0u)
                << r.err;
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one message: " << r.err;
        } else {
            EXPECT_EQ(r.err, "") << c.query;
        }
    }
}

} // namespace
