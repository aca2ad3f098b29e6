// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/tsv_source.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<SourceArticle> Read(const std::string& text) {
    std::istringstream in(text);
    return ReadTsvSource(in);
}

TEST(TsvSource, ReadsArticlesEscapesAndExtraHeadwords) {
    const auto articles = Read("kato\tкошка\\nкот\n"
                               "\n"
                               "a\\b\tx\\\\y\\tz\r\n"
                               "homo\tчеловек\thomino|viro\n");
    ASSERT_EQ(articles.size(), 3u);
    EXPECT_EQ(articles[0].line, 1u);
    EXPECT_EQ(articles[0].text, "кошка\nкот");
    EXPECT_EQ(articles[1].line, 3u);
    EXPECT_EQ(articles[1].headword, "a\\b"); // escapes belong to articles only
    EXPECT_EQ(articles[1].text, "x\\y\tz");
    EXPECT_EQ(articles[2].extraHeadwords, (std::vector<std::string>{"homino", "viro"}));
}

TEST(TsvSource, RejectsMalformedLinesNamingThem) {
    const struct {
        const char* text;
        std::size_t line;
    } table[] = {
        {"ok\tfine\nno tab here\n", 2}, {"\tarticle\n", 1},      {"a\tb\tc\td\n", 1},
        {"a\tbad \\q escape\n", 1},     {"a\ttrailing \\\n", 1}, {"a\tb\tx||y\n", 1},
    };
    for (const auto& c : table) {
        try {
            Read(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const SourceError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.text;
            EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.line)),
                      std::string::npos);
        }
    }
}

} // namespace
