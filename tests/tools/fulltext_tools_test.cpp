// SPDX-License-Identifier: GPL-2.0-or-later
// Full-text search through the tools, as a user runs them: the index written
// by the build and by "kelimbo-index fulltext", and "kelimbo-lookup
// --fulltext" in lines and in JSON, with its messages and exit statuses.
#include "fulltext_lookup.h"
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::ProcessOutcome;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteBytes;

class FullTextTools : public testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir.File("eo.tsv"), "hundo\tсобака. La hundoj bojas\n"
                                       "kato\tкошка \"ne\" \\\\ hundo\n"
                                       "tago\tдень. Bonan tagon!\n");
        const ProcessOutcome built = RunProcess(
            {KELIMBO_INDEX, "build", "--lang", "eo", "--out", Out(), dir.File("eo.tsv").string()});
        ASSERT_EQ(built.status, 0) << built.err;
    }
    std::string Out() const { return dir.File("out").string(); }
    ProcessOutcome Lookup(std::vector<std::string> args) {
        args.insert(args.begin(), {KELIMBO_LOOKUP, "--dir", Out()});
        return RunProcess(args);
    }

    TempDir dir;
};

TEST_F(FullTextTools, TheBuildWritesTheIndexAndLookupPrintsHeadwordAndSnippet) {
    EXPECT_TRUE(fs::exists(dir.File("out/EoRu_kelimbo.fts")));
    const ProcessOutcome r = Lookup({"--fulltext", "HUNDOJN"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "hundo\tсобака. La hundoj bojas\n"
                     "kato\tкошка \"ne\" \\ hundo\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Lookup({"--fulltext", "\"bona tago\""}).out, "tago\tдень. Bonan tagon!\n");
    EXPECT_EQ(Lookup({"--fulltext", "nenio"}).out, "");
}

TEST_F(FullTextTools, JsonLinesCarryWhatScriptsNeed) {
    const ProcessOutcome r = Lookup({"--fulltext", "--json", "ne"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"headword\":\"kato\",\"dictionary\":\"Основной словарь\","
                     "\"direction\":\"eo-ru\",\"snippet\":\"кошка \\\"ne\\\" \\\\ hundo\","
                     "\"marks\":[[7,9]],\"articles\":[[25,43]]}\n");
}

TEST(FullTextJson, EveryControlCharacterIsEscaped) {
    struct Case {
        std::string text;
        std::string json;
    };
    const Case cases[] = {
        {"plain ĉ ж", "\"plain ĉ ж\""},
        {"\"\\", "\"\\\"\\\\\""},
        {std::string("a\0b", 3), "\"a\\u0000b\""},
        {"\t\n\r\x1b\x1f\x7f", "\"\\u0009\\u000a\\u000d\\u001b\\u001f\\u007f\""},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendJsonString(out, c.text);
        EXPECT_EQ(out, c.json);
    }
}

TEST_F(FullTextTools, AMissingIndexIsToldAndFulltextRebuildsIt) {
    fs::remove(dir.File("out/EoRu_kelimbo.fts"));
    ProcessOutcome r = Lookup({"--fulltext", "hundo"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Полнотекстовый индекс словаря «Основной словарь»"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("kelimbo-index fulltext"), std::string::npos) << r.err;
    // Ordinary lookup does not need it.
    EXPECT_EQ(Lookup({"hun"}).out, "hundo\n");

    r = RunProcess({KELIMBO_INDEX, "fulltext", Out()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("eo-ru: full-text index of 3 entries"), std::string::npos) << r.out;
    EXPECT_EQ(Lookup({"--fulltext", "hundo"}).status, 0);
}

TEST_F(FullTextTools, UsageErrorsAndQueriesWithoutWords) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"--fulltext", "\"*\" ()"}, 2},
        {{"--fulltext", "--open", "0", "hundo"}, 2},
        {{"--json", "hundo"}, 2},
        {{"--page", "1", "hundo"}, 2},
        {{"--fulltext", "--page", "x", "hundo"}, 2},
        {{"--fulltext", "--page", "1", "hundo"}, 0},
        {{"--fulltext", "--stdin"}, 2},
    };
    for (const Case& c : cases) {
        const ProcessOutcome r = Lookup(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args.back() << ": " << r.err;
        EXPECT_FALSE(r.signaled);
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"fulltext"},
                                               {"fulltext", Out(), Out()},
                                               {"fulltext", Out(), "--name", "x"},
                                               {"fulltext", "--data", Out(), Out()}}) {
        std::vector<std::string> argv{KELIMBO_INDEX};
        argv.insert(argv.end(), args.begin(), args.end());
        EXPECT_EQ(RunProcess(argv).status, 2) << args.size();
    }
    EXPECT_EQ(RunProcess({KELIMBO_INDEX, "fulltext", dir.File("nothing").string()}).status, 1);
}

} // namespace
