// SPDX-License-Identifier: GPL-2.0-or-later
// `kelimbo-index import` as a process, on a dictionary of each format: the
// files pass the index check and answer lookups, only keys are headwords
// (never a shown headword's unsorted parts), no headword points into the
// provenance note, long entries become several articles of one headword, and
// a direction's pair appears whole, replaces another only with --replace and
// leaves the other direction's files alone.
#include "dictbuild/dictionary_direction.h"
#include "dictbuild/index_check.h"
#include "dictionary_lookup.h"
#include "platform/code_page.h"
#include "support/format_fixtures.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "text/index_key.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using platform::FromUtf8;
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

// Writes the source of one case into the folder; returns what to import.
using MakeSource = std::function<fs::path(const fs::path& folder)>;

struct Case {
    const char* format; // as given on the command line
    MakeSource source;
    Language language;
    std::string noteStart;               // the note's first line, the dictionary's name
    std::string typed;                   // a query ...
    std::string headline;                // ... whose first article begins so
    std::vector<std::string> notIndexed; // shown forms that are no headwords
    std::string longWord;                // a headword of several articles, or ""
};

TEST(FormatImport, EachFormatImportsAsADirectionThatChecksAndAnswers) {
    const std::string longText = [] {
        std::string text;
        for (int line = 0; line < 60; ++line) {
            text += "linio " + std::to_string(line) + " de tre longa artikolo, ĉiu kun vortoj\n";
        }
        return text;
    }();
    const std::vector<Case> cases = {
        {"dictd",
         [](const fs::path& folder) {
             fs::copy_file(Fixture("sample.index"), folder / "s.index");
             WriteBytes(folder / "s.dict.dz",
                        format_fixtures::Dictzip(ReadBytes(Fixture("sample.dict")), 64));
             return folder / "s.index";
         },
         Language::Esperanto,
         "Provo: Esperanto-Rusa",
         "hundo",
         "hundo",
         {},
         ""},
        {"auto",
         [&](const fs::path& folder) {
             return format_fixtures::WriteStarDict(
                 folder, "s",
                 format_fixtures::MakeStarDict({{"apple", "ˈæpl\0a fruit"s},
                                                {"longa", "\0"s + longText},
                                                {"pear", "pɛə\0another fruit"s}},
                                               {{"malus", 0}}, 64, "sametypesequence=tm\n"),
                 true);
         },
         Language::Esperanto,
         "Fixture",
         "malus",
         "apple",
         {},
         "longa"},
        {"auto",
         [](const fs::path& folder) {
             WriteBytes(
                 folder / "s.dsl.dz",
                 format_fixtures::Dictzip(
                     format_fixtures::Utf16LeWithBom(ReadBytes(Fixture("sample.dsl"))), 100));
             return folder / "s.dsl.dz";
         },
         Language::Russian,
         "Пробный словарь",
         "бежать",
         "побежать",
         {"побежать"},
         ""},
        {"xdxf",
         [](const fs::path&) { return Fixture("sample.xdxf"); },
         Language::Esperanto,
         "Provo XDXF",
         "kato",
         "la kato",
         {"la kato"},
         ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        TempDir out;
        const fs::path source = c.source(dir.Path());
        const bool eo = c.language == Language::Esperanto;
        const auto run = Import(c.format, source, eo ? "eo" : "ru", out.Path());
        ASSERT_EQ(run.status, 0) << source << ": " << run.err;
        EXPECT_NE(run.out.find("headwords"), std::string::npos) << run.out;

        const DictionaryFiles files = FilesOf(c.language);
        const IndexCheck check =
            CheckIndex(c.language, out.AnsiPath(files.index), out.File(files.text));
        EXPECT_EQ(check.problemCount, 0u) << source << ": " << check.problems.front();
        // Only this direction's pair is written.
        EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 2)
            << source;

        // The note opens the file, and no headword points into it.
        std::string text = ReadBytes(out.File(files.text));
        if (eo) {
            text = ToUtf8(platform::FromAnsi(text));
        }
        EXPECT_TRUE(text.starts_with(c.noteStart + "\n")) << text;
        const std::size_t noteEnd = text.find("\n\n");
        ASSERT_NE(noteEnd, std::string::npos);
        EXPECT_NE(text.substr(0, noteEnd).find("Source: " + source.filename().string()),
                  std::string::npos)
            << text;
        const auto headwords = Headwords(c.language, out);
        for (const auto& [word, refs] : headwords) {
            for (const ArticleRef& ref : refs) {
                EXPECT_GT(ref.start, noteEnd) << source << ": " << word;
            }
        }
        for (const std::string& shown : c.notIndexed) {
            EXPECT_EQ(headwords.count(shown), 0u) << source << ": " << shown;
        }
        if (!c.longWord.empty()) {
            ASSERT_EQ(headwords.count(c.longWord), 1u);
            EXPECT_EQ(headwords.at(c.longWord).size(), 2u) << "cut into consecutive articles";
        }

        // Looked up as the search window does, beside the other direction's
        // sample files.
        for (const DictionaryFiles other : {kEsperantoFiles, kRussianFiles}) {
            if (!fs::exists(out.File(other.text))) {
                fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / other.text, out.File(other.text));
                fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / other.index, out.File(other.index));
            }
        }
        DictionaryFolder folder(out.AnsiPath(""));
        const ListResult list = folder.List(FromUtf8(c.typed));
        ASSERT_FALSE(list.lines.empty()) << c.typed;
        const std::string article = ToUtf8(folder.Article(list, 0));
        EXPECT_TRUE(article.starts_with(c.headline)) << c.typed << ":\n" << article;
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
    ASSERT_EQ(both.size(), 4u);

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
    ASSERT_EQ(after.size(), 4u);
    EXPECT_TRUE(after.at(kEsperantoFiles.text).starts_with("Provo XDXF\n"));
    EXPECT_EQ(after.at(kRussianFiles.text), both.at(kRussianFiles.text));
    EXPECT_EQ(after.at(kRussianFiles.index), both.at(kRussianFiles.index));

    // A usage error is not a failure to import.
    EXPECT_EQ(Import("auto", dir.File("s.txt"), "eo", out.Path()).status, 2);
    EXPECT_EQ(Import("dsl", dir.File("s.dsl"), "de", out.Path()).status, 2);
}

} // namespace
