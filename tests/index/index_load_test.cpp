// SPDX-License-Identifier: GPL-2.0-or-later
#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "index/bsi_format.h"
#include "index/language_indexes.h"
#include "platform/ansi_literal.h"
#include "platform/code_page.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace {

using index_files::LoadBytes;
using index_files::LoadFile;
using index_files::Texts;
using testing_support::TempDir;

const std::vector<HeadwordSource> kSample = {
    {"b", {{10, 20}, {20, 30}}},
    {"a", {{0, 10}}},
    {"", {}},
    {"cedi", {}},
    {"cxapelo", {{30, 40}, {40, 50}, {50, 60}}},
};
const std::vector<std::string> kSampleInOrder = {"", "a", "b", "cedi", "cxapelo"};

std::string SampleBytes(const BsiBlockOrder& blocks = kDefaultBlockOrder) {
    return BuildIndex(x_less(), kSample, blocks);
}

// The reading message naming the index file, as UTF-8.
std::string ReadError(const TempDir& dir) {
    return "Ошибка при чтении файла индекса:\n \"" + dir.File("index.bsi").string() + "\"";
}

bsi::Header HeaderOf(const std::string& bytes) {
    bsi::HeaderBytes header{};
    std::copy_n(bytes.begin(), bsi::kHeaderSize, header.begin());
    return bsi::DecodeHeader(header);
}

std::string WithHeader(std::string bytes, const bsi::Header& header) {
    const bsi::HeaderBytes encoded = bsi::EncodeHeader(header);
    std::copy(encoded.begin(), encoded.end(), bytes.begin());
    return bytes;
}

void ExpectSampleLoaded(const cIndex& index) {
    ASSERT_EQ(index.Count(), kSampleInOrder.size());
    EXPECT_EQ(Texts(index, {0, index.Count()}), kSampleInOrder);
    EXPECT_EQ(index.GetRefs(0), std::vector<ArticleRef>{});
    EXPECT_EQ(index.GetRefs(1), (std::vector<ArticleRef>{{0, 10}}));
    EXPECT_EQ(index.GetRefs(2), (std::vector<ArticleRef>{{10, 20}, {20, 30}}));
    EXPECT_EQ(index.GetRefs(3), std::vector<ArticleRef>{});
    EXPECT_EQ(index.GetRefs(4), (std::vector<ArticleRef>{{30, 40}, {40, 50}, {50, 60}}));
}

// A failed load leaves an index without headwords.
void ExpectFailedLoad(const cIndex& index) {
    EXPECT_EQ(index.Count(), 0u);
    EXPECT_EQ(index.FindPrefix(""), (HeadwordRange{0, 0}));
}

class IndexLoad : public testing::Test {
protected:
    TempDir dir;
    cIndexEo index;
};

TEST_F(IndexLoad, ReadsHeadwordsAndReferences) {
    ASSERT_EQ(LoadBytes(index, dir, SampleBytes()), "");
    ExpectSampleLoaded(index);
    EXPECT_EQ(index.HeadwordText(4), "cxapelo");
    EXPECT_EQ(index.GetHeadword(5), "");
    EXPECT_EQ(index.HeadwordText(5), "");
    EXPECT_EQ(index.GetRefs(5), std::vector<ArticleRef>{});
}

TEST_F(IndexLoad, BlocksMayLieInAnyOrderWithAnythingBetweenThem) {
    BsiBlockOrder blocks = kDefaultBlockOrder;
    std::sort(blocks.begin(), blocks.end());
    do {
        cIndexEo reordered;
        ASSERT_EQ(LoadBytes(reordered, dir, SampleBytes(blocks)), "");
        ExpectSampleLoaded(reordered);
    } while (std::next_permutation(blocks.begin(), blocks.end()));

    // Text first, then references, then the table, with bytes nobody reads between.
    const std::string plain = SampleBytes();
    bsi::Header header = HeaderOf(plain);
    const auto block = [&](std::uint32_t offset, std::size_t size) {
        return plain.substr(offset, size);
    };
    const std::string junk(5, '\xEE');
    std::string moved = std::string(bsi::kHeaderSize, '\0') + junk;
    header.textOffset = static_cast<std::uint32_t>(moved.size());
    moved += block(HeaderOf(plain).textOffset, header.textSize) + junk;
    header.refOffset = static_cast<std::uint32_t>(moved.size());
    moved += block(HeaderOf(plain).refOffset, header.refCount * bsi::kRecordSize) + junk;
    header.headwordOffset = static_cast<std::uint32_t>(moved.size());
    moved += block(HeaderOf(plain).headwordOffset, header.headwordCount * bsi::kRecordSize) + junk;
    ASSERT_EQ(LoadBytes(index, dir, WithHeader(moved, header)), "");
    ExpectSampleLoaded(index);
}

TEST_F(IndexLoad, MissingFileNamesItsPath) {
    const std::string name = "нет такого.bsi";
    EXPECT_EQ(LoadFile(index, dir.AnsiPath(name)),
              "Ошибка при открытии файла индекса:\n" + dir.File(name).string());
}

TEST_F(IndexLoad, EmptyFileFailsAtTheVersionNamingTheIndex) {
    EXPECT_EQ(LoadBytes(index, dir, ""), ReadError(dir));
    ExpectFailedLoad(index);
}

TEST_F(IndexLoad, OnlyVersionOneIsAccepted) {
    for (const char version : {'\0', '\2', '\xFF'}) {
        std::string bytes = SampleBytes();
        bytes[0] = version;
        EXPECT_EQ(LoadBytes(index, dir, bytes), "Неподходящая версия индексного файла");
    }
    std::string reserved = SampleBytes();
    reserved[1] = reserved[2] = reserved[3] = '\xFF';
    EXPECT_EQ(LoadBytes(index, dir, reserved), "");
}

TEST_F(IndexLoad, FileCutAnywhereGivesTheReadError) {
    const auto expectCutFails = [&](const std::string& bytes, std::size_t cut) {
        EXPECT_EQ(LoadBytes(index, dir, bytes.substr(0, cut)), ReadError(dir)) << cut;
        ExpectFailedLoad(index);
    };
    // Every byte of the header and of each block.
    const std::string bytes = SampleBytes();
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        expectCutFails(bytes, cut);
    }
    // Whichever block comes last, the file cut just before its end fails.
    BsiBlockOrder blocks = kDefaultBlockOrder;
    std::sort(blocks.begin(), blocks.end());
    do {
        const std::string reordered = SampleBytes(blocks);
        expectCutFails(reordered, reordered.size() - 1);
    } while (std::next_permutation(blocks.begin(), blocks.end()));
}

TEST_F(IndexLoad, HeaderThatTheFileCannotHoldGivesTheReadError) {
    const std::string bytes = SampleBytes();
    const bsi::Header plain = HeaderOf(bytes);
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const std::function<void(bsi::Header&)> damages[] = {
        [&](bsi::Header& h) { h.headwordOffset = size; },
        [&](bsi::Header& h) { h.headwordOffset = size - 8 * h.headwordCount + 1; },
        [](bsi::Header& h) { h.headwordOffset = 0xFFFFFFFF; },
        [](bsi::Header& h) { h.headwordCount = 0xFFFFFFFF; },
        [](bsi::Header& h) { h.headwordCount = 0x20000000; },
        [](bsi::Header& h) { h.headwordCount = 0x1FFFFFFF; },
        [&](bsi::Header& h) { h.refOffset = size - 7; },
        [](bsi::Header& h) { h.refOffset = 0x80000000; },
        [](bsi::Header& h) { h.refCount = 0xFFFFFFFF; },
        [](bsi::Header& h) { h.refCount = 0x00FFFFFF; },
        [&](bsi::Header& h) { h.textOffset = size; },
        [](bsi::Header& h) { h.textOffset = 0xFFFFFFF0; },
        [](bsi::Header& h) { h.textSize = 0xFFFFFFFF; },
        [&](bsi::Header& h) { h.textSize = size; },
    };
    for (std::size_t k = 0; k < std::size(damages); ++k) {
        bsi::Header header = plain;
        damages[k](header);
        EXPECT_EQ(LoadBytes(index, dir, WithHeader(bytes, header)), ReadError(dir)) << k;
        ExpectFailedLoad(index);
    }
}

// A record is checked when a lookup first reads it, not at load: the load
// succeeds, every lookup that reaches the damaged record gives the read
// error, and the others still answer.
TEST_F(IndexLoad, RecordPointingOutsideItsBlocksGivesTheReadErrorWhenRead) {
    const std::string bytes = SampleBytes();
    const bsi::Header header = HeaderOf(bytes);
    const std::uint32_t t = header.textSize;
    const std::uint32_t r = header.refCount;
    const struct {
        HeadwordEntry record;
        bool inside;
    } cases[] = {
        {HeadwordEntry::Pack(t - 3, 3, r - 2, 2), true}, // ends exactly at both ends
        {HeadwordEntry::Pack(t, 0, r, 0), true},
        {HeadwordEntry::Pack(t - 3, 4, 0, 0), false},
        {HeadwordEntry::Pack(t + 1, 0, 0, 0), false},
        {HeadwordEntry::Pack(0xFFFFFF, 255, 0, 0), false},
        {HeadwordEntry::Pack(0, 0, r - 2, 3), false},
        {HeadwordEntry::Pack(0, 0, r + 1, 0), false},
        {HeadwordEntry::Pack(0, 0, 0xFFFFFF, 255), false},
    };
    const auto errorOf = [](const std::function<void()>& lookup) -> std::string {
        try {
            lookup();
        } catch (const cExcMsg& e) {
            return platform::ToUtf8(e.GetMsg());
        }
        return "";
    };
    for (std::uint32_t at = 0; at < header.headwordCount; ++at) {
        for (const auto& c : cases) {
            std::string record;
            bsi::AppendRecord(record, c.record);
            std::string damaged = bytes;
            damaged.replace(header.headwordOffset + at * bsi::kRecordSize, record.size(), record);
            ASSERT_EQ(LoadBytes(index, dir, damaged), "");
            ASSERT_EQ(index.Count(), kSampleInOrder.size());
            const std::string expected = c.inside ? "" : ReadError(dir);
            EXPECT_EQ(errorOf([&] { index.HeadwordText(at); }), expected) << at;
            EXPECT_EQ(errorOf([&] { index.GetRefs(at); }), expected) << at;
            const std::uint32_t other = (at + 1) % header.headwordCount;
            EXPECT_EQ(errorOf([&] { index.GetRefs(other); }), "") << at;
        }
    }
}

TEST_F(IndexLoad, HeadwordTableBeyondFourGigabytesGivesTheMemoryMessage) {
    // A sparse file really holds a table of 2^29 records, which the loader
    // never asks memory for: its size does not fit 32 bits.
    bsi::Header header;
    header.headwordOffset = bsi::kHeaderSize;
    header.headwordCount = 0x20000000;
    header.refOffset = header.textOffset = bsi::kHeaderSize;
    const bsi::HeaderBytes bytes = bsi::EncodeHeader(header);
    testing_support::WriteBytes(dir.File("index.bsi"), std::string(bytes.begin(), bytes.end()));
    std::error_code error;
    std::filesystem::resize_file(dir.File("index.bsi"), bsi::kHeaderSize + (1ull << 32), error);
    if (error) {
        GTEST_SKIP() << "no room for a sparse file: " << error.message();
    }
    EXPECT_EQ(LoadFile(index, dir.AnsiPath("index.bsi")), "Недостаточно памяти");
    ExpectFailedLoad(index);
}

TEST_F(IndexLoad, FailedLoadEmptiesALoadedIndex) {
    ASSERT_EQ(LoadBytes(index, dir, SampleBytes()), "");
    const std::string bytes = SampleBytes();
    EXPECT_EQ(LoadBytes(index, dir, bytes.substr(0, bytes.size() - 1)), ReadError(dir));
    ExpectFailedLoad(index);
}

} // namespace
