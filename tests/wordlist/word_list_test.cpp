// SPDX-License-Identifier: GPL-2.0-or-later
// The word-list file and the list kept in it: damaged and future files, a
// list of 100,000 words, two programs saving the same file, a failing disk,
// the orders and the filter.
#include "wordlist/word_list.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_list_location.h"

#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using wordlist::ParseWordList;
using wordlist::SortOrder;
using wordlist::Word;
using wordlist::WordList;

constexpr const char* kHead = "kelimbo-vortlisto\t1\n";

// The version line as a save writes it, before `lines` words.
std::string Head(const std::string& lines) {
    return "kelimbo-vortlisto\t1\t" + std::to_string(std::count(lines.begin(), lines.end(), '\n')) +
           "\n";
}

std::vector<std::string> Texts(const std::vector<Word>& words) {
    std::vector<std::string> texts;
    for (const Word& word : words) {
        texts.push_back(word.text + (word.esperanto ? "/eo" : "/ru"));
    }
    return texts;
}

TEST(WordListFile, ReadsWhatItCanOfEveryDamage) {
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> words;
        unsigned version;
        std::size_t damaged;
    } cases[] = {
        {"whole, CR LF and BOM",
         "\xEF\xBB\xBFkelimbo-vortlisto\t1\r\nhundo\teo\t10\t2\r\nсобака\tru\t11\t0\r\n",
         {"hundo/eo", "собака/ru"},
         1,
         0},
        {"empty file", "", {}, 0, 1},
        {"header damaged", "kelimbo-vortlisto\tx\nhundo\teo\t10\t2\n", {"hundo/eo"}, 0, 1},
        {"first line lost, its words kept",
         "hundo\teo\t10\t2\nkato\teo\t11\t0\n",
         {"hundo/eo", "kato/eo"},
         0,
         1},
        {"blank lines pass", std::string(kHead) + "\n\nhundo\teo\t10\t2\n\n", {"hundo/eo"}, 1, 0},
        {"each field refused",
         std::string(kHead) +
             "a\txx\t1\t1\n"            // no such direction
             "b\teo\t-1\t1\n"           // a date before 1970
             "c\teo\t1\t4294967296\n"   // a count past 32 bits
             "d\teo\t253402300800\t1\n" // a date past the year 9999
             "\teo\t1\t1\n"             // no word
             "e\xFF\teo\t1\t1\n"        // not UTF-8
             "f\x01g\teo\t1\t1\n"       // a control character
             "h\teo\t1\t1\textra\n"     // a field too many
             "i\teo\t+1\t1\n"           // a sign
             "j\teo\t 1\t1\n"           // a blank
             + std::string(256, 'k') +
             "\teo\t1\t1\n" // longer than the search box
             "ok\teo\t253402300799\t4294967295\n",
         {"ok/eo"},
         1,
         11},
        {"a word twice kept once, both directions kept",
         std::string(kHead) + "mi\teo\t1\t1\nmi\teo\t2\t2\nmi\tru\t3\t3\n",
         {"mi/eo", "mi/ru"},
         1,
         0},
        {"a later version: its lines as far as they look like these",
         "kelimbo-vortlisto\t7\nhundo\teo\t10\t2\tnew field\nkato\n",
         {"hundo/eo"},
         7,
         1},
    };
    for (const auto& c : cases) {
        const wordlist::ParsedWordList parsed = ParseWordList(c.bytes);
        EXPECT_EQ(Texts(parsed.words), c.words) << c.name;
        EXPECT_EQ(parsed.version, c.version) << c.name;
        EXPECT_EQ(parsed.damagedLines, c.damaged) << c.name;
    }
}

TEST(WordListFile, AHundredThousandWordsComeBackAsTheyWere) {
    std::vector<Word> words;
    for (std::uint32_t i = 0; i < 100000; ++i) {
        const std::string n = std::to_string(i);
        words.push_back(i % 2 == 0 ? Word{"ŝato" + n, true, 1700000000 + i, i}
                                   : Word{"собака " + n, false, 1700000000 + i, 4294967295u - i});
    }
    TempDir dir;
    const std::string path = dir.AnsiPath(wordlist::kWordListFileName);
    WriteBytes(path, wordlist::FormatWordList(words));
    WordList list(path);
    list.Load();
    EXPECT_TRUE(list.Messages().empty());
    ASSERT_EQ(list.Words(), words);
    // A save with changes writes every word again.
    ASSERT_TRUE(list.CountLookup("ŝato0", true));
    ASSERT_TRUE(list.Save());
    words[0].lookups = 1;
    EXPECT_EQ(ParseWordList(ReadBytes(path)).words, words);
}

// One program's step on its own list.
struct Step {
    enum { Add, Remove, Count } kind;
    const char* text;
    bool esperanto = true;
};

void Do(WordList& list, const Step& step) {
    switch (step.kind) {
    case Step::Add:
        list.Add(step.text, step.esperanto, 500);
        break;
    case Step::Remove:
        list.Remove(step.text, step.esperanto);
        break;
    case Step::Count:
        list.CountLookup(step.text, step.esperanto);
        break;
    }
}

TEST(WordList, TwoProgramsSavingOneFileKeepEachOthersChanges) {
    const std::string start =
        std::string(kHead) + "hundo\teo\t100\t1\nkato\teo\t200\t5\nсобака\tru\t300\t0\n";
    const struct {
        const char* name;
        std::vector<Step> first;  // saved first
        std::vector<Step> second; // saved after, from the list it loaded before
        std::string file;         // the file after both
    } cases[] = {
        {"each adds its own word",
         {{Step::Add, "ŝati"}},
         {{Step::Add, "kapo"}},
         "hundo\teo\t100\t1\nkato\teo\t200\t5\nсобака\tru\t300\t0\nŝati\teo\t500\t0\n"
         "kapo\teo\t500\t0\n"},
        {"both count the same word",
         {{Step::Count, "kato"}, {Step::Count, "kato"}},
         {{Step::Count, "kato"}},
         "hundo\teo\t100\t1\nkato\teo\t200\t8\nсобака\tru\t300\t0\n"},
        {"a removal stays removed though the other counts it",
         {{Step::Remove, "hundo"}},
         {{Step::Count, "hundo"}, {Step::Remove, "собака", false}},
         "kato\teo\t200\t5\n"},
        {"the same word added by both is kept once, as first saved",
         {{Step::Add, "ŝati"}, {Step::Count, "ŝati"}},
         {{Step::Add, "ŝati"}},
         "hundo\teo\t100\t1\nkato\teo\t200\t5\nсобака\tru\t300\t0\nŝati\teo\t500\t1\n"},
        {"removed and restored by one, counted by the other",
         {{Step::Remove, "kato"}, {Step::Add, "kato"}},
         {{Step::Count, "kato"}},
         "hundo\teo\t100\t1\nсобака\tru\t300\t0\nkato\teo\t500\t1\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.AnsiPath(wordlist::kWordListFileName);
        WriteBytes(path, start);
        WordList first(path);
        WordList second(path);
        first.Load();
        second.Load();
        for (const Step& step : c.first) {
            Do(first, step);
        }
        for (const Step& step : c.second) {
            Do(second, step);
        }
        ASSERT_TRUE(first.Save()) << c.name;
        ASSERT_TRUE(second.Save()) << c.name;
        EXPECT_EQ(ReadBytes(path), Head(c.file) + c.file) << c.name;
        // The second now shows what both saved; the first sees it on its next save.
        EXPECT_EQ(second.Words(), ParseWordList(ReadBytes(path)).words) << c.name;
        ASSERT_TRUE(first.Save()) << c.name;
        EXPECT_EQ(first.Words(), second.Words()) << c.name;
    }
}

TEST(WordList, AFileItCannotTrustIsNeverLost) {
    const std::string future = "kelimbo-vortlisto\t2\nhundo\teo\t100\t1\tnova\n";
    const std::string damaged = std::string(kHead) + "hundo\teo\t100\t1\nkat\x01o\teo\t1\t1\n";
    const struct {
        const char* name;
        std::string bytes;
        bool readOnly;
        bool saved;
        std::string backup; // the .bak file after the save, "" for none
    } cases[] = {
        {"a later version", future, true, false, ""},
        {"damaged", damaged, false, true, damaged},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.AnsiPath(wordlist::kWordListFileName);
        WriteBytes(path, c.bytes);
        WordList list(path);
        list.Load();
        EXPECT_EQ(Texts(list.Words()), std::vector<std::string>{"hundo/eo"}) << c.name;
        EXPECT_EQ(list.Messages().size(), 1u) << c.name;
        EXPECT_EQ(list.ReadOnly(), c.readOnly) << c.name;
        ASSERT_TRUE(list.Add("kapo", true, 200)) << c.name;
        EXPECT_EQ(list.Save(), c.saved) << c.name;
        const bool backedUp = std::filesystem::exists(path + ".bak");
        EXPECT_EQ(backedUp, !c.backup.empty()) << c.name;
        if (backedUp) {
            EXPECT_EQ(ReadBytes(path + ".bak"), c.backup) << c.name;
        }
        EXPECT_EQ(ReadBytes(path),
                  c.saved ? Head("\n\n") + "hundo\teo\t100\t1\nkapo\teo\t200\t0\n" : c.bytes)
            << c.name;
    }
    // Something that is no file at the list's place: not read, so never replaced.
    TempDir dir;
    const std::string path = dir.AnsiPath(wordlist::kWordListFileName);
    std::filesystem::create_directory(path);
    WordList list(path);
    list.Load();
    EXPECT_TRUE(list.ReadOnly());
    list.Add("kapo", true);
    EXPECT_FALSE(list.Save());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

int g_failAt = 0; // the step of the save that fails, from 1; 0: none
int g_step = 0;

bool FailingDisk() {
    return ++g_step == g_failAt;
}

TEST(WordList, AFailingDiskKeepsTheOldFileAndTheChanges) {
    TempDir dir;
    const std::string path = dir.AnsiPath(wordlist::kWordListFileName);
    const std::string old = std::string(kHead) + "hundo\teo\t100\t1\n";
    wordlist::SetWordListWriteFault(FailingDisk);
    for (const int step : {1, 2, 3}) { // the bytes, the flush, the rename
        g_failAt = step;
        WriteBytes(path, old);
        g_step = 0;
        WordList list(path);
        list.Load();
        list.Add("kapo", true, 200);
        EXPECT_FALSE(list.Save()) << step;
        EXPECT_EQ(ReadBytes(path), old) << step;
        EXPECT_TRUE(list.Unsaved()) << step;
        // Only the list's own file in the folder: no temporary file stays.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << step;
        g_failAt = 0;
        EXPECT_TRUE(list.Save());
        EXPECT_EQ(ReadBytes(path), Head("\n\n") + "hundo\teo\t100\t1\nkapo\teo\t200\t0\n");
    }
    wordlist::SetWordListWriteFault(nullptr);
}

TEST(WordList, OrdersAndFiltersAsTheSearchBox) {
    WordList list;
    list.Add("ŝati", true, 30);
    list.Add("cedi", true, 10);
    list.Add("ĉapelo", true, 20);
    list.Add("Ĉinio", true, 40);
    list.Add("ёж", false, 5);
    list.Add("еда", false, 50);
    list.Add("жук", false, 60);
    list.Add("mal-", true, 70);
    list.CountLookup("жук", false);
    list.CountLookup("жук", false);
    list.CountLookup("cedi", true);
    const auto words = [&](const std::vector<std::size_t>& positions) {
        std::string joined;
        for (const std::size_t at : positions) {
            joined += list.Words()[at].text + " ";
        }
        return joined;
    };
    EXPECT_EQ(words(list.Sorted(SortOrder::Added)), "ёж cedi ĉapelo ŝati Ĉinio еда жук mal- ");
    // c < ĉ whatever the case; then the Russian words, е < ё < ж.
    EXPECT_EQ(words(list.Sorted(SortOrder::Alphabetical)),
              "cedi ĉapelo Ĉinio mal- ŝati еда ёж жук ");
    EXPECT_EQ(words(list.Sorted(SortOrder::Lookups)), "жук cedi ёж ĉapelo ŝati Ĉinio еда mal- ");
    const struct {
        const char16_t* typed;
        std::string words;
    } filters[] = {
        {u"", "ёж cedi ĉapelo ŝati Ĉinio еда жук mal- "},
        {u"cx", "ĉapelo Ĉinio "}, // x-system, as typed in the box
        {u"ĈI", "Ĉinio "},        // accented and of either case
        {u"c", "cedi "},          // c is not ĉ
        {u"mal", "mal- "},        // the index's ignored hyphen
        {u"Е", "еда "},           // е is not ё
        {u"ё", "ёж "},
        {u"q", ""},
    };
    for (const auto& f : filters) {
        EXPECT_EQ(words(list.Filtered(list.Sorted(SortOrder::Added), f.typed)), f.words)
            << platform::ToUtf8(f.typed);
    }
}

TEST(WordList, ARemovedWordComesBackWithItsDateAndCount) {
    WordList list;
    int changes = 0; // what changed the list, and nothing that did not
    list.onChange = [&] { ++changes; };
    list.Add("a", true, 10);
    list.Add("b", true, 20);
    list.Add("c", true, 30);
    list.CountLookup("b", true);
    const std::optional<Word> removed = list.Remove("b", true);
    ASSERT_TRUE(removed);
    EXPECT_FALSE(list.Contains("b", true));
    EXPECT_FALSE(list.Remove("b", true));
    EXPECT_TRUE(list.Restore(*removed));
    EXPECT_FALSE(list.Restore(*removed));
    EXPECT_EQ(list.Words(),
              (std::vector<Word>{{"a", true, 10, 0}, {"b", true, 20, 1}, {"c", true, 30, 0}}));
    EXPECT_FALSE(list.Add("b", true));
    EXPECT_FALSE(list.Add("b\tc", true)); // a tab would split the file's line
    EXPECT_TRUE(list.Add("b", false));    // the other direction is another word
    EXPECT_FALSE(list.Save());            // no file: nothing kept, and said so
    EXPECT_EQ(list.Messages().size(), 1u);
    EXPECT_EQ(changes, 7);
}

TEST(WordListLocation, BesideAWritableProgramOtherwiseInTheDataHome) {
    const struct {
        wordlist::ListSurroundings surroundings;
        std::string folder;
    } cases[] = {
        {{true, "/data", "/home/u"}, "/opt/k/"},
        {{false, "/data", "/home/u"}, "/data/kelimbo/"},
        {{false, std::nullopt, "/home/u"}, "/home/u/.local/share/kelimbo/"},
        {{false, "relative", "/home/u"}, "/home/u/.local/share/kelimbo/"},
        {{false, std::nullopt, std::nullopt}, "/opt/k/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wordlist::WordListFolder("/opt/k/", c.surroundings), c.folder);
    }
}

} // namespace
