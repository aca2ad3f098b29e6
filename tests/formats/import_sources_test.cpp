// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-index as a process on sources that are not what they seem: a FIFO
// named as any file of any command's source ends the command with a message
// instead of hanging it, and a file that inflates beyond the import's limits
// is refused naming the file, unless the options raise them.
#include "support/format_fixtures.h"
#include "support/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(KelimboIndexSources, AFifoEndsTheCommandAndABombIsRefusedWithinTheLimits) {
    TempDir dir;
    const std::string out = dir.File("out");
    const fs::path revoFixtures = fs::path(KELIMBO_FIXTURES) / "revo/fixtures";
    fs::create_directory(dir.File("revo"));
    fs::copy_file(revoFixtures / "revo/kat.xml", dir.File("revo/kat.xml"));
    WriteBytes(dir.File("d.ifo"), "StarDict's dict ifo file\nversion=2.4.2\nwordcount=1\n"
                                  "idxfilesize=10\nsametypesequence=m\n");
    WriteBytes(dir.File("d.idx"), "a\0\0\0\0\0\0\0\0\1"s);
    for (const char* fifo : {"fifo", "revo/fifo.xml", "d.dict"}) {
        ASSERT_EQ(::mkfifo(dir.File(fifo).c_str(), 0600), 0);
    }
    // 2 MiB of text in 2 KiB of gzip.
    const std::string bomb = dir.File("bomb.dsl.dz");
    WriteBytes(bomb, format_fixtures::Gzip("#NAME \"b\"\n\nhundo\n\t" + std::string(2 << 20, 'a')));

    const std::string fifo = dir.File("fifo").string() + ": not a regular file";
    const std::string dict = dir.File("d.dict").string() + ": not a regular file";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string said; // in what the command wrote
    } table[] = {
        {{"build", "--lang", "eo", "--out", out, dir.File("fifo")}, 1, fifo},
        {{"build", "--lang", "eo", "--out", out, "--paragraphs", dir.File("fifo")}, 1, fifo},
        {{"import", "dsl", dir.File("fifo"), "--direction", "eo", "--out", out}, 1, fifo},
        {{"import", "stardict", dir.File("d.ifo"), "--direction", "eo", "--out", out}, 1, dict},
        {{"revo", dir.File("revo"), "--dtd", revoFixtures / "dtd", "--out", dir.File("revo-out")},
         0,
         "skipped fifo.xml: cannot read the file: not a regular file"},
        {{"import", "dsl", bomb, "--direction", "eo", "--out", out, "--inflate-limit", "1M"},
         1,
         bomb + ": gives more than 1048576 bytes (the limit of 1048576 bytes for any file)\n"
                "kelimbo-index: --inflate-ratio and --inflate-limit raise the limits"},
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
        const auto outcome = testing_support::RunProcess(argv);
        const std::string said = outcome.out + outcome.err;
        EXPECT_EQ(outcome.status, c.status) << c.args[0] << " " << c.args[1] << ": " << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

} // namespace
