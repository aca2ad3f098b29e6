// SPDX-License-Identifier: GPL-2.0-or-later
// The added dictionaries through kelimbo-index, as a user runs it: imports
// under a name, replaced only when asked, killed at every step of writing
// their files, and the list, order, switches and removal.
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::ProcessOutcome;
using testing_support::ReadBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteBytes;

const char* const kFiles[] = {"EoRu_kelimbo.txt", "EoRu_kelimbo.bsi", "tarnesk_rusa_esperanto.txt",
                              "tarnesk_rusa_esperanto.bsi"};

// A ReVo folder of one article; versions of other definitions differ in length.
fs::path WriteRevo(const fs::path& root, const std::string& definition) {
    fs::create_directories(root / "revo");
    fs::copy(fs::path(KELIMBO_FIXTURES) / "revo/fixtures/dtd", root / "dtd",
             fs::copy_options::recursive | fs::copy_options::skip_existing);
    WriteBytes(root / "revo/hund.xml",
               "<?xml version=\"1.0\"?>\n"
               "<!DOCTYPE vortaro SYSTEM \"../dtd/vokoxml.dtd\">\n"
               "<vortaro><art mrk=\"$Id: hund.xml,v 1.1 2024/01/01 00:00:00 test Exp $\">\n"
               "<kap><rad>hund</rad>/o</kap>\n"
               "<drv mrk=\"hund.0o\"><kap><tld/>o</kap><snc><dif>" +
                   definition +
                   "</dif></snc><trd lng=\"ru\">собака</trd></drv>\n"
                   "</art></vortaro>\n");
    return root;
}

class AddedDictionaries : public testing::Test {
protected:
    ProcessOutcome Index(std::vector<std::string> args, const std::string& environment = "") {
        std::vector<std::string> argv{"/usr/bin/env"};
        if (!environment.empty()) {
            argv.push_back(environment);
        }
        argv.push_back(KELIMBO_INDEX);
        argv.insert(argv.end(), args.begin(), args.end());
        argv.push_back("--data");
        argv.push_back(Data().string());
        return RunProcess(argv);
    }

    // kelimbo-index list's lines, name and switch only.
    std::vector<std::string> Listed() {
        const ProcessOutcome r = Index({"list"});
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> shown;
        std::size_t start = 0;
        for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::string line = r.out.substr(start, end - start);
            const std::size_t tab = line.find('\t');
            shown.push_back(line.substr(0, line.find('\t', tab + 1)));
        }
        return shown;
    }

    // A dictionary folder's four files' bytes ("" for one missing), as one text.
    std::string Files(const std::string& name) {
        std::string all;
        for (const char* file : kFiles) {
            const fs::path path = Dictionaries() / name / file;
            all += std::string(file) + ":" + (fs::exists(path) ? ReadBytes(path) : "") + "\n";
        }
        return all;
    }

    std::set<std::string> Entries() {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(Dictionaries())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path Data() const { return dir.File("data"); }
    fs::path Dictionaries() const { return Data() / "dictionaries"; }

    TempDir dir;
};

TEST_F(AddedDictionaries, ReplacedOnlyWhenAskedAndKeepingTheOtherDirection) {
    const std::string revo = WriteRevo(dir.File("a"), "besto kiu bojas").string();
    const std::string dsl = (fs::path(KELIMBO_FIXTURES) / "formats/sample.dsl").string();
    ProcessOutcome r = Index({"revo", revo, "--name", "mine"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string first = Files("mine");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"mine\ton"})) << r.err;

    // Without --replace, nothing changes, whichever command.
    for (const std::vector<std::string>& again :
         {std::vector<std::string>{"revo", WriteRevo(dir.File("b"), "alia").string(), "--name",
                                   "mine"},
          std::vector<std::string>{"import", "dsl", dsl, "--direction", "ru", "--name", "mine"}}) {
        r = Index(again);
        EXPECT_EQ(r.status, 1) << again[0];
        EXPECT_NE(r.err.find("--replace"), std::string::npos) << r.err;
        EXPECT_EQ(Files("mine"), first) << again[0];
    }

    // One direction replaced: the other's files stay byte for byte.
    r = Index({"import", "dsl", dsl, "--direction", "ru", "--name", "mine", "--replace"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string second = Files("mine");
    EXPECT_NE(second, first);
    EXPECT_EQ(second.substr(0, second.find("tarnesk")), first.substr(0, first.find("tarnesk")));
    EXPECT_EQ(Entries(), (std::set<std::string>{"mine", "order"})); // nothing left beside it
}

TEST_F(AddedDictionaries, AKilledImportLeavesTheOldDictionaryOrNone) {
    const std::string oldRevo = WriteRevo(dir.File("a"), "besto").string();
    const std::string newRevo = WriteRevo(dir.File("b"), "besto kiu bojas kaj mordas").string();
    ASSERT_EQ(Index({"revo", oldRevo, "--name", "kept"}).status, 0);
    const std::string old = Files("kept");
    // The import's commit ends its process after 0 to 5 of its renames: before
    // its journal, after it, after each of the four files.
    for (int renames = 0; renames <= 5; ++renames) {
        const std::string kill = "KELIMBO_TEST_EXIT_AFTER_RENAME=" + std::to_string(renames);
        ProcessOutcome r = Index({"revo", newRevo, "--name", "kept", "--replace"}, kill);
        EXPECT_TRUE(r.signaled) << renames;
        r = Index({"revo", newRevo, "--name", "fresh"}, kill);
        EXPECT_TRUE(r.signaled) << renames;
        EXPECT_EQ(Listed(), (std::vector<std::string>{"kept\ton"})) << renames;
        EXPECT_EQ(Files("kept"), old) << renames;
    }
    // The next change removes what the killed ones left, and works.
    EXPECT_GT(Entries().size(), 2u);
    ASSERT_EQ(Index({"revo", newRevo, "--name", "fresh"}).status, 0);
    EXPECT_EQ(Entries(), (std::set<std::string>{"fresh", "kept", "order"}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"kept\ton", "fresh\ton"}));
    EXPECT_NE(Files("fresh"), old);
}

TEST_F(AddedDictionaries, ListOrderSwitchesAndRemoval) {
    const std::string revo = WriteRevo(dir.File("a"), "besto").string();
    for (const char* name : {"zeta", "alfa", "meza"}) {
        ASSERT_EQ(Index({"revo", revo, "--name", name}).status, 0) << name;
    }
    struct Step {
        std::vector<std::string> command;
        int status;
        std::vector<std::string> listed;
    };
    const Step steps[] = {
        {{"list"}, 0, {"zeta\ton", "alfa\ton", "meza\ton"}}, // in the order added
        {{"order", "meza", "alfa"}, 0, {"meza\ton", "alfa\ton", "zeta\ton"}},
        {{"disable", "alfa"}, 0, {"meza\ton", "alfa\toff", "zeta\ton"}},
        {{"disable", "nenio"}, 1, {"meza\ton", "alfa\toff", "zeta\ton"}},
        {{"order", "zeta", "nenio"}, 1, {"meza\ton", "alfa\toff", "zeta\ton"}},
        {{"order", "zeta", "zeta"}, 1, {"meza\ton", "alfa\toff", "zeta\ton"}},
        {{"order", "alfa"}, 0, {"alfa\ton", "meza\ton", "zeta\ton"}},
        {{"disable", "zeta"}, 0, {"alfa\ton", "meza\ton", "zeta\toff"}},
        {{"enable", "zeta"}, 0, {"alfa\ton", "meza\ton", "zeta\ton"}},
        {{"remove", "meza"}, 0, {"alfa\ton", "zeta\ton"}},
        {{"remove", "meza"}, 1, {"alfa\ton", "zeta\ton"}},
        {{"remove", "../a"}, 1, {"alfa\ton", "zeta\ton"}},
        {{"remove"}, 2, {"alfa\ton", "zeta\ton"}},
        {{"order"}, 2, {"alfa\ton", "zeta\ton"}},
        {{"revo", revo, "--name", "bad/name"}, 1, {"alfa\ton", "zeta\ton"}},
        {{"revo", revo, "--name", "x", "--out", "y"}, 2, {"alfa\ton", "zeta\ton"}},
    };
    for (const Step& step : steps) {
        const ProcessOutcome r = Index(step.command);
        EXPECT_EQ(r.status, step.status) << step.command[0] << " " << r.err;
        EXPECT_EQ(Listed(), step.listed) << step.command[0];
    }
    EXPECT_TRUE(fs::exists(dir.File("a/revo/hund.xml"))); // "remove ../a" touched nothing
    EXPECT_EQ(Entries(), (std::set<std::string>{"alfa", "zeta", "order"}));

    // The list's other columns: directions with their headwords, the size
    // (the full-text indexes included).
    std::uintmax_t bytes = 0;
    for (const char* file : kFiles) {
        bytes += fs::file_size(Dictionaries() / "alfa" / file);
    }
    for (const char* file : {"EoRu_kelimbo.fts", "tarnesk_rusa_esperanto.fts"}) {
        bytes += fs::file_size(Dictionaries() / "alfa" / file);
    }
    const ProcessOutcome r = Index({"list"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "alfa\ton\teo-ru 1 headwords, ru-eo 1 headwords\t" + std::to_string(bytes) +
                  " bytes");
}

// kelimbo-lookup answers from every dictionary switched on, or from the one
// --dict names, switched on or off; a name of none is a usage error.
TEST_F(AddedDictionaries, LookupAnswersFromAllOrFromTheOneNamed) {
    // The data folder's own pair, written as a plain folder.
    ASSERT_EQ(RunProcess({KELIMBO_INDEX, "revo", WriteRevo(dir.File("m"), "ĉefa").string(), "--out",
                          Data().string()})
                  .status,
              0);
    ASSERT_EQ(
        Index({"revo", WriteRevo(dir.File("a"), "alfa-besto").string(), "--name", "alfa"}).status,
        0);
    ASSERT_EQ(
        Index({"revo", WriteRevo(dir.File("b"), "beta-besto").string(), "--name", "beta"}).status,
        0);
    ASSERT_EQ(Index({"disable", "beta"}).status, 0);
    struct Case {
        std::vector<std::string> dict;
        int status;
        std::vector<std::string> shown, hidden; // in the article text, or the error output
    };
    const Case cases[] = {
        {{}, 0, {"— Основной словарь —", "ĉefa", "— alfa —", "alfa-besto"}, {"beta"}},
        {{"--dict", "alfa"}, 0, {"alfa-besto"}, {"—", "ĉefa", "beta"}},
        {{"--dict", "beta"}, 0, {"beta-besto"}, {"—", "ĉefa", "alfa"}},
        {{"--dict", "Основной словарь"}, 0, {"ĉefa"}, {"—", "alfa", "beta"}},
        {{"--dict", "gamma"}, 2, {"'gamma'", "usage:"}, {}},
        {{"--dict", "alf"}, 2, {"'alf'", "usage:"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dict.empty() ? "all" : c.dict[1]);
        std::vector<std::string> argv{KELIMBO_LOOKUP, "--dir", Data().string()};
        argv.insert(argv.end(), c.dict.begin(), c.dict.end());
        argv.insert(argv.end(), {"--open", "0", "hundo"});
        const ProcessOutcome r = RunProcess(argv);
        EXPECT_EQ(r.status, c.status) << r.err;
        const std::string& text = c.status == 0 ? r.out : r.err;
        for (const std::string& part : c.shown) {
            EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
        }
        for (const std::string& part : c.hidden) {
            EXPECT_EQ(text.find(part), std::string::npos) << part << " in " << text;
        }
        if (c.status != 0) {
            EXPECT_EQ(r.out, "");
        }
    }
}

} // namespace
