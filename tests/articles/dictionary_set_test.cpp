// SPDX-License-Identifier: GPL-2.0-or-later
// The added dictionaries as the programs list them: the order file's lines
// against the folders that are there, and the names a dictionary may take.
#include "articles/dictionary_files.h"
#include "articles/dictionary_set.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteBytes;

// "name" enabled, "-name" disabled, in the order listed.
std::vector<std::string> Shown(const DictionaryList& list) {
    std::vector<std::string> shown;
    for (const AddedDictionary& dictionary : list.dictionaries) {
        shown.push_back((dictionary.enabled ? "" : "-") + dictionary.name);
    }
    return shown;
}

// Makes dictionaries/NAME holding one direction's index (the Russian one for
// names ending in "ru", else the Esperanto one).
void AddFolder(const TempDir& dir, const std::string& name) {
    const fs::path folder = dir.Path() / kDictionariesFolderName / name;
    fs::create_directories(folder);
    WriteBytes(folder / (name.ends_with("ru") ? kRussianFiles.index : kEsperantoFiles.index), "x");
}

TEST(DictionaryList, FollowsTheOrderFileAndSkipsWhatItCannotUse) {
    const std::vector<std::string> folders{"alfa", "beta", "gamma", "delta-ru"};
    struct Case {
        const char* name;
        std::optional<std::string> order; // none: no order file
        std::vector<std::string> shown;
        std::size_t messages;
    };
    const Case cases[] = {
        {"no order file: by name", std::nullopt, {"alfa", "beta", "delta-ru", "gamma"}, 0},
        {"empty file", "", {"alfa", "beta", "delta-ru", "gamma"}, 0},
        {"listed first, the rest by name",
         "gamma\nbeta\n",
         {"gamma", "beta", "alfa", "delta-ru"},
         0},
        {"switched off", "-beta\ngamma\n", {"-beta", "gamma", "alfa", "delta-ru"}, 0},
        {"blanks, comments, spaces, CRLF",
         "# mine\n\n  gamma \r\n\t- alfa\r\n#beta\n",
         {"gamma", "-alfa", "beta", "delta-ru"},
         0},
        {"no final newline", "delta-ru\nalfa", {"delta-ru", "alfa", "beta", "gamma"}, 0},
        {"unknown name", "omega\nbeta\n", {"beta", "alfa", "delta-ru", "gamma"}, 1},
        {"named twice: the first counts",
         "-beta\nbeta\nalfa\n",
         {"-beta", "alfa", "delta-ru", "gamma"},
         1},
        {"malformed lines",
         "../alfa\nbe ta\n-\n--beta\n.gamma\norder\ngamma/x\nbeta\n",
         {"beta", "alfa", "delta-ru", "gamma"},
         7},
        {"binary bytes",
         std::string("\0\xff\n\xd0\xb0\nalfa\n", 11),
         {"alfa", "beta", "delta-ru", "gamma"},
         2},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const std::string& folder : folders) {
            AddFolder(dir, folder);
        }
        if (c.order) {
            WriteBytes(dir.Path() / kDictionariesFolderName / kOrderFileName, *c.order);
        }
        const DictionaryList list = ListDictionaries(dir.Path().string());
        EXPECT_EQ(Shown(list), c.shown) << c.name;
        EXPECT_EQ(list.messages.size(), c.messages) << c.name;
        for (const AddedDictionary& dictionary : list.dictionaries) {
            EXPECT_EQ(dictionary.folder,
                      dir.Path().string() + "/dictionaries/" + dictionary.name + "/");
            EXPECT_EQ(dictionary.russian, dictionary.name.ends_with("ru")) << dictionary.name;
            EXPECT_NE(dictionary.russian, dictionary.esperanto) << dictionary.name;
        }
    }
}

TEST(DictionaryList, PassesOverWhatIsNoDictionary) {
    TempDir dir;
    AddFolder(dir, "alfa");
    const fs::path folder = dir.Path() / kDictionariesFolderName;
    fs::create_directories(folder / ".alfa.new-abcdef"); // an import's staging folder
    WriteBytes(folder / ".alfa.new-abcdef" / kEsperantoFiles.index, "x");
    fs::create_directories(folder / "empty");    // no dictionary files: a message
    fs::create_directories(folder / "bad name"); // no dictionary's name: a message
    WriteBytes(folder / "bad name" / kEsperantoFiles.index, "x");
    WriteBytes(folder / "file", "x");           // not a folder: passed over
    fs::create_directories(folder / "journal"); // an import still to be finished
    WriteBytes(folder / "journal" / kCommitJournalName, "x");
    const DictionaryList list = ListDictionaries(dir.Path().string() + "/");
    EXPECT_EQ(Shown(list), (std::vector<std::string>{"alfa", "journal"}));
    EXPECT_EQ(list.messages.size(), 2u);

    // No dictionaries folder at all: nothing, and nothing to say.
    TempDir none;
    const DictionaryList nothing = ListDictionaries(none.Path().string());
    EXPECT_TRUE(nothing.dictionaries.empty());
    EXPECT_TRUE(nothing.messages.empty());
}

TEST(DictionaryOrder, WrittenFileReadsBackAndNewOnesComeLast) {
    TempDir dir;
    for (const char* name : {"alfa", "beta", "gamma"}) {
        AddFolder(dir, name);
    }
    const std::string data = dir.Path().string();
    WriteDictionaryOrder(data, {{"gamma", false}, {"alfa", true}});
    EXPECT_EQ(Shown(ListDictionaries(data)), (std::vector<std::string>{"-gamma", "alfa", "beta"}));

    // A person's own lines stay; a new dictionary goes after every one shown
    // before it, though its name sorts first.
    const fs::path order = dir.Path() / kDictionariesFolderName / kOrderFileName;
    WriteBytes(order, "# mine\n-gamma\nalfa"); // no final newline
    AddFolder(dir, "aaa");
    AddToDictionaryOrder(data, "aaa");
    EXPECT_EQ(testing_support::ReadBytes(order), "# mine\n-gamma\nalfa\nbeta\naaa\n");
    EXPECT_EQ(Shown(ListDictionaries(data)),
              (std::vector<std::string>{"-gamma", "alfa", "beta", "aaa"}));
    AddToDictionaryOrder(data, "aaa"); // listed already: nothing changes
    EXPECT_EQ(testing_support::ReadBytes(order), "# mine\n-gamma\nalfa\nbeta\naaa\n");
}

TEST(DictionaryName, RefusesWhatCannotBeAFolderOfItsOwn) {
    const std::string longest(kMaxDictionaryNameBytes, 'a');
    struct Case {
        std::string name;
        bool accepted;
    };
    const Case cases[] = {
        {"revo", true},   {"Free_Dict-2.0", true}, {"a", true},
        {longest, true},  {longest + "a", false},  {"", false},
        {".", false},     {"..", false},           {".hidden", false},
        {"-off", false},  {"a/b", false},          {"../x", false},
        {"a b", false},   {"ĉapelo", false},       {std::string("a\0b", 3), false},
        {"order", false}, {"a\n", false},          {"a.b", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DictionaryNameProblem(c.name).empty(), c.accepted) << "\"" << c.name << "\"";
    }
}

} // namespace
