// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-index as a process on sources that are not what they seem: a FIFO
// named as any command's source ends the command with a message instead of
// hanging it, and a file that inflates beyond the import's limits is refused
// naming the file, unless the options raise them.
#include "support/format_fixtures.h"
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(KelimboIndexSources, AFifoEndsTheCommandAndABombIsRefusedWithinTheLimits) {
    TempDir dir;
    const fs::path out = dir.File("out");
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.File("revo"));
    fs::copy_file(fs::path(KELIMBO_FIXTURES) / "revo/fixtures/revo/kat.xml",
                  dir.File("revo/kat.xml"));
    ASSERT_EQ(::mkfifo(dir.File("revo/fifo.xml").c_str(), 0600), 0);
    WriteBytes(dir.File("d.ifo"), "StarDict's dict ifo file\nversion=2.4.2\nbookname=b\n"
                                  "wordcount=1\nidxfilesize=10\nsametypesequence=m\n");
    WriteBytes(dir.File("d.idx"), "a\0\0\0\0\0\0\0\0\1"s);
    ASSERT_EQ(::mkfifo(dir.File("d.dict").c_str(), 0600), 0);
    // 2 MiB of text in 2 KiB of gzip.
    WriteBytes(dir.File("bomb.dsl.dz"), format_fixtures::Gzip("#NAME \"b\"\n\nhundo\n\t" +
                                                              std::string(2 << 20, 'a') + "\n"));

    const std::string fifo = dir.File("fifo").string();
    const std::string bomb = dir.File("bomb.dsl.dz").string();
    const std::string raise = "--inflate-ratio and --inflate-limit raise the limits";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string said; // in what the command wrote
    } table[] = {
        {{"build", "--lang", "eo", "--out", out, fifo}, 1, fifo + ": not a regular file"},
        {{"build", "--lang", "eo", "--out", out, "--paragraphs", fifo},
         1,
         fifo + ": not a regular file"},
        {{"import", "dsl", fifo, "--direction", "eo", "--out", out},
         1,
         fifo + ": not a regular file"},
        {{"import", "stardict", dir.File("d.ifo"), "--direction", "eo", "--out", out},
         1,
         dir.File("d.dict").string() + ": not a regular file"},
        {{"revo", dir.File("revo"), "--dtd", (fs::path(KELIMBO_FIXTURES) / "revo/fixtures/dtd"),
          "--out", dir.File("revo-out")},
         0,
         "skipped fifo.xml: cannot read the file: not a regular file"},
        {{"import", "dsl", bomb, "--direction", "eo", "--out", out, "--inflate-limit", "1M"},
         1,
         bomb +
             ": gives more than 1048576 bytes (the limit of 1048576 bytes for any file)\n"
             "kelimbo-index: " +
             raise},
        {{"import", "dsl", bomb, "--direction", "eo", "--out", out, "--inflate-limit", "3M"},
         0,
         "1 article read"},
        {{"import", "dsl", bomb, "--direction", "ru", "--out", out, "--inflate-ratio", "0"},
         2,
         "usage"},
        {{"import", "dsl", bomb, "--direction", "ru", "--out", out, "--inflate-limit", "1T"},
         2,
         "usage"},
    };
    for (const auto& c : table) {
        // A command that hangs is ended after 20 s (status 124).
        std::vector<std::string> argv = {"/usr/bin/timeout", "-k", "5", "20", KELIMBO_INDEX};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto outcome = RunProcess(argv);
        const std::string said = outcome.out + outcome.err;
        EXPECT_EQ(outcome.status, c.status) << c.args[0] << " " << c.args.back() << ": " << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

} // namespace
