// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-lookup --word-list as a process, on the sample dictionaries: the
// list beside a portable copy, the import's report, the export, and several
// programs adding at once.
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Outcome = testing_support::ProcessOutcome;

namespace fs = std::filesystem;

Outcome Lookup(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> argv{program, "--dir", KELIMBO_SAMPLE_DIR};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing_support::RunProcess(argv);
}

TEST(WordListCommand, APortableCopyKeepsItsListBesideItAndPrintsFirstLines) {
    TempDir program;
    const std::string copy = program.AnsiPath("kelimbo-lookup");
    fs::copy_file(KELIMBO_LOOKUP, copy);
    for (const char* word : {"hundo", "sxati", "СОБАКА"}) {
        const Outcome added = Lookup(copy, {"--word-list", "--add", word});
        EXPECT_EQ(added.status, 0) << word << added.err;
    }
    const Outcome listed = Lookup(copy, {"--word-list"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "hundo\tсобака, пёс\n"
                          "ŝati\tлюбить, ценить; нравиться: mi ŝatas teon я люблю чай\n"
                          "собака\thundo\n");
    EXPECT_TRUE(fs::exists(program.File("vortlisto.tsv")));

    const Outcome removed = Lookup(copy, {"--word-list", "--remove", "sxati"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    const Outcome again = Lookup(copy, {"--word-list", "--remove", "sxati"});
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(Lookup(copy, {"--word-list"}).out, "hundo\tсобака, пёс\nсобака\thundo\n");
}

// A program folder the user cannot write (an installed copy) keeps the list
// in the user's data folder: run as nobody, since root writes everywhere.
TEST(WordListCommand, AnInstalledCopyKeepsItsListInTheDataFolder) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the program as another user";
    }
    TempDir program;
    TempDir data;
    fs::copy_file(KELIMBO_LOOKUP, program.File("kelimbo-lookup"));
    fs::permissions(program.Path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    fs::permissions(data.Path(), fs::perms::all);
    const Outcome added = testing_support::RunProcess(
        {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/env",
         "XDG_DATA_HOME=" + data.Path().string(), program.AnsiPath("kelimbo-lookup"), "--dir",
         KELIMBO_SAMPLE_DIR, "--word-list", "--add", "hundo"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_NE(ReadBytes(data.File("kelimbo/vortlisto.tsv")).find("\nhundo\teo\t"),
              std::string::npos);
    EXPECT_EQ(fs::status(data.File("kelimbo")).permissions(), fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(program.Path()), {}), 1);
}

TEST(WordListCommand, ImportReportsUnknownWordsAndExportWritesEveryWord) {
    TempDir dir;
    const std::string list = dir.AnsiPath("list.tsv");
    WriteBytes(dir.File("words.txt"), "\xEF\xBB\xBFkato\r\nzzzq\r\nakvo\r\nkato\r\nщщщ\r\n");
    const Outcome imported = Lookup(
        KELIMBO_LOOKUP, {"--list", list, "--word-list", "--import", dir.AnsiPath("words.txt")});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.err.find("'zzzq'"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("'щщщ'"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("2 words kept, 1 kept already, 2 not found"), std::string::npos)
        << imported.err;

    const Outcome tsv = Lookup(KELIMBO_LOOKUP, {"--list", list, "--word-list", "--export", "tsv"});
    EXPECT_EQ(tsv.status, 0) << tsv.err;
    EXPECT_EQ(tsv.out, "#separator:tab\n#html:true\n#tags column:3\n"
                       "kato\tkato кошка, кот\tkelimbo eo-ru\n"
                       "akvo\takvo вода\tkelimbo eo-ru\n");
    const Outcome written = Lookup(KELIMBO_LOOKUP, {"--list", list, "--word-list", "--export",
                                                    "csv", "--output", dir.AnsiPath("out.csv")});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(ReadBytes(dir.File("out.csv"))
                  .rfind("word,translation,direction,added,lookups\r\n"
                         "kato,\"kato кошка, кот\",eo-ru,",
                         0),
              0u);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--export", "xml"},
                                                  {"--output", "x"},
                                                  {"--add"},
                                                  {"--add", "kato", "--remove", "kato"},
                                                  {"--add", "zzzq"}}) {
        std::vector<std::string> args{"--list", list, "--word-list"};
        args.insert(args.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(Lookup(KELIMBO_LOOKUP, args).status, 2) << wrong.front();
    }
}

TEST(WordListCommand, ProgramsAddingAtOnceLoseNoWord) {
    TempDir dir;
    const std::string list = dir.AnsiPath("list.tsv");
    const std::vector<std::string> words = {"hundo", "kato", "akvo",  "aero",
                                            "kapo",  "domo", "libro", "pano"};
    std::vector<Outcome> outcomes(words.size());
    std::vector<std::thread> programs;
    for (std::size_t i = 0; i < words.size(); ++i) {
        programs.emplace_back([&, i] {
            outcomes[i] =
                Lookup(KELIMBO_LOOKUP, {"--list", list, "--word-list", "--add", words[i]});
        });
    }
    for (std::thread& program : programs) {
        program.join();
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(outcomes[i].status, 0) << words[i] << outcomes[i].err;
    }
    const std::string file = ReadBytes(list);
    for (const std::string& word : words) {
        EXPECT_NE(file.find("\n" + word + "\teo\t"), std::string::npos) << word << "\n" << file;
    }
}

} // namespace
