// SPDX-License-Identifier: GPL-2.0-or-later
// The commit journal read as untrusted input: only the dictionary's own file
// names and their temporary names pass.
#include "dictbuild/commit_journal.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(CommitJournal, ReadsItsOwnJournalsAndRefusesAnyOtherName) {
    const std::string head = "kelimbo-commit 1\n";
    const std::string eoText = ".EoRu_kelimbo.txt.tmpQ3xv7TbLk2 EoRu_kelimbo.txt\n";
    const std::string ruIndex = ".tarnesk_rusa_esperanto.bsi.tmpk8 tarnesk_rusa_esperanto.bsi\n";
    const struct {
        const char* what;
        std::string bytes;
        const char* refusal; // empty: read
    } cases[] = {
        {"two renames", head + eoText + ruIndex + "end\n", ""},
        {"a target outside the folder", head + ".EoRu_kelimbo.txt.tmpA ../EoRu_kelimbo.txt\nend\n",
         "not the dictionary's (line 2)"},
        {"a file that is not the dictionary's", head + ".historio.bin.tmpA historio.bin\nend\n",
         "not the dictionary's"},
        {"a temporary name of another file",
         head + ".EoRu_kelimbo.bsi.tmpA EoRu_kelimbo.txt\nend\n", "not a new EoRu_kelimbo.txt"},
        {"a temporary name with a folder",
         head + ".EoRu_kelimbo.txt.tmp/../../x EoRu_kelimbo.txt\nend\n", "not a new"},
        {"no random letters", head + ".EoRu_kelimbo.txt.tmp EoRu_kelimbo.txt\nend\n", "not a new"},
        {"a target twice", head + eoText + eoText + "end\n", "twice"},
        {"a carriage return", head + ".EoRu_kelimbo.txt.tmpA EoRu_kelimbo.txt\r\nend\n",
         "not the dictionary's"},
        {"no renames", head + "end\n", "names no file"},
        {"cut before its end", head + eoText, "cut short"},
        {"something after its end", head + eoText + "end\nmore\n", "cut short"},
        {"another first line", "kelimbo-commit 2\n" + eoText + "end\n", "does not start"},
        {"too long", head + std::string(kMaxCommitJournalBytes, 'x') + "\nend\n", "longer than"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (*c.refusal == '\0') {
            const std::vector<StagedRename> renames = DecodeCommitJournal(c.bytes);
            EXPECT_EQ(renames,
                      (std::vector<StagedRename>{
                          {".EoRu_kelimbo.txt.tmpQ3xv7TbLk2", "EoRu_kelimbo.txt"},
                          {".tarnesk_rusa_esperanto.bsi.tmpk8", "tarnesk_rusa_esperanto.bsi"}}));
            EXPECT_EQ(EncodeCommitJournal(renames), c.bytes);
            continue;
        }
        try {
            DecodeCommitJournal(c.bytes);
            ADD_FAILURE() << "read";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << e.what();
        }
    }
}

} // namespace
