// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/bsi_format.h"
#include "index/index_writer.h"
#include "index/language_indexes.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using index_files::LoadBytes;
using index_files::Texts;
using testing_support::Cp1251;
using testing_support::TempDir;

bsi::Header HeaderOf(const std::string& bytes) {
    bsi::HeaderBytes header{};
    std::copy_n(bytes.begin(), bsi::kHeaderSize, header.begin());
    return bsi::DecodeHeader(header);
}

TEST(IndexWriter, LaysOutHeadwordsThenReferencesThenText) {
    const std::vector<HeadwordSource> sources = {{"ab", {{1, 2}}}, {"c", {{3, 4}, {5, 6}}}};
    const std::string bytes = BuildIndex(x_less(), sources);
    const bsi::Header header = HeaderOf(bytes);
    EXPECT_EQ(header.headwordOffset, 28u);
    EXPECT_EQ(header.headwordCount, 2u);
    EXPECT_EQ(header.refOffset, 28u + 16);
    EXPECT_EQ(header.refCount, 3u);
    EXPECT_EQ(header.textOffset, 28u + 16 + 24);
    EXPECT_EQ(header.textSize, 3u);
    EXPECT_EQ(bytes.size(), 28u + 16 + 24 + 3);
    EXPECT_EQ(bytes.substr(header.textOffset), "abc");
}

TEST(IndexWriter, SortsStablyByTheComparatorsOrder) {
    // "Ёж", "ёж" and "ЁЖ" are equal in the Russian order and keep their input order.
    const std::vector<std::string> words = {Cp1251("жук"), Cp1251("Ёж"), "b",
                                            Cp1251("ёж"),  Cp1251("ЁЖ"), Cp1251("ель")};
    TempDir dir;
    cIndexRu index;
    ASSERT_EQ(LoadBytes(index, dir, BuildIndex(my_less(), index_files::WithRefs(words))), "");
    EXPECT_EQ(Texts(index, {0, index.Count()}),
              (std::vector<std::string>{"b", Cp1251("ель"), Cp1251("Ёж"), Cp1251("ёж"),
                                        Cp1251("ЁЖ"), Cp1251("жук")}));
    EXPECT_EQ(index.GetRefs(2), (std::vector<ArticleRef>{{1000, 1001}}));
    EXPECT_EQ(index.GetRefs(4), (std::vector<ArticleRef>{{4000, 4001}}));
}

TEST(IndexWriter, RejectsHeadwordsTheFormatCannotHold) {
    const std::vector<ArticleRef> refs255(255, ArticleRef{1, 2});
    const struct {
        std::vector<HeadwordSource> sources;
        std::size_t faulty; // SIZE_MAX: accepted
    } cases[] = {
        {{{"a", {}}, {"b", {}}, {std::string(256, 'c'), {}}}, 2},
        {{{"a", {}}, {"b", std::vector<ArticleRef>(256, ArticleRef{1, 2})}}, 1},
        {{{std::string(255, 'c'), refs255}}, SIZE_MAX},
    };
    for (const auto& c : cases) {
        try {
            const std::string bytes = BuildIndex(x_less(), c.sources);
            EXPECT_EQ(c.faulty, SIZE_MAX);
            TempDir dir;
            cIndexEo index;
            ASSERT_EQ(LoadBytes(index, dir, bytes), "");
            EXPECT_EQ(index.HeadwordText(0), c.sources[0].text);
            EXPECT_EQ(index.GetRefs(0), c.sources[0].refs);
        } catch (const IndexWriteError& e) {
            EXPECT_EQ(e.Headword(), c.faulty) << e.what();
        }
    }
}

TEST(IndexWriter, RejectsATextBlockBeyondTwentyFourBits) {
    // 65793 headwords of 255 bytes fill the text block to 2^24 - 1 bytes.
    std::vector<HeadwordSource> sources(65793, HeadwordSource{std::string(255, 'a'), {}});
    EXPECT_NO_THROW(BuildIndex(my_less(), sources));
    sources.push_back({"a", {}});
    try {
        BuildIndex(my_less(), sources);
        ADD_FAILURE() << "a text block of 2^24 bytes was written";
    } catch (const IndexWriteError& e) {
        EXPECT_EQ(e.Headword(), IndexWriteError::kWholeIndex);
    }
}

TEST(IndexWriter, BlockOrderMustNameEachBlockOnce) {
    const BsiBlockOrder twice = {BsiBlock::Text, BsiBlock::Text, BsiBlock::Headwords};
    EXPECT_THROW(BuildIndex(x_less(), {}, twice), std::invalid_argument);
}

TEST(IndexWriter, WritesToAnOpenFileOrToAPath) {
    const std::vector<HeadwordSource> sources = {{"cxapelo", {{1, 2}}}, {"c", {}}};
    const std::string expected = BuildIndex(x_less(), sources);
    TempDir dir;

    WriteIndexFile(dir.AnsiPath("путь.bsi").c_str(), x_less(), sources);
    EXPECT_EQ(testing_support::ReadBytes(dir.File("путь.bsi")), expected);

    std::FILE* file = std::fopen(dir.File("open.bsi").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    WriteIndex(file, x_less(), sources);
    std::fclose(file);
    EXPECT_EQ(testing_support::ReadBytes(dir.File("open.bsi")), expected);

    EXPECT_THROW(WriteIndexFile(dir.AnsiPath("no/such/folder.bsi").c_str(), x_less(), sources),
                 std::runtime_error);
}

} // namespace
