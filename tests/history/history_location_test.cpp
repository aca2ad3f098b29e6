// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/history.h"
#include "history/history_location.h"

#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

struct FolderCase {
    const char* what;
    bool writable;
    std::optional<std::string> xdgStateHome;
    std::optional<std::string> home;
    std::string expected;
};

TEST(HistoryFolder, FollowsWritabilityAndTheXdgRules) {
    const std::string program = "/usr/lib/kelimbo/";
    const std::vector<FolderCase> cases = {
        {"writable folder, state home set", true, "/s", "/h", program},
        {"writable folder, nothing set", true, std::nullopt, std::nullopt, program},
        {"state home", false, "/var/st", "/h", "/var/st/kelimbo/"},
        {"state home with a slash", false, "/var/st/", "/h", "/var/st/kelimbo/"},
        {"no state home", false, std::nullopt, "/home/ana", "/home/ana/.local/state/kelimbo/"},
        {"empty state home", false, "", "/home/ana", "/home/ana/.local/state/kelimbo/"},
        {"relative state home", false, "st", "/home/ana", "/home/ana/.local/state/kelimbo/"},
        {"home with a slash", false, std::nullopt, "/home/ana/", "/home/ana/.local/state/kelimbo/"},
        {"home is the root", false, std::nullopt, "/", "/.local/state/kelimbo/"},
        {"nothing set", false, std::nullopt, std::nullopt, program},
        {"relative home", false, "", "ana", program},
        {"empty home", false, std::nullopt, "", program},
    };
    for (const FolderCase& c : cases) {
        const HistorySurroundings surroundings{c.writable, c.xdgStateHome, c.home};
        EXPECT_EQ(HistoryFolder(program, surroundings), c.expected) << c.what;
    }
}

TEST(HistoryFolder, StateFolderKeepsTheEnvironmentsBytes) {
    for (const std::string home : {"/home/Иван", "/home/josé", "/home/日本", "/home/bad\xff"}) {
        const HistorySurroundings surroundings{false, std::nullopt, home};
        EXPECT_EQ(HistoryFolder("/opt/k/", surroundings), home + "/.local/state/kelimbo/");
    }
}

TEST(HistoryFolder, EmptyProgramFolderStaysEmptyWhenWritable) {
    EXPECT_EQ(HistoryFolder("", HistorySurroundings{true, "/s", "/h"}), "");
    EXPECT_EQ(HistoryFolder("", HistorySurroundings{false, "/s", "/h"}), "/s/kelimbo/");
}

std::string Folder(const TempDir& dir) {
    return dir.AnsiPath("");
}

TEST(CanWriteFileIn, WritableFolderLeavesNoProbeBehind) {
    TempDir dir;
    EXPECT_TRUE(CanWriteFileIn(Folder(dir), "historio.bin"));
    EXPECT_FALSE(fs::exists(dir.File("historio.bin")));
}

// Asking creates nothing, not even for a moment: the folder's modification
// time, which a file created and removed again would move, stays.
TEST(CanWriteFileIn, AskingLeavesTheFolderUntouched) {
    TempDir dir;
    const auto before = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(dir.Path(), before);
    EXPECT_TRUE(CanWriteFileIn(Folder(dir), "historio.bin"));
    EXPECT_EQ(HistoryFilePath(Folder(dir), "historio.bin"), dir.AnsiPath("historio.bin"));
    EXPECT_EQ(fs::last_write_time(dir.Path()), before);
}

TEST(CanWriteFileIn, ExistingFileKeepsItsBytes) {
    TempDir dir;
    WriteBytes(dir.File("historio.bin"), std::string("\x01\x00\x02", 3));
    EXPECT_TRUE(CanWriteFileIn(Folder(dir), "historio.bin"));
    EXPECT_EQ(ReadBytes(dir.File("historio.bin")), std::string("\x01\x00\x02", 3));
}

TEST(CanWriteFileIn, MissingFolderOrFolderInTheWayIsNotWritable) {
    TempDir dir;
    EXPECT_FALSE(CanWriteFileIn(dir.AnsiPath("missing/"), "historio.bin"));
    fs::create_directory(dir.File("historio.bin"));
    EXPECT_FALSE(CanWriteFileIn(Folder(dir), "historio.bin"));
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(HistoryFilePath, WritableProgramFolderKeepsTheHistoryBesideIt) {
    TempDir program;
    TempDir state;
    ScopedEnv env("XDG_STATE_HOME", state.Path().string());
    EXPECT_EQ(HistoryFilePath(Folder(program), "historio.bin"), program.AnsiPath("historio.bin"));
    EXPECT_FALSE(fs::exists(state.File("kelimbo")));
}

// A real folder the program cannot write needs another user than root;
// the probe program is run as nobody for that.
TEST(HistoryFilePath, ReadOnlyProgramFolderMovesTheHistoryToTheStateFolder) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the probe as another user";
    }
    TempDir program;
    TempDir state;
    fs::permissions(program.Path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    fs::permissions(state.Path(), fs::perms::all);
    const std::string folder = program.Path().string() + "/";
    const auto outcome = testing_support::RunProcess(
        {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/env",
         "XDG_STATE_HOME=" + state.Path().string(), KELIMBO_HISTORY_PROBE, folder});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, (state.Path() / "kelimbo" / "historio.bin").string() + "\n");
    const fs::path created = state.File("kelimbo");
    ASSERT_TRUE(fs::is_directory(created));
    EXPECT_EQ(fs::status(created).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(program.Path()));
}

// Every case of the program folder and a history file in it, as an ordinary
// user: two sessions in a row keep their history in one place, beside the
// program exactly when its folder takes new files, and the other place is
// never touched. Needs root to run the sessions as nobody.
TEST(HistoryFilePath, EachSessionLoadsAndSavesTheOnePlace) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the probe as another user";
    }
    enum class Beside { None, Writable, ReadOnly };
    const struct {
        const char* what;
        bool folderWritable;
        Beside file;
        bool keptBeside;
    } cases[] = {
        {"read-only folder, writable file", false, Beside::Writable, false},
        {"read-only folder, no file", false, Beside::None, false},
        {"writable folder, read-only file", true, Beside::ReadOnly, true},
        {"writable folder, no file", true, Beside::None, true},
    };
    for (const auto& c : cases) {
        TempDir program;
        TempDir state;
        fs::permissions(state.Path(), fs::perms::all);
        const std::string folder = program.Path().string() + "/";
        const fs::path beside = program.File("historio.bin");
        if (c.file != Beside::None) {
            cHistory seed;
            seed.Load(beside.c_str(), (folder + "EoRu_kelimbo.txt").c_str(),
                      (folder + "tarnesk_rusa_esperanto.txt").c_str());
            seed.Push(u"seed", {}, true);
            seed.Save();
            fs::permissions(beside, c.file == Beside::Writable
                                        ? fs::perms::all
                                        : fs::perms::owner_read | fs::perms::group_read |
                                              fs::perms::others_read);
        }
        const std::string seeded = ReadBytes(beside);
        fs::permissions(program.Path(), c.folderWritable
                                            ? fs::perms::all
                                            : fs::perms::owner_all | fs::perms::group_read |
                                                  fs::perms::group_exec | fs::perms::others_read |
                                                  fs::perms::others_exec);
        const fs::path kept = c.keptBeside ? beside : state.File("kelimbo") / "historio.bin";
        const std::size_t first = c.keptBeside && c.file != Beside::None ? 1 : 0;
        for (std::size_t session = 0; session < 2; ++session) {
            const auto outcome = testing_support::RunProcess(
                {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                 "/usr/bin/env", "XDG_STATE_HOME=" + state.Path().string(), KELIMBO_HISTORY_PROBE,
                 folder, "query"});
            ASSERT_EQ(outcome.status, 0) << c.what << outcome.err;
            EXPECT_EQ(outcome.out, kept.string() + "\n" + std::to_string(first + session) + "\n")
                << c.what << ", session " << session;
        }
        cHistory last;
        last.Load(kept.c_str(), (folder + "EoRu_kelimbo.txt").c_str(),
                  (folder + "tarnesk_rusa_esperanto.txt").c_str());
        EXPECT_EQ(last.entries.size(), first + 1) << c.what; // the same query twice is one entry
        if (!c.keptBeside) {
            EXPECT_EQ(ReadBytes(beside), seeded) << c.what << ": the file beside is untouched";
        } else {
            EXPECT_FALSE(fs::exists(state.File("kelimbo"))) << c.what;
        }
        EXPECT_FALSE(fs::exists(program.File("historio.bin.tmp"))) << c.what;
    }
}

} // namespace
