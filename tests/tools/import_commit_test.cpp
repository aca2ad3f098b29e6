// SPDX-License-Identifier: GPL-2.0-or-later
// Writing a dictionary folder, as the processes do it: an import killed at each
// step of putting its files in place, imports that meet in one folder, links
// planted by another user. Whatever happens, the next start or import finds
// one whole dictionary, never the text of one import beside the index of
// another, and no file outside the folder is written.
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <future>
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

const std::vector<std::string> kEsperantoQueries{"hundo", "hundido"};
const std::vector<std::string> kRussianQueries{"собака", "щенок"};

// A ReVo folder of one article in one version. The versions' texts differ in
// length, so an index of one points into the wrong places of another's text.
fs::path WriteRevo(const fs::path& root, const std::string& definition) {
    fs::create_directories(root / "revo");
    fs::copy(fs::path(KELIMBO_FIXTURES) / "revo/fixtures/dtd", root / "dtd");
    WriteBytes(root / "revo/hund.xml",
               "<?xml version=\"1.0\"?>\n"
               "<!DOCTYPE vortaro SYSTEM \"../dtd/vokoxml.dtd\">\n"
               "<vortaro><art mrk=\"$Id: hund.xml,v 1.1 2024/01/01 00:00:00 test Exp $\">\n"
               "<kap><rad>hund</rad>/o</kap>\n"
               "<drv mrk=\"hund.0o\"><kap><tld/>o</kap><snc><dif>" +
                   definition +
                   "</dif></snc><trd lng=\"ru\">собака</trd></drv>\n"
                   "<drv mrk=\"hund.0ido\"><kap><tld/>ido</kap><snc><dif>Ido de " +
                   definition +
                   "</dif></snc><trd lng=\"ru\">щенок</trd></drv>\n"
                   "</art></vortaro>\n");
    return root;
}

ProcessOutcome Index(const std::vector<std::string>& args, const std::string& environment = "") {
    std::vector<std::string> argv{"/usr/bin/env"};
    if (!environment.empty()) {
        argv.push_back(environment);
    }
    argv.push_back(KELIMBO_INDEX);
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv);
}

// What kelimbo-lookup answers for each query with the articles, as one text.
std::string Answers(const fs::path& folder, const std::vector<std::string>& queries) {
    std::string all;
    for (const std::string& query : queries) {
        const ProcessOutcome r =
            RunProcess({KELIMBO_LOOKUP, "--dir", folder.string(), "--articles", query});
        all += std::to_string(r.status) + ":" + r.out + r.err + "\n";
    }
    return all;
}

// The names in the folder besides the dictionary's four files and their
// full-text indexes.
std::set<std::string> Others(const fs::path& folder) {
    std::set<std::string> others;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        others.insert(entry.path().filename().string());
    }
    for (const char* name :
         {"EoRu_kelimbo.txt", "EoRu_kelimbo.bsi", "tarnesk_rusa_esperanto.txt",
          "tarnesk_rusa_esperanto.bsi", "EoRu_kelimbo.fts", "tarnesk_rusa_esperanto.fts"}) {
        others.erase(name);
    }
    return others;
}

class ImportCommit : public testing::Test {
protected:
    void SetUp() override {
        revoA = WriteRevo(dir.File("A"), "Besto.");
        revoB = WriteRevo(dir.File("B"), "Besto, kiu bojas kaj gardas.");
        for (const auto& [revo, answers] : {std::pair{&revoA, &answersA}, {&revoB, &answersB}}) {
            const fs::path reference = revo->string() + "-dictionary";
            ASSERT_EQ(Index({"revo", revo->string(), "--out", reference.string()}).status, 0);
            *answers = AnswersOf(reference);
        }
        ASSERT_NE(answersA, answersB);
    }

    static std::vector<std::string> AnswersOf(const fs::path& folder) {
        return {Answers(folder, kEsperantoQueries), Answers(folder, kRussianQueries)};
    }

    TempDir dir;
    fs::path revoA;
    fs::path revoB;
    std::vector<std::string> answersA; // Esperanto, Russian
    std::vector<std::string> answersB;
};

// The import of B over A is killed after k renames: 0 is before its journal is
// in place, 1 right after it, 2 to 5 after each of the four files. The folder
// is then read by a start of kelimbo-lookup, or written by an import of the
// Esperanto direction alone.
TEST_F(ImportCommit, AKillAtEachRenameLeavesOneWholeDictionaryForTheNextStartOrImport) {
    WriteBytes(dir.File("c.tsv"), "hundo\tC\n");
    for (const bool startFirst : {true, false}) {
        for (int k = 0; k <= 5; ++k) {
            SCOPED_TRACE(
                (startFirst ? "start, then import; killed after " : "import; killed after ") +
                std::to_string(k));
            const fs::path out = dir.File("out" + std::to_string(startFirst) + std::to_string(k));
            ASSERT_EQ(Index({"revo", revoA.string(), "--out", out.string()}).status, 0);
            const ProcessOutcome killed =
                Index({"revo", revoB.string(), "--out", out.string()},
                      "KELIMBO_TEST_EXIT_AFTER_RENAME=" + std::to_string(k));
            ASSERT_TRUE(killed.signaled) << killed.err;
            const std::vector<std::string>& whole = k == 0 ? answersA : answersB;
            if (startFirst) {
                EXPECT_EQ(AnswersOf(out), whole);
            }
            const ProcessOutcome next =
                Index({"build", "--lang", "eo", "--out", out.string(), dir.File("c.tsv").string()});
            EXPECT_EQ(next.status, 0) << next.err;
            EXPECT_EQ(Answers(out, {"hundo"}), "0:hundo\nC\r\n\n");
            EXPECT_EQ(Answers(out, kRussianQueries), whole[1]);
            EXPECT_EQ(Others(out), std::set<std::string>{}) << "the killed import's files are gone";
        }
    }
}

TEST_F(ImportCommit, ASecondImportIntoTheFolderIsRefusedWhileAnotherWrites) {
    const fs::path out = dir.File("out");
    ASSERT_EQ(Index({"revo", revoA.string(), "--out", out.string()}).status, 0);
    WriteBytes(dir.File("c.tsv"), "hundo\tC\n");
    {
        // The lock as a running import holds it.
        const int fd =
            ::open((out / ".kelimbo-import.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"revo", revoB.string(), "--out", out.string()},
              {"build", "--lang", "eo", "--out", out.string(), dir.File("c.tsv").string()}}) {
            const ProcessOutcome second = Index(args);
            EXPECT_EQ(second.status, 1) << args[0];
            EXPECT_NE(second.err.find("another import is writing into " + out.string()),
                      std::string::npos)
                << second.err;
        }
        ::close(fd);
    }
    EXPECT_EQ(AnswersOf(out), answersA);

    // Two at once: each ends done or refused with that message, and the folder
    // holds one of them whole.
    for (int round = 0; round < 4; ++round) {
        auto first = std::async(std::launch::async, [&] {
            return Index({"revo", revoA.string(), "--out", out.string()});
        });
        const ProcessOutcome second = Index({"revo", revoB.string(), "--out", out.string()});
        for (const ProcessOutcome& r : {first.get(), second}) {
            EXPECT_TRUE(r.status == 0 ||
                        (r.status == 1 && r.err.find("another import") != std::string::npos))
                << r.status << r.err;
        }
        const std::vector<std::string> answers = AnswersOf(out);
        EXPECT_TRUE(answers == answersA || answers == answersB) << answers[0] << answers[1];
        EXPECT_EQ(Others(out), std::set<std::string>{});
    }
}

// Another user who may write the folder plants links at the names an import
// would use, for the import's own process id, to a file of the importing
// user's. Needs root to plant them as nobody.
TEST_F(ImportCommit, LinksPlantedByAnotherUserAreNeverFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to plant the links as another user";
    }
    const struct {
        const char* what;
        std::vector<std::string> names; // "$$" is the import's process id
        int status;
        const char* message;
    } cases[] = {
        {"temporary names and backups",
         {".EoRu_kelimbo.txt.tmp$$", ".EoRu_kelimbo.bsi.tmp$$", ".tarnesk_rusa_esperanto.txt.tmp$$",
          ".tarnesk_rusa_esperanto.bsi.tmp$$", "EoRu_kelimbo.txt.old$$",
          "tarnesk_rusa_esperanto.bsi.old$$"},
         0,
         ""},
        {"the commit journal", {".kelimbo-commit"}, 1, "commit journal"},
        {"the lock file", {".kelimbo-import.lock"}, 1, "lock file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir shared;
        fs::permissions(shared.Path(), fs::perms::all);
        const fs::path out = shared.File("dictionary");
        ASSERT_EQ(Index({"revo", revoA.string(), "--out", out.string()}).status, 0);
        fs::permissions(out, fs::perms::all);
        const fs::path victim = dir.File("victim");
        WriteBytes(victim, "the user's own file");
        fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);

        std::string script;
        for (const std::string& name : c.names) {
            script += "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups /bin/ln -s '" +
                      victim.string() + "' '" + out.string() + "'/" + name + " && ";
        }
        script +=
            "exec '" KELIMBO_INDEX "' revo '" + revoB.string() + "' --out '" + out.string() + "'";
        const ProcessOutcome r = RunProcess({"/bin/sh", "-c", script});

        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(ReadBytes(victim), "the user's own file");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        if (c.status == 0) {
            EXPECT_EQ(Others(out), std::set<std::string>{}) << "the planted links are removed";
        } else {
            for (const std::string& name : c.names) {
                fs::remove(out / name); // as the user told of them does
            }
        }
        EXPECT_EQ(AnswersOf(out), c.status == 0 ? answersB : answersA);
    }
}

} // namespace
