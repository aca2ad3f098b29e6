// SPDX-License-Identifier: GPL-2.0-or-later
// How a run ends: the program read an article and went back to the search
// window, then it is ended from outside as a logout, a closed terminal, Ctrl+C
// or a crash would end it. The history of that step is on the disk every
// time, in the file's own format, beside a portable copy and in the user's
// state folder for an installed one; the settings are saved whenever the
// program had the chance to.
#include "history/history.h"
#include "support/dictionary_fixture.h"
#include "support/isolated_environment.h"
#include "support/temp_dir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testing_support::IsolatedEnvironment;
using testing_support::TempDir;

constexpr unsigned kNobody = 65534;

// The Esperanto dictionary files of the fixture, the only ones the run reads from.
const char* const kDataFiles[] = {"tarnesk_rusa_esperanto.bsi", "tarnesk_rusa_esperanto.txt",
                                  "EoRu_kelimbo.bsi", "EoRu_kelimbo.txt"};

TEST(ProgramEnd, TheStepDoneBeforeTheEndIsInTheHistoryHoweverTheProgramEnds) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run an installed copy as another user";
    }
    const struct {
        const char* what;
        bool installed;
        int signal;
        bool graceful; // ends as Ctrl+Q would, saving the settings too
    } cases[] = {
        {"portable, SIGTERM", false, SIGTERM, true}, {"portable, SIGHUP", false, SIGHUP, true},
        {"portable, SIGINT", false, SIGINT, true},   {"portable, SIGKILL", false, SIGKILL, false},
        {"installed, SIGTERM", true, SIGTERM, true}, {"installed, SIGKILL", true, SIGKILL, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir data;
        dictionary_fixture::WriteDataFiles(data);
        TempDir program;
        IsolatedEnvironment surroundings;
        const fs::path dictionary = c.installed ? surroundings.Data() / "kelimbo" : program.Path();
        fs::create_directories(dictionary);
        for (const char* name : kDataFiles) {
            fs::copy_file(data.File(name), dictionary / name);
        }
        fs::copy_file(KELIMBO_SESSION_PROBE, program.File("kelimbo"));
        // Whatever the umask: everyone may run the program, only its owner may
        // add files beside it.
        const fs::perms readAndRun = fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec;
        fs::permissions(program.Path(), readAndRun);
        fs::permissions(program.File("kelimbo"), readAndRun);

        QProcess run;
        QProcessEnvironment environment;
        for (const auto& [name, value] : surroundings.Variables()) {
            environment.insert(QString::fromStdString(name), QString::fromStdString(value));
        }
        run.setProcessEnvironment(environment);
        const QString probe = QString::fromStdString(program.File("kelimbo").string());
        if (c.installed) {
            // An ordinary user, for whom the program's folder is the system's.
            surroundings.GiveTo(kNobody, kNobody);
            run.start(QStringLiteral("/usr/bin/setpriv"),
                      {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                       QStringLiteral("--clear-groups"), probe, QStringLiteral("sxafo")});
        } else {
            run.start(probe, {QStringLiteral("sxafo")});
        }
        QByteArray said;
        for (int waited = 0; !said.contains("ready\n") && waited < 100; ++waited) {
            run.waitForReadyRead(100);
            said += run.readAllStandardOutput();
        }
        ASSERT_TRUE(said.contains("ready\n")) << run.readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(run.processId()), c.signal);
        if (run.state() != QProcess::NotRunning && !run.waitForFinished(10000)) {
            run.kill();
            run.waitForFinished();
            ADD_FAILURE() << "still running after the signal";
            continue;
        }
        if (c.graceful) {
            EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        } else {
            EXPECT_EQ(run.exitStatus(), QProcess::CrashExit);
        }

        const fs::path kept = c.installed ? surroundings.State() / "kelimbo" / "historio.bin"
                                          : program.File("historio.bin");
        const fs::path settings = c.installed ? surroundings.Config() / "kelimbo" / "kelimbo.conf"
                                              : program.File("kelimbo.conf");
        cHistory history;
        history.Load(kept.c_str(), (dictionary / "EoRu_kelimbo.txt").c_str(),
                     (dictionary / "tarnesk_rusa_esperanto.txt").c_str());
        ProgramObjects objects;
        dictionary_fixture::LoadIndexes(objects, data);
        const std::vector<ArticleRef> sxafo = objects.lookup.EsperantoIndex().GetRefs(
            objects.lookup.EsperantoIndex().FindPrefix("sxafo").first);
        ASSERT_FALSE(sxafo.empty());
        EXPECT_EQ(history.entries, (std::deque<HistoryEntry>{{sxafo, u"ŝafo", true}}));
        EXPECT_EQ(history.cursor, 1);
        EXPECT_EQ(fs::exists(settings), c.graceful);
        if (c.installed) {
            EXPECT_FALSE(fs::exists(program.File("historio.bin"))) << "the system's folder";
        }
    }
}

} // namespace
