// SPDX-License-Identifier: GPL-2.0-or-later
// The build of a full-text index runs on three threads; a failure on any of
// them ends the build with its own message, leaves nothing behind, and never
// hangs, however many batches are on their way.
#include "articles/dictionary_files.h"
#include "dictbuild/dictionary_build.h"
#include "errors/exc_msg.h"
#include "forms/russian_analyser.h"
#include "fulltext/index_file.h"
#include "fulltext/query.h"
#include "fulltext/words.h"
#include "index/bsi_format.h"
#include "index/language_indexes.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace {

using testing_support::TempDir;

// More articles than two batches of the build hold, each with its number.
constexpr int kArticles = 9000;

std::string Message(const std::function<void()>& run) {
    try {
        run();
    } catch (const cExcMsg& e) {
        return platform::ToUtf8(e.GetMsg());
    }
    return "";
}

class FullTextBuild : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tsv;
        for (int n = 0; n < kArticles; ++n) {
            const std::string number = std::to_string(100000 + n);
            tsv += "v" + number + "\tla kato n" + number + " kaj hundoj\n";
        }
        std::istringstream in(tsv);
        BuildFromTsv(Language::Esperanto, in, "test.tsv", dir.Path());
        std::ifstream file(dir.File(kEsperantoFiles.index), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
    }
    fulltext::BuildSummary Write() {
        return fulltext::WriteIndex(Path(kEsperantoFiles.text), Path(kEsperantoFiles.index),
                                    Path(kEsperantoFiles.fulltext), true, analyser);
    }
    std::string Path(const char* name) const { return dir.File(name).string(); }
    std::size_t Files() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()));
    }

    TempDir dir;
    std::string bytes; // the headword index as built
    forms::RussianAnalyser analyser{"/nonexistent/analyser.bin"};
};

TEST_F(FullTextBuild, AHeadwordRecordDamagedAnywhereEndsTheBuildWithItsReadError) {
    bsi::HeaderBytes head{};
    std::copy_n(bytes.begin(), head.size(), head.begin());
    const bsi::Header header = bsi::DecodeHeader(head);
    ASSERT_EQ(header.headwordCount, static_cast<std::uint32_t>(kArticles));
    const std::size_t before = Files();
    // The first record, one in the second batch, the last.
    for (const std::uint32_t at : {0U, 5000U, header.headwordCount - 1}) {
        std::string damaged = bytes;
        std::string record;
        bsi::AppendRecord(record, HeadwordEntry::Pack(0xFFFFFF, 255, 0, 0));
        damaged.replace(header.headwordOffset + at * bsi::kRecordSize, record.size(), record);
        std::ofstream(dir.File(kEsperantoFiles.index), std::ios::binary | std::ios::trunc)
            << damaged;
        // The message a lookup of that record gives.
        cIndexEo index;
        index.Load(Path(kEsperantoFiles.index).c_str());
        const std::string expected = Message([&] { index.GetRefs(at); });
        ASSERT_NE(expected, "");
        EXPECT_EQ(Message([&] { Write(); }), expected) << at;
        EXPECT_EQ(Files(), before) << "left behind at " << at;
    }
    // And whole again, every article is a row under its own headword.
    std::ofstream(dir.File(kEsperantoFiles.index), std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(Write().entries, static_cast<std::size_t>(kArticles));
    fulltext::IndexReader reader;
    std::string why;
    ASSERT_EQ(reader.Open(Path(kEsperantoFiles.fulltext), Path(kEsperantoFiles.text), why),
              fulltext::IndexState::Ready)
        << why;
    for (const int n : {0, 4095, 4096, kArticles - 1}) {
        const std::string number = std::to_string(100000 + n);
        const std::vector<fulltext::Entry> hits = reader.Select({{"n" + number}}, 0, 10, nullptr);
        ASSERT_EQ(hits.size(), 1U) << n;
        EXPECT_EQ(hits[0].headword, "v" + number);
    }
    EXPECT_EQ(reader.Count({{"kato", "kaj", "hundo"}}, 100000, nullptr), 0U); // not in this order
    EXPECT_EQ(reader.Count({{"kato"}, {"hundo"}}, 100000, nullptr),
              static_cast<std::size_t>(kArticles));
}

} // namespace
