// SPDX-License-Identifier: GPL-2.0-or-later
// Damaged and unreadable data files through the kelimbo-lookup process: it
// ends with its message and status 1, or answers with status 0; it never dies
// of a signal.
#include "articles/dictionary_files.h"
#include "damage.h"
#include "support/isolated_environment.h"
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::ProcessOutcome;
using testing_support::ReadBytes;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteBytes;

const char* const kFiles[] = {kRussianFiles.index, kEsperantoFiles.index, kRussianFiles.text,
                              kEsperantoFiles.text};

class LookupWithDamagedFiles : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kFiles) {
            fs::copy_file(fs::path(KELIMBO_SAMPLE_DIR) / name, dir.File(name));
        }
    }

    // Looks up a query and opens its first article, as a user without special
    // rights: when the tests run as root, the lookup runs as "nobody", so that
    // file permissions count.
    ProcessOutcome Open(const std::string& query) const {
        std::vector<std::string> argv;
        if (::geteuid() == 0) {
            argv = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        }
        for (const std::string& arg :
             {std::string(KELIMBO_LOOKUP), std::string("--dir"), dir.Path().string(),
              std::string("--open"), std::string("0"), query}) {
            argv.push_back(arg);
        }
        return RunProcess(argv);
    }

    TempDir dir;
};

TEST_F(LookupWithDamagedFiles, UnreadableFilesAreReportedByName) {
    const struct {
        const char* file;
        const char* query;
        std::string message;
    } table[] = {
        {kFiles[0], "дорога", "Ошибка при открытии файла индекса:\n"},
        {kFiles[1], "cxapelo", "Ошибка при открытии файла индекса:\n"},
        {kFiles[2], "дорога", "Ошибка при открытии файла словаря:\n"},
        {kFiles[3], "cxapelo", "Ошибка при открытии файла словаря:\n"},
    };
    ASSERT_EQ(Open("cxapelo").status, 0) << "the data folder must be readable";
    for (const auto& c : table) {
        fs::permissions(dir.File(c.file), fs::perms::none);
        const ProcessOutcome r = Open(c.query);
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.err, c.message + dir.Path().string() + "/" + c.file + "\n");
        EXPECT_EQ(r.out, "");
        fs::permissions(dir.File(c.file), fs::perms::owner_read | fs::perms::owner_write |
                                              fs::perms::group_read | fs::perms::others_read);
    }
}

TEST_F(LookupWithDamagedFiles, DamagedFilesNeverKillTheProcess) {
    for (const char* name : kFiles) {
        const std::string good = ReadBytes(dir.File(name));
        std::vector<damage::Variant> variants;
        // A sample of each kind of damage: the full matrix runs in-process.
        const auto cuts = damage::CutAtEveryByte(good);
        for (std::size_t i = 0; i < cuts.size(); i += cuts.size() / 12 + 1) {
            variants.push_back(cuts[i]);
        }
        for (auto& v : damage::FlippedBytes(good, 12, 7)) {
            variants.push_back(std::move(v));
        }
        variants.push_back({"empty", ""});
        for (const damage::Variant& variant : variants) {
            WriteBytes(dir.File(name), variant.bytes);
            for (const char* query : {"cxapelo", "дорога"}) {
                const ProcessOutcome r = Open(query);
                EXPECT_FALSE(r.signaled) << name << " " << variant.name;
                EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 2)
                    << name << " " << variant.name << ": " << r.status << " " << r.err;
                if (r.status == 1) {
                    EXPECT_TRUE(r.err.starts_with("Ошибка при ") ||
                                r.err.starts_with("Неподходящая версия") ||
                                r.err.starts_with("Файл словаря не соответствует индексу:\n") ||
                                r.err.starts_with("Недостаточно памяти"))
                        << r.err;
                }
            }
            EXPECT_EQ(ReadBytes(dir.File(name)), variant.bytes) << "a dictionary file changed";
        }
        WriteBytes(dir.File(name), good);
    }
}

// kelimbo-lookup --stdin asked `first`, then, once it holds the file at
// `opened` open (its answers wait in its output buffer until it ends) and
// `between` has run, asked `second`; what it wrote and how it ended. A process
// still running after ten seconds is killed and counted as hung.
struct Conversation {
    ProcessOutcome outcome;
    bool hung = false;
};

Conversation AskTwice(const std::string& folder, const std::string& first, const fs::path& opened,
                      const std::function<void()>& between, const std::string& second,
                      const std::vector<std::string>& options = {}) {
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (const int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    std::vector<std::string> args = {KELIMBO_LOOKUP, "--dir", folder};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("--stdin");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const testing_support::IsolatedEnvironment surroundings;
    const testing_support::ExecEnvironment environment(surroundings);
    pid_t pid = 0;
    if (posix_spawn(&pid, KELIMBO_LOOKUP, &actions, nullptr, argv.data(), environment.Get()) != 0) {
        throw std::runtime_error("spawn");
    }
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : {in[0], out[1], err[1]}) {
        ::close(fd);
    }
    // A process that has ended on the first query closes its input: writing
    // the second must fail, not end this one with SIGPIPE (the process was
    // started with the signal's usual handling).
    const auto previous = std::signal(SIGPIPE, SIG_IGN);

    // Answers are small: they wait in the pipes until the process has ended.
    const auto send = [&](const std::string& query) {
        const std::string line = query + "\n";
        return ::write(in[1], line.data(), line.size()) == static_cast<ssize_t>(line.size());
    };
    Conversation c;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto holds = [&] {
        std::error_code error;
        for (const auto& fd :
             fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
            if (fs::read_symlink(fd.path(), error) == opened) {
                return true;
            }
        }
        return false;
    };
    send(first);
    while (!holds() && std::chrono::steady_clock::now() < deadline) {
        ::usleep(1000);
    }
    between();
    send(second);
    ::close(in[1]);
    std::signal(SIGPIPE, previous);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            c.hung = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        ::usleep(1000);
    }
    c.outcome.signaled = !c.hung && WIFSIGNALED(status);
    c.outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    for (auto [fd, into] : {std::pair{out[0], &c.outcome.out}, std::pair{err[0], &c.outcome.err}}) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
            into->append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
    }
    return c;
}

// The Russian index changed between two queries of one process. Replaced by
// rename, the process answers from the index it opened; written over or cut,
// it ends with the read error naming the file. Never a crash or a hang.
TEST_F(LookupWithDamagedFiles, IndexChangedBetweenQueriesGivesOldDataOrTheReadError) {
    const std::string good = ReadBytes(dir.File(kRussianFiles.index));
    const std::string other = ReadBytes(dir.File(kEsperantoFiles.index));
    const std::string folder = dir.Path().string();
    const ProcessOutcome firstOnly =
        RunProcess({KELIMBO_LOOKUP, "--dir", folder, "--stdin"}, "д\n");
    const ProcessOutcome both = RunProcess({KELIMBO_LOOKUP, "--dir", folder, "--stdin"}, "д\nдо\n");
    ASSERT_EQ(both.status, 0);
    ASSERT_NE(firstOnly.out, "");
    ASSERT_NE(both.out, firstOnly.out + "\n");
    for (const damage::ChangeCase& c : damage::kChangesWhileOpen) {
        WriteBytes(dir.File(kRussianFiles.index), good);
        const Conversation r = AskTwice(
            folder, "д", dir.File(kRussianFiles.index),
            [&] { damage::ChangeFile(dir.File(kRussianFiles.index), c.change, other); }, "до");
        EXPECT_FALSE(r.hung) << c.name;
        EXPECT_FALSE(r.outcome.signaled) << c.name;
        if (c.keepsOldData) {
            EXPECT_EQ(r.outcome.status, 0) << c.name << ": " << r.outcome.err;
            EXPECT_EQ(r.outcome.out, both.out) << c.name;
        } else {
            EXPECT_EQ(r.outcome.status, 1) << c.name;
            // Written over before the process read a byte of it, the file is
            // the whole Esperanto index, a sound index of another text: the
            // pair is refused.
            const std::string refused = "Файл словаря не соответствует индексу:\n" + folder + "/" +
                                        kRussianFiles.text + "\n" + folder + "/" +
                                        kRussianFiles.index + "\n";
            const std::string readError = "Ошибка при чтении файла индекса:\n \"" + folder + "/" +
                                          kRussianFiles.index + "\"\n";
            EXPECT_TRUE(
                r.outcome.err == readError ||
                (c.change == damage::Change::OverwrittenInPlace && r.outcome.err == refused))
                << c.name << ": " << r.outcome.err;
            // The first answer and the blank line before the second; nothing
            // when the change came while the first query was being answered.
            EXPECT_TRUE(r.outcome.out.empty() || r.outcome.out == firstOnly.out + "\n")
                << c.name << ": " << r.outcome.out;
        }
    }
}

// The Esperanto text changed under one process, as an import or a copy
// changes it: `other` holds the same bytes turned around by a third, as long
// as the text and with every article elsewhere. The process answers from the
// text it opened, or ends with a clear error naming the text; it never shows
// another word's article. An index without identity reads its text as before,
// through the file it opened (a text written over before the process first
// looked at it cannot be told from its own, so only the rename is certain).
TEST_F(LookupWithDamagedFiles, TextChangedUnderTheProcessGivesOldArticlesOrAClearError) {
    const fs::path text = dir.File(kEsperantoFiles.text);
    const fs::path index = dir.File(kEsperantoFiles.index);
    const std::string good = ReadBytes(text);
    const std::string bound = ReadBytes(index);
    const std::string other = good.substr(good.size() / 3) + good.substr(0, good.size() / 3);
    const std::string folder = dir.Path().string();
    const std::vector<std::string> options = {"--articles"};
    const auto ask = [&](const std::string& queries) {
        return RunProcess({KELIMBO_LOOKUP, "--dir", folder, "--articles", "--stdin"}, queries);
    };
    const ProcessOutcome firstOnly = ask("akvo\n");
    const ProcessOutcome both = ask("akvo\namiko\n");
    ASSERT_EQ(both.status, 0);
    ASSERT_EQ(both.out, firstOnly.out + "\namiko\namiko друг\r\n");
    const std::string readError = "Ошибка при чтении файла словаря:\n \"" + text.string() + "\"\n";
    const std::string refused =
        "Файл словаря не соответствует индексу:\n" + text.string() + "\n" + index.string() + "\n";

    enum class Outcome { OldArticles, ReadError, Refused };
    const struct {
        const char* name;
        bool withIdentity;
        bool changedBeforeTheStart;
        damage::Change change;
        Outcome outcome;
    } table[] = {
        {"replaced by rename", true, false, damage::Change::ReplacedByRename, Outcome::OldArticles},
        {"overwritten in place", true, false, damage::Change::OverwrittenInPlace,
         Outcome::ReadError},
        {"truncated", true, false, damage::Change::Truncated, Outcome::ReadError},
        {"replaced before the start", true, true, damage::Change::ReplacedByRename,
         Outcome::Refused},
        {"without identity, replaced by rename", false, false, damage::Change::ReplacedByRename,
         Outcome::OldArticles},
    };
    for (const auto& c : table) {
        WriteBytes(text, good);
        // Written long ago, as a dictionary is: a change now moves its time.
        fs::last_write_time(text, fs::file_time_type::clock::now() - std::chrono::hours(1));
        // An index as made before indexes recorded their text: no identity block.
        WriteBytes(index, c.withIdentity ? bound : bound.substr(0, bound.size() - 48));
        const auto change = [&] { damage::ChangeFile(text, c.change, other); };
        Conversation r;
        if (c.changedBeforeTheStart) {
            change();
            r.outcome = ask("akvo\namiko\n");
        } else {
            r = AskTwice(folder, "akvo", text, change, "amiko", options);
        }
        EXPECT_FALSE(r.hung) << c.name;
        EXPECT_FALSE(r.outcome.signaled) << c.name;
        switch (c.outcome) {
        case Outcome::OldArticles:
            EXPECT_EQ(r.outcome.status, 0) << c.name << ": " << r.outcome.err;
            EXPECT_EQ(r.outcome.out, both.out) << c.name;
            break;
        case Outcome::ReadError:
            EXPECT_EQ(r.outcome.status, 1) << c.name;
            // Refused when the change came before the process had checked
            // the file it opened.
            EXPECT_TRUE(r.outcome.err == readError || (c.withIdentity && r.outcome.err == refused))
                << c.name << ": " << r.outcome.err;
            // What was answered before the error is what the text the index
            // was made for gives: a beginning of the whole answer, up to the
            // article that was refused.
            EXPECT_TRUE(both.out.starts_with(r.outcome.out)) << c.name << ": " << r.outcome.out;
            break;
        case Outcome::Refused:
            EXPECT_EQ(r.outcome.status, 1) << c.name;
            EXPECT_EQ(r.outcome.err, refused) << c.name;
            EXPECT_EQ(r.outcome.out, "") << c.name;
            break;
        }
    }
}

} // namespace
