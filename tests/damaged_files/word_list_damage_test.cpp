// SPDX-License-Identifier: GPL-2.0-or-later
// The word-list file damaged every way the matrix knows: cut at every byte,
// bytes changed at random, number fields made huge. Each loads what it can
// and says so when anything was lost; a save keeps the damaged file aside
// and writes a list that loads again as it was.
#include "damage.h"

#include "support/temp_dir.h"
#include "wordlist/word_list.h"
#include "wordlist/word_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using wordlist::Word;
using wordlist::WordList;

TEST(DamagedWordList, LoadsWhatItCanSaysSoAndSavesWhole) {
    const std::vector<Word> good = {{"ĉapelo", true, 1765000000, 3},
                                    {"дорога", false, 1765000100, 0},
                                    {"ŝipo", true, 1765000200, 12},
                                    {"1 Мая", false, 1765000300, 4294967295u}};
    const std::string goodBytes = wordlist::FormatWordList(good);
    std::vector<damage::Variant> cuts = damage::CutAtEveryByte(goodBytes);
    std::vector<damage::Variant> variants = cuts;
    for (auto& v : damage::FlippedBytes(goodBytes, 2000, 11)) {
        variants.push_back(std::move(v));
    }
    for (auto& v : damage::HugeFields(goodBytes, goodBytes.size())) {
        variants.push_back(std::move(v));
    }
    TempDir dir;
    const std::string path = dir.AnsiPath(wordlist::kWordListFileName);
    for (std::size_t i = 0; i < variants.size(); ++i) {
        const damage::Variant& variant = variants[i];
        std::filesystem::remove(path + ".bak");
        WriteBytes(path, variant.bytes);
        WordList list(path);
        list.Load();
        if (i < cuts.size()) {
            // A cut file: never silent, and what it gives is the good list's start.
            ASSERT_FALSE(list.Messages().empty()) << variant.name;
            ASSERT_LT(list.Size(), good.size()) << variant.name;
            ASSERT_EQ(list.Words(), std::vector<Word>(good.begin(), good.begin() + list.Size()))
                << variant.name;
        }
        for (const Word& word : list.Words()) {
            ASSERT_TRUE(wordlist::ValidWordText(word.text)) << variant.name;
        }
        if (list.ReadOnly()) {
            continue; // a flip that made a later version: left as it is
        }
        list.Add("novo", true, 1765000400);
        ASSERT_TRUE(list.Save()) << variant.name;
        if (!list.Messages().empty()) {
            EXPECT_EQ(ReadBytes(path + ".bak"), variant.bytes) << variant.name;
        }
        WordList again(path);
        again.Load();
        ASSERT_TRUE(again.Messages().empty()) << variant.name;
        ASSERT_EQ(again.Words(), list.Words()) << variant.name;
    }
}

} // namespace
