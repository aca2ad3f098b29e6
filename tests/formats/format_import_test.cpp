// SPDX-License-Identifier: GPL-2.0-or-later
// `kelimbo-index import` as a process, on a dictionary of each format: the
// files pass the index check and answer lookups, only keys are headwords
// (never a shown headword's unsorted parts), no headword points into the
// provenance note, long entries become several articles of one headword, and
// a direction's pair appears whole, replaces another only with --replace and
// leaves the other direction's files alone.
#include "dictbuild/dictionary_direction.h"
#include "dictbuild/index_check.h"
#include "platform/code_page.h"
#include "support/format_fixtures.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "text/index_key.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using platform::ToUtf8;
using testing_support::ReadBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteBytes;

fs::path Fixture(const char* name) {
    return fs::path(KELIMBO_FIXTURES) / "formats" / name;
}

testing_support::ProcessOutcome Import(const std::string& format, const fs::path& source,
                                       const char* direction, const fs::path& out,
                                       bool replace = false) {
    std::vector<std::string> argv = {KELIMBO_INDEX, "import",  format,  source.string(),
                                     "--direction", direction, "--out", out.string()};
    if (replace) {
        argv.push_back("--replace");
    }
    return RunProcess(argv);
}

// Each headword of an index with its references.
std::map<std::string, std::vector<ArticleRef>> Headwords(Language language, const TempDir& dir) {
    const auto index = MakeIndex(language);
    index->Load(dir.AnsiPath(FilesOf(language).index).c_str());
    std::map<std::string, std::vector<ArticleRef>> headwords;
    for (std::uint32_t i = 0; i < index->Count(); ++i) {
        headwords[ToUtf8(from_index_key(index->HeadwordText(i)))] = index->GetRefs(i);
    }
    return headwords;
}

struct Case {
    const char* format; // as given on the command line
    fs::path source;
    Language language;
    std::string noteStart; // the note's first line, the dictionary's name
    std::string key;       // a headword, whose first article ...
    std::string headline;  // ... begins so
    std::string shownOnly; // a shown headword that is no headword, or ""
    std::string longWord;  // a headword of several articles, or ""
};

TEST(FormatImport, EachFormatImportsAsADirectionThatChecksAndAnswers) {
    TempDir dir;
    fs::copy_file(Fixture("sample.index"), dir.File("s.index"));
    WriteBytes(dir.File("s.dict.dz"),
               format_fixtures::Dictzip(ReadBytes(Fixture("sample.dict")), 64));
    std::string longText;
    for (int line = 0; line < 60; ++line) {
        longText += "linio " + std::to_string(line) + " de tre longa artikolo, ĉiu kun vortoj\n";
    }
    const fs::path ifo = format_fixtures::WriteStarDict(
        dir.Path(), "sd",
        format_fixtures::MakeStarDict(
            {{"apple", "ˈæpl\0a fruit"s}, {"longa", "\0"s + longText}, {"pear", "pɛə\0fruit"s}},
            {{"malus", 0}}, 64, "sametypesequence=tm\n"),
        true);
    WriteBytes(dir.File("s.dsl.dz"),
               format_fixtures::Dictzip(
                   format_fixtures::Utf16LeWithBom(ReadBytes(Fixture("sample.dsl"))), 100));
    const auto eo = Language::Esperanto;
    const std::vector<Case> cases = {
        {"dictd", dir.File("s.index"), eo, "Provo: Esperanto-Rusa", "hundo", "hundo", "", ""},
        {"auto", ifo, eo, "Fixture", "malus", "apple", "", "longa"},
        {"auto", dir.File("s.dsl.dz"), Language::Russian, "Пробный словарь", "бежать", "побежать",
         "побежать", ""},
        {"xdxf", Fixture("sample.xdxf"), eo, "Provo XDXF", "kato", "la kato", "la kato", ""},
    };
    for (const Case& c : cases) {
        TempDir out;
        const auto run = Import(c.format, c.source, c.language == eo ? "eo" : "ru", out.Path());
        ASSERT_EQ(run.status, 0) << c.source << ": " << run.err;
        EXPECT_NE(run.out.find("headwords"), std::string::npos) << run.out;

        const DictionaryFiles files = FilesOf(c.language);
        const IndexCheck check =
            CheckIndex(c.language, out.AnsiPath(files.index), out.File(files.text));
        EXPECT_EQ(check.problemCount, 0u) << c.source << ": " << check.problems.front();
        // Only this direction's pair is written, with its full-text index.
        EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 3);
        EXPECT_TRUE(fs::exists(out.File(files.fulltext)));

        // The note opens the file, and no headword points into it.
        const std::string bytes = ReadBytes(out.File(files.text));
        const auto utf8 = [&](std::string_view part) {
            return c.language == eo ? ToUtf8(platform::FromAnsi(std::string(part)))
                                    : std::string(part);
        };
        const std::string text = utf8(bytes);
        EXPECT_TRUE(text.starts_with(c.noteStart + "\n")) << text;
        const std::size_t noteEnd = bytes.find("\n\n");
        EXPECT_NE(utf8(bytes.substr(0, noteEnd)).find("Source: " + c.source.filename().string()),
                  std::string::npos)
            << text;
        const auto headwords = Headwords(c.language, out);
        for (const auto& [word, refs] : headwords) {
            for (const ArticleRef& ref : refs) {
                EXPECT_GT(ref.start, noteEnd) << c.source << ": " << word;
            }
        }
        // Keys are headwords, shown forms only begin their articles.
        EXPECT_EQ(headwords.count(c.shownOnly), 0u) << c.source << ": " << c.shownOnly;
        ASSERT_EQ(headwords.count(c.key), 1u) << c.source << ": " << c.key;
        const ArticleRef first = headwords.at(c.key).front();
        EXPECT_TRUE(
            utf8(bytes.substr(first.start, first.end - first.start)).starts_with(c.headline + "\n"))
            << c.source;
        if (!c.longWord.empty()) {
            EXPECT_EQ(headwords.at(c.longWord).size(), 2u) << "cut into consecutive articles";
        }
    }
}

TEST(FormatImport, APairAppearsWholeAndIsReplacedOnlyWhenAsked) {
    TempDir dir;
    WriteBytes(dir.File("s.dsl"), ReadBytes(Fixture("sample.dsl")));
    std::string damaged = ReadBytes(Fixture("sample.xdxf"));
    damaged.resize(damaged.find("</def></ar>") + 6);
    WriteBytes(dir.File("cut.xdxf"), damaged);
    WriteBytes(dir.File("empty.xdxf"), "<xdxf><full_name>Malplena</full_name><lexicon/></xdxf>");

    TempDir out;
    ASSERT_EQ(Import("dsl", dir.File("s.dsl"), "ru", out.Path()).status, 0);
    const auto before = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(out.Path())) {
            files[entry.path().filename().string()] = ReadBytes(entry.path());
        }
        return files;
    };
    ASSERT_EQ(Import("dictd", Fixture("sample.index"), "eo", out.Path()).status, 0);
    const auto both = before();
    ASSERT_EQ(both.size(), 6u); // two pairs and their full-text indexes

    // Refused without --replace; refused with it when the source is damaged
    // or holds no article; the folder is as it was, without a file left behind.
    const auto existing = Import("xdxf", Fixture("sample.xdxf"), "eo", out.Path());
    EXPECT_EQ(existing.status, 1);
    EXPECT_NE(existing.err.find("--replace"), std::string::npos) << existing.err;
    const auto cut = Import("xdxf", dir.File("cut.xdxf"), "eo", out.Path(), true);
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("cut.xdxf"), std::string::npos) << cut.err;
    EXPECT_EQ(Import("xdxf", dir.File("empty.xdxf"), "eo", out.Path(), true).status, 1);
    EXPECT_EQ(before(), both);

    // Replaced when asked, the Russian pair untouched.
    ASSERT_EQ(Import("xdxf", Fixture("sample.xdxf"), "eo", out.Path(), true).status, 0);
    const auto after = before();
    ASSERT_EQ(after.size(), 6u);
    EXPECT_TRUE(after.at(kEsperantoFiles.text).starts_with("Provo XDXF\n"));
    EXPECT_NE(after.at(kEsperantoFiles.fulltext), both.at(kEsperantoFiles.fulltext));
    EXPECT_EQ(after.at(kRussianFiles.text), both.at(kRussianFiles.text));
    EXPECT_EQ(after.at(kRussianFiles.index), both.at(kRussianFiles.index));
    EXPECT_EQ(after.at(kRussianFiles.fulltext), both.at(kRussianFiles.fulltext));

    // A usage error is not a failure to import.
    EXPECT_EQ(Import("auto", dir.File("s.txt"), "eo", out.Path()).status, 2);
    EXPECT_EQ(Import("dsl", dir.File("s.dsl"), "de", out.Path()).status, 2);
}

} // namespace
