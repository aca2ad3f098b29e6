// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

using Outcome = testing_support::ProcessOutcome;

Outcome Lookup(const std::vector<std::string>& args, const std::string& input = "") {
    std::vector<std::string> argv{KELIMBO_LOOKUP};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing_support::RunProcess(argv, input);
}

TEST(LookupContract, ListsHeadwordsAsUtf8Lines) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } table[] = {
        {{"cxapel"}, "ĉapelo\n"},
        {{"CXAPEL"}, "ĉapelo\n"}, // case of Latin letters is folded
        {
            {"--range", "male"},
            "",
        },                          // checked below: the range line comes first
        {{"--", "-ad-"}, "-ad-\n"}, // a query may begin with '-'
        {{"ёж"}, "ёж\n"},
        {{"--range", "qqqqq"}, "0 0\n"}, // a miss: the empty range, no lines
        {{"!!!"}, ""},
    };
    for (const auto& c : table) {
        const Outcome r = Lookup(c.args);
        EXPECT_EQ(r.status, 0) << c.args.back();
        if (!c.out.empty() || c.args.back() == "!!!") {
            EXPECT_EQ(r.out, c.out) << c.args.back();
        }
    }
    const Outcome male = Lookup({"--range", "male"});
    EXPECT_EQ(male.out.substr(male.out.find('\n') + 1),
              "male\nmalebla\nmalegala\nmalespero\nmalestimi\n");
}

TEST(LookupContract, ListIsCappedAtFiftyLines) {
    const Outcome r = Lookup({"--range", "a"});
    ASSERT_EQ(r.status, 0);
    unsigned first = 0, last = 0;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "%u %u", &first, &last), 2);
    const auto lines = static_cast<unsigned>(std::count(r.out.begin(), r.out.end(), '\n')) - 1;
    EXPECT_EQ(lines, std::min(last - first, 50u));
}

TEST(LookupContract, EmptyQueryPrintsNothing) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{""}, {"--range", ""}}) {
        const Outcome r = Lookup(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "");
    }
}

TEST(LookupContract, OpenWritesTheReadersTextByteForByte) {
    const Outcome r = Lookup({"--open", "0", "cxapelo"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("ĉapelo ", 0), 0u) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");
    EXPECT_EQ(r.out.find('/'), std::string::npos); // root slashes are not shown
}

TEST(LookupContract, ArticlesFollowTheListForEachLineThatIsTheQueryItself) {
    // "male" heads a list of five; only its own line is the query.
    const std::string male = Lookup({"--open", "0", "male"}).out;
    const std::string maleList = Lookup({"male"}).out;
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string out;
    } table[] = {
        {{"--articles", "male"}, "", maleList + male},
        {{"--articles", "mal"}, "", Lookup({"mal"}).out}, // a prefix alone: no article
        {{"--articles", "--stdin"}, "mal\nmale\n", Lookup({"mal"}).out + "\n" + maleList + male},
    };
    ASSERT_FALSE(male.empty());
    for (const auto& c : table) {
        const Outcome r = Lookup(c.args, c.input);
        EXPECT_EQ(r.status, 0) << c.args.back();
        EXPECT_EQ(r.out, c.out) << c.args.back() << " " << c.input;
    }
}

TEST(LookupContract, UsageErrorsAndMissingLinesExitTwo) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"a", "b"},
                                                 {"--bogus", "a"},
                                                 {"--open", "x", "a"},
                                                 {"--open", "999", "cxapelo"},
                                                 {"--open", "0", "qqqqq"}}) {
        const Outcome r = Lookup(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
    }
}

TEST(LookupContract, DataFolderFailuresGiveTheProgramsMessage) {
    // Only the index of the query's language is read: each query names its own.
    TempDir dir;
    Outcome r = Lookup({"--dir", dir.Path().string(), "a"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Ошибка при открытии файла индекса:\n" + dir.Path().string() + "/EoRu_kelimbo.bsi\n");
    r = Lookup({"--dir", dir.Path().string(), "б"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Ошибка при открытии файла индекса:\n" + dir.Path().string() +
                         "/tarnesk_rusa_esperanto.bsi\n");

    // Indexes present, a text file missing: the list works, the article does not.
    // The Esperanto index alone serves an Esperanto query.
    std::filesystem::copy_file(std::filesystem::path(KELIMBO_SAMPLE_DIR) / "EoRu_kelimbo.bsi",
                               dir.File("EoRu_kelimbo.bsi"));
    r = Lookup({"--dir", dir.Path().string(), "cxapelo"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ĉapelo\n");
    r = Lookup({"--dir", dir.Path().string(), "--open", "0", "cxapelo"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Ошибка при открытии файла словаря:\n" + dir.Path().string() + "/EoRu_kelimbo.txt\n");
}

bool RussianDictionaryInstalled() {
    return std::filesystem::exists("/usr/share/hunspell/ru_RU.aff") &&
           std::filesystem::exists("/usr/share/hunspell/ru_RU.dic");
}

TEST(LookupContract, FormsFollowAnEmptyRangeAndOpenTheirHeadwords) {
    const struct {
        std::vector<std::string> args;
        std::string out;
        bool russian; // needs the Russian Hunspell dictionary
    } table[] = {
        {{"--forms", "hundojn"}, "hundo\thundo\n", false},
        {{"--forms", "--range", "manĝantaj"}, "0 0\nmanĝi\tmanĝi\n", false},
        {{"--forms", "MANGXANTAJ"}, "manĝi\tmanĝi\n", false},
        // The headwords that are a base form lead those a base form only begins.
        {{"--forms", "malsanulo"},
         "malsana\tmalsana\nsana\tsana\nmal-\tmal-\n-ul-\t-ul-\nmalsanulejo\tmalsanule\n",
         false},
        {{"--forms", "--range", "qqqqq"}, "0 0\n", false},
        {{"--forms", "--range", "male"}, Lookup({"--range", "male"}).out, false},
        {{"--forms", "--range", "собаку"}, "0 0\nсобака\tсобака\n", true},
        {{"--forms", "любили"}, "любить\tлюбить\n", true},
        {{"--forms", "елки"}, "елка\tелка\nёлка\tёлка\n", true},
        {{"--forms", "--open", "0", "hundojn"}, Lookup({"--open", "0", "hundo"}).out, false},
        {{"--forms", "--open", "1", "елки"}, Lookup({"--open", "0", "ёлка"}).out, true},
    };
    for (const auto& c : table) {
        if (c.russian && !RussianDictionaryInstalled()) {
            continue;
        }
        const Outcome r = Lookup(c.args);
        EXPECT_EQ(r.status, 0) << c.args.back();
        EXPECT_EQ(r.out, c.out) << c.args.back();
    }
    EXPECT_EQ(Lookup({"--forms", "--open", "1", "hundojn"}).status, 2); // one offered line only
}

TEST(LookupContract, FormsOnlyEverAddLinesAfterAnEmptyRange) {
    const std::string queries = "a\nmal\nhundo\nhundojn\nkajn\nmalsanulejoj\nсобаку\nстол\n"
                                "столами\nёж\nежа\nабырвалг\n\n!!!\nhundojn kaj\n";
    const Outcome plain = Lookup({"--range", "--stdin"}, queries);
    const Outcome forms = Lookup({"--range", "--forms", "--stdin"}, queries);
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(forms.status, 0);
    const auto answers = [](const std::string& out) {
        std::vector<std::string> blocks(1);
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (out[i] == '\n' && (i + 1 == out.size() || out[i + 1] == '\n')) {
                blocks.back() += '\n';
                blocks.emplace_back();
                ++i;
            } else {
                blocks.back() += out[i];
            }
        }
        return blocks;
    };
    const std::vector<std::string> a = answers(plain.out);
    const std::vector<std::string> b = answers(forms.out);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].rfind("0 0\n", 0) == 0) {
            EXPECT_EQ(b[k].rfind(a[k], 0), 0u) << k;
        } else {
            EXPECT_EQ(b[k], a[k]) << k;
        }
    }
}

TEST(LookupContract, StdinAnswersEachLineApartByBlankLines) {
    const Outcome r = Lookup({"--stdin"}, "cxapel\n\nёж\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ĉapelo\n\n\nёж\n");
}

// A copy of the program with its dictionary, unpacked in a folder of any name,
// finds its files beside itself; --dir takes such a folder as given. Only the
// message that names a missing file shows '?' for what Windows-1251 lacks.
TEST(LookupContract, WorksFromAFolderOfAnyName) {
    const struct {
        const char* folder;
        const char* shown;
    } cases[] = {
        {"josé", "jos?"},
        {"Elŝutoj", "El?utoj"},
        {"日本", "??"},
        {"bad\xff", "bad?"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::filesystem::path folder = dir.Path() / c.folder;
        std::filesystem::create_directory(folder);
        std::filesystem::copy_file(KELIMBO_LOOKUP, folder / "kelimbo-lookup");
        for (const char* name : {"tarnesk_rusa_esperanto.bsi", "EoRu_kelimbo.bsi",
                                 "tarnesk_rusa_esperanto.txt", "EoRu_kelimbo.txt"}) {
            std::filesystem::copy_file(std::filesystem::path(KELIMBO_SAMPLE_DIR) / name,
                                       folder / name);
        }
        const std::string copy = (folder / "kelimbo-lookup").string();
        Outcome r = testing_support::RunProcess({copy, "cxapel"});
        EXPECT_EQ(r.status, 0) << c.folder << r.err;
        EXPECT_EQ(r.out, "ĉapelo\n") << c.folder;
        r = testing_support::RunProcess({copy, "--open", "0", "ёж"});
        EXPECT_EQ(r.status, 0) << c.folder << r.err;
        EXPECT_EQ(r.out.rfind("ёж", 0), 0u) << c.folder;
        r = Lookup({"--dir", folder.string(), "--open", "0", "cxapelo"});
        EXPECT_EQ(r.status, 0) << c.folder << r.err;

        // A Russian query reads the Russian index only, so its loss is what it reports.
        std::filesystem::remove(folder / "tarnesk_rusa_esperanto.bsi");
        r = testing_support::RunProcess({copy, "ёж"});
        EXPECT_EQ(r.status, 1) << c.folder;
        EXPECT_EQ(r.err, "Ошибка при открытии файла индекса:\n" + dir.Path().string() + "/" +
                             c.shown + "/tarnesk_rusa_esperanto.bsi\n");
    }
}

// --help and --version answer on the standard output with status 0; only a
// usage error goes to the error output, with status 2.
TEST(CommandLines, HelpAndVersionOnTheStandardOutputUsageErrorsExitTwo) {
    const struct {
        std::vector<std::string> argv;
        int status;
        const char* out; // what the standard output begins with
        bool usageOnStderr;
    } cases[] = {
        {{KELIMBO_LOOKUP, "--help"}, 0, "usage: kelimbo-lookup", false},
        {{KELIMBO_LOOKUP, "--range", "--help"}, 0, "usage: kelimbo-lookup", false},
        {{KELIMBO_LOOKUP, "--version"}, 0, "kelimbo-lookup " KELIMBO_VERSION "\n", false},
        {{KELIMBO_LOOKUP, "--bogus"}, 2, "", true},
        {{KELIMBO_INDEX, "--help"}, 0, "usage: kelimbo-index", false},
        {{KELIMBO_INDEX, "check", "--help"}, 0, "usage: kelimbo-index", false},
        {{KELIMBO_INDEX, "--version"}, 0, "kelimbo-index " KELIMBO_VERSION "\n", false},
        {{KELIMBO_INDEX}, 2, "", true},
        {{KELIMBO_INDEX, "frob", "--lang", "eo"}, 2, "", true},
    };
    for (const auto& c : cases) {
        const Outcome r = testing_support::RunProcess(c.argv);
        const std::string what = c.argv.size() > 1 ? c.argv[1] : "(nothing)";
        EXPECT_EQ(r.status, c.status) << what;
        EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << what << ": " << r.out;
        EXPECT_EQ(r.err.find("usage:") != std::string::npos, c.usageOnStderr) << what;
    }
}

} // namespace
