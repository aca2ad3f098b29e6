// SPDX-License-Identifier: GPL-2.0-or-later
// The words as the full-text index sees them: folding, base forms, the
// query's words and phrases, and the snippet's cut and marks.
#include "forms/russian_analyser.h"
#include "fulltext/query.h"
#include "fulltext/snippet.h"
#include "fulltext/words.h"
#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

std::vector<std::string> Keys(const std::string& utf8) {
    std::vector<std::string> keys;
    for (const fulltext::Word& word : fulltext::Words(FromUtf8(utf8))) {
        keys.push_back(word.key);
    }
    return keys;
}

TEST(FullTextWords, FoldAsTheHeadwordIndexComparesAndSplitAtEverythingElse) {
    struct Case {
        const char* text;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {"Ĉu ŜATI ĝin?", {"cxu", "sxati", "gxin"}},
        {"sxati", {"sxati"}}, // already in x-system spelling
        {"Ёлка ЁЖИК", {"елка", "ежик"}},
        {"соба\u0301ка", {"собака"}}, // a stress mark is no break
        {"hundo-kato,mus\u00A0o", {"hundo", "kato", "mus", "o"}},
        {"2024 a1", {"2024", "a1"}},
        {"\u0301 \t\r\n—", {}}, // a stress mark alone is no word
        {"\"AND\" (OR) NOT* body:x NEAR/2", {"and", "or", "not", "body", "x", "near", "2"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Keys(c.text), c.keys) << c.text;
    }
}

TEST(FullTextWords, RangesAreTheWordsUnitsWithTheirStressMarks) {
    const std::u16string text = FromUtf8("ab соба\u0301ка, ŭ");
    const std::vector<fulltext::Word> words = fulltext::Words(text);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(ToUtf8(text.substr(words[1].start, words[1].end - words[1].start)), "соба\u0301ка");
    EXPECT_EQ(words[2].start, text.size() - 1);
    EXPECT_EQ(words[2].end, text.size());
}

TEST(FullTextWords, AVeryLongWordIsCutAtAWholeCharacter) {
    EXPECT_EQ(fulltext::FoldWord(FromUtf8(std::string(200, 'a'))),
              std::string(fulltext::kMaxKeyBytes, 'a'));
    // 'a' then two-byte letters: the cut falls before the letter that would not fit.
    const std::string folded = fulltext::FoldWord(u"a" + std::u16string(100, u'ж'));
    EXPECT_EQ(folded.size(), fulltext::kMaxKeyBytes - 1);
    EXPECT_EQ(FromUtf8(folded), u"a" + std::u16string((fulltext::kMaxKeyBytes - 2) / 2, u'ж'));
}

class BaseKeysTest : public ::testing::Test {
protected:
    std::string Base(const char* word) { return keys.Of(fulltext::FoldWord(FromUtf8(word))); }
    forms::RussianAnalyser analyser;
    fulltext::BaseKeys keys{analyser};
};

TEST_F(BaseKeysTest, FormsOfOneWordShareTheirKeyAndOtherWordsDoNot) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"hundo", "hundojn", true}, {"hundo", "hundoj", true}, {"hundo", "HUNDON", true},
        {"ŝati", "ŝatas", true},    {"ŝati", "sxatis", true},  {"ŝati", "ŝatus", true},
        {"bona", "bonan", true},    {"tago", "tagon", true},   {"hundo", "hunda", false},
        {"bona", "malbona", false}, {"ŝati", "ŝato", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base(c.a) == Base(c.b), c.same) << c.a << " / " << c.b;
    }
}

TEST_F(BaseKeysTest, RussianFormsShareTheAnalysersLemma) {
    if (Base("собаки") == "собаки") {
        GTEST_SKIP() << "no Russian analyser (" << forms::kSystemRussianAnalyser << ")";
    }
    const char* forms[] = {"собака", "собаки", "собакой", "СОБАК", "соба\u0301ку"};
    for (const char* form : forms) {
        EXPECT_EQ(Base(form), "собака") << form;
    }
    EXPECT_EQ(Base("умные"), Base("умный"));
    EXPECT_NE(Base("кошка"), Base("собака"));
    EXPECT_EQ(Base("ёлки"), Base("елка")); // ё read as е on both sides
}

TEST_F(BaseKeysTest, QueriesAreWordsAndQuotedPhrasesAndNothingElse) {
    struct Case {
        std::string typed;
        std::vector<std::vector<std::string>> phrases;
        bool error;
    };
    const Case cases[] = {
        {"hundo kato", {{"hundo"}, {"kato"}}, false},
        {"\"bona tago\"", {{"bona", "tago"}}, false},
        {"\"bonan tagon", {{"bona", "tago"}}, false}, // an open quote runs to the end
        {"kato \"bona tago\" hundojn", {{"kato"}, {"bona", "tago"}, {"hundo"}}, false},
        {"\"\" \"  \"kato", {{"kato"}}, false},
        {"kato OR NOT(hundo*)", {{"kato"}, {"or"}, {"not"}, {"hundo"}}, false},
        {"body:kato^ -hundo", {{"body"}, {"kato"}, {"hundo"}}, false},
        {"\x01kato\x7f\x1b[0m", {{"kato"}, {"0m"}}, false},
        {"*** \"\" () : ^", {}, true},
        {"", {}, true},
    };
    for (const Case& c : cases) {
        const fulltext::Query query = fulltext::ParseQuery(FromUtf8(c.typed), keys);
        EXPECT_EQ(query.phrases, c.phrases) << c.typed;
        EXPECT_EQ(!query.error.empty(), c.error) << c.typed;
    }
}

TEST_F(BaseKeysTest, LongQueriesAreRefusedByWordsNotByLength) {
    std::u16string manyWords;
    for (int i = 0; i < 5000; ++i) {
        manyWords += u"a ";
    }
    EXPECT_FALSE(fulltext::ParseQuery(manyWords, keys).error.empty());
    std::u16string exactly(fulltext::kMaxQueryWords * 2, u' ');
    for (std::size_t i = 0; i < fulltext::kMaxQueryWords; ++i) {
        exactly[2 * i] = u'a';
    }
    EXPECT_TRUE(fulltext::ParseQuery(exactly, keys).error.empty());
    EXPECT_FALSE(fulltext::ParseQuery(exactly + u"b", keys).error.empty());
    const fulltext::Query oneLong = fulltext::ParseQuery(std::u16string(10000, u'k'), keys);
    EXPECT_TRUE(oneLong.error.empty());
    ASSERT_EQ(oneLong.phrases.size(), 1u);
}

TEST_F(BaseKeysTest, TheEnginesQueryQuotesEveryKey) {
    const fulltext::Query query = fulltext::ParseQuery(u"kato \"bona tago\"", keys);
    EXPECT_EQ(fulltext::MatchExpression(query.phrases), "\"kato\" AND \"bona tago\"");
}

// The snippet of an article for a query: its text and the marked parts.
struct Shown {
    std::string text;
    std::vector<std::string> marked;
};

Shown Show(fulltext::BaseKeys& keys, const std::string& query, const std::string& article) {
    const std::u16string text = FromUtf8(article);
    const fulltext::Query parsed = fulltext::ParseQuery(FromUtf8(query), keys);
    const fulltext::Snippet snippet =
        fulltext::MakeSnippet(text, fulltext::MatchedWords(text, parsed, keys));
    Shown shown{ToUtf8(snippet.text), {}};
    for (const auto& [start, end] : snippet.marks) {
        shown.marked.push_back(ToUtf8(snippet.text.substr(start, end - start)));
    }
    return shown;
}

TEST_F(BaseKeysTest, SnippetsShowTheFirstMatchWithItsWordsMarked) {
    const std::string filler = "unu du tri kvar kvin ses sep ok naux dek ";
    struct Case {
        std::string query;
        std::string article;
        std::string text;
        std::vector<std::string> marked;
    };
    const Case cases[] = {
        {"hundo", "La hundoj\r\n\tbojas.", "La hundoj bojas.", {"hundoj"}},
        {"ŝati", "mi sxatas vin, vi ŝatis min", "mi sxatas vin, vi ŝatis min", {"sxatas", "ŝatis"}},
        {"kato", "hundo", "hundo", {}}, // no match: the article's beginning
        {"kato",
         filler + "granda kato " + filler,
         "…ses sep ok naux dek granda kato unu du tri kvar kvin ses sep ok naux dek",
         {"kato"}},
        {"kato",
         "kato " + filler + filler + filler,
         "kato unu du tri kvar kvin ses sep ok naux dek unu du tri kvar kvin ses sep ok naux dek "
         "unu du tri…",
         {"kato"}},
    };
    for (const Case& c : cases) {
        const Shown shown = Show(keys, c.query, c.article);
        EXPECT_EQ(shown.text, c.text) << c.query << " in " << c.article;
        EXPECT_EQ(shown.marked, c.marked) << c.query << " in " << c.article;
    }
}

TEST_F(BaseKeysTest, ASnippetKeepsItsMatchWholeBesideVeryLongWords) {
    const std::string longWord(300, 'z');
    for (const std::string& article :
         {"kato " + longWord, longWord + " kato", longWord + " kato " + longWord}) {
        const Shown shown = Show(keys, "kato", article);
        EXPECT_EQ(shown.marked, std::vector<std::string>{"kato"}) << article.size();
        EXPECT_LE(shown.text.size(), article.size() + 6) << article.size();
    }
}

} // namespace
