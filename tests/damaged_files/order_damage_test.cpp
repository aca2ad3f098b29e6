// SPDX-License-Identifier: GPL-2.0-or-later
// The order file of the added dictionaries, damaged in every way we can think
// of: cut, bytes changed, not a plain file, huge. Whatever it holds, every
// dictionary folder is listed exactly once, a line it cannot use gives a
// message, and nothing crashes or waits.
#include "articles/dictionary_files.h"
#include "articles/dictionary_set.h"
#include "damage.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteBytes;

const std::set<std::string> kFolders{"alfa", "beta", "gamma"};

class DamagedOrderFile : public testing::Test {
protected:
    void SetUp() override {
        for (const std::string& name : kFolders) {
            fs::create_directories(Folder() / name);
            WriteBytes(Folder() / name / kEsperantoFiles.index, "x");
        }
    }

    fs::path Folder() const { return dir.Path() / kDictionariesFolderName; }
    fs::path Order() const { return Folder() / kOrderFileName; }

    // Lists the dictionaries and checks what must hold for any order file.
    DictionaryList Check(const std::string& variant) {
        const DictionaryList list = ListDictionaries(dir.Path().string());
        std::multiset<std::string> listed;
        for (const AddedDictionary& dictionary : list.dictionaries) {
            listed.insert(dictionary.name);
        }
        EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), kFolders) << variant;
        EXPECT_EQ(listed.size(), kFolders.size()) << variant;
        return list;
    }

    TempDir dir;
};

TEST_F(DamagedOrderFile, EveryDictionaryListedOnceWhateverTheFileHolds) {
    const std::string good = "# the order\n-gamma\nalfa\n\nbeta\n";
    std::vector<damage::Variant> variants = damage::CutAtEveryByte(good);
    for (const damage::Variant& flipped : damage::FlippedBytes(good, 400, 25)) {
        variants.push_back(flipped);
    }
    variants.push_back({"NUL bytes", std::string(64, '\0')});
    variants.push_back({"one huge line", std::string(3 << 20, 'a')});
    variants.push_back({"many lines", [] {
                            std::string lines;
                            for (int i = 0; i < 100000; ++i) {
                                lines += "-alfa\n";
                            }
                            return lines;
                        }()});
    for (const damage::Variant& variant : variants) {
        WriteBytes(Order(), variant.bytes);
        const DictionaryList list = Check(variant.name);
        // A line that names a dictionary it does not list first, or names one
        // twice, says so.
        const OrderFile parsed = ParseOrderFile(variant.bytes.substr(0, 1 << 20));
        std::size_t unknown = 0;
        for (const OrderEntry& entry : parsed.entries) {
            unknown += kFolders.count(entry.name) == 0 ? 1 : 0;
        }
        EXPECT_GE(list.messages.size(), parsed.messages.size() + unknown) << variant.name;
    }
    // The good file gives its own order.
    WriteBytes(Order(), good);
    const DictionaryList list = Check("good");
    ASSERT_EQ(list.dictionaries.size(), 3u);
    EXPECT_EQ(list.dictionaries[0].name, "gamma");
    EXPECT_FALSE(list.dictionaries[0].enabled);
    EXPECT_TRUE(list.messages.empty());
}

TEST_F(DamagedOrderFile, NotAPlainFileGivesAMessageAndTheNamesOrder) {
    struct Case {
        const char* name;
        void (*make)(const fs::path& order);
    };
    const Case cases[] = {
        {"a folder", [](const fs::path& order) { fs::create_directories(order / "alfa"); }},
        {"a FIFO", [](const fs::path& order) { ASSERT_EQ(::mkfifo(order.c_str(), 0600), 0); }},
        {"a link to a device",
         [](const fs::path& order) { fs::create_symlink("/dev/zero", order); }},
        {"a link to nothing", [](const fs::path& order) { fs::create_symlink("nowhere", order); }},
    };
    for (const Case& c : cases) {
        std::error_code ignored;
        fs::remove_all(Order(), ignored);
        c.make(Order());
        const DictionaryList list = Check(c.name);
        if (std::string(c.name) != "a link to nothing") { // as no order file at all
            EXPECT_FALSE(list.messages.empty()) << c.name;
        }
        EXPECT_EQ(list.dictionaries.front().name, "alfa") << c.name;
    }
}

} // namespace
