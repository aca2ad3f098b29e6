// SPDX-License-Identifier: GPL-2.0-or-later
// Full-text search through the lookup core: what it finds in several
// dictionaries, page by page, and what it says of an index that is missing,
// stale, damaged or rebuilt.
#include "articles/dictionary_files.h"
#include "dictbuild/dictionary_build.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::TempDir;

void Build(Language language, const std::string& tsv, const TempDir& dir) {
    std::istringstream in(tsv);
    BuildFromTsv(language, in, "test.tsv", dir.Path());
}

std::vector<std::string> Headwords(const FullTextPage& page) {
    std::vector<std::string> headwords;
    for (const FullTextHit& hit : page.hits) {
        headwords.push_back(ToUtf8(hit.headword));
    }
    return headwords;
}

// "vortoNNN" for `count` numbers, each article holding "kato" and its number.
std::string Numbered(int count) {
    std::string tsv;
    for (int n = 0; n < count; ++n) {
        std::string number = std::to_string(n);
        number.insert(0, 3 - number.size(), '0');
        tsv += "vorto" + number + "\tvorto" + number + " la kato numero " + number + "\n";
    }
    return tsv;
}

class FullTextSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Build(Language::Esperanto,
              "hundo\tсобака. La hundoj bojas.\n"
              "bona\tхороший. Bonan tagon!\n"
              "tago\tдень. Tago bona, nokto malbona.\n"
              "sxati\tлюбить. Mi sxatas vin.\n"
              "kato\tkato: кошка, не собака\n",
              main);
        Build(Language::Russian, "собака\thundo; собаки лают\nумный\tsaĝa\n", main);
        Build(Language::Esperanto, Numbered(120), second);
        WriteIndexes();
    }
    void WriteIndexes() {
        core.Open(Sources());
        for (std::size_t d = 0; d < 2; ++d) {
            core.FullText().Rebuild(d, true);
            core.FullText().Rebuild(d, false);
        }
    }
    std::vector<DictionarySource> Sources() const {
        return {{"unua", main.AnsiPath("")}, {"dua", second.AnsiPath(""), false, true}};
    }
    FullTextPage Search(const char* query, std::size_t page = 0) {
        return core.FullText().Search(FromUtf8(query), page);
    }

    TempDir main;
    TempDir second;
    LookupCore core;
};

TEST_F(FullTextSearchTest, WordsPhrasesAndFormsFindTheirArticles) {
    struct Case {
        const char* query;
        std::vector<std::string> headwords;
    };
    const Case cases[] = {
        {"hundo", {"hundo", "собака"}},   // a form in each direction
        {"HUNDOJN", {"hundo", "собака"}}, // the query's form, folded
        {"ŝati", {"ŝati"}},               // sxatas in the text
        {"bona tago", {"bona", "tago"}},  // both words, any order
        {"\"bona tago\"", {"bona"}},      // in this order: bonan tagon
        {"\"tago bona\"", {"tago"}},      // and the other
        {"\"bona tago", {"bona"}},        // an open quote runs to the end
        {"hundo tago", {}},               // no article holds both
        {"nenio", {}},
    };
    for (const Case& c : cases) {
        const FullTextPage page = Search(c.query);
        EXPECT_TRUE(page.error.empty()) << c.query;
        EXPECT_TRUE(page.problems.empty()) << c.query;
        std::vector<std::string> found = Headwords(page);
        std::erase_if(found, [](const std::string& h) { return h.starts_with("vorto"); });
        EXPECT_EQ(found, c.headwords) << c.query;
    }
}

TEST_F(FullTextSearchTest, RussianFormsFindEachOther) {
    const FullTextPage page = Search("собаки");
    if (Headwords(page) == std::vector<std::string>{"собака"}) {
        GTEST_SKIP() << "no Russian analyser";
    }
    EXPECT_EQ(Headwords(page), (std::vector<std::string>{"hundo", "kato", "собака"}));
}

TEST_F(FullTextSearchTest, AHitNamesItsDictionaryAndOpensItsArticleWithTheMatchMarked) {
    const FullTextPage page = Search("kato 007");
    ASSERT_EQ(page.hits.size(), 1u);
    const FullTextHit& hit = page.hits.front();
    EXPECT_EQ(hit.dictionary, 1u);
    EXPECT_EQ(hit.dictionaryName, "dua");
    EXPECT_TRUE(hit.esperanto);
    EXPECT_EQ(ToUtf8(hit.headword), "vorto007");
    std::vector<std::string> marked;
    for (const TextRange& mark : hit.marks) {
        marked.push_back(ToUtf8(hit.snippet.substr(mark.start, mark.end - mark.start)));
    }
    EXPECT_EQ(marked, (std::vector<std::string>{"kato", "007"}));
    const std::u16string article =
        core.ArticleOfRefs(true, {}, {NamedRefs{hit.dictionaryName, hit.refs}});
    EXPECT_NE(ToUtf8(article).find("vorto007 la kato numero 007"), std::string::npos);
    const std::vector<TextRange> matches = core.FullText().Matches(u"KATO", article);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(article.substr(matches[0].start, matches[0].end - matches[0].start), u"kato");
}

// A history step keeps an article's references, not its headword: the index
// names it again, in its own dictionary and direction only.
TEST_F(FullTextSearchTest, AnArticleIsNamedAgainByItsReferences) {
    const FullTextHit first = Search("собака").hits.at(0);
    const FullTextHit added = Search("kato 007").hits.at(0);
    ASSERT_EQ(first.dictionary, 0u);
    ASSERT_EQ(added.dictionary, 1u);
    FullTextSearch& search = core.FullText();
    const struct {
        bool esperanto;
        std::vector<ArticleRef> refs;
        std::string added;
        std::u16string headword;
    } cases[] = {
        {first.esperanto, first.refs, "", first.headword},
        {added.esperanto, added.refs, "dua", added.headword},
        {added.esperanto, added.refs, "", u""},     // not the first dictionary's article
        {first.esperanto, first.refs, "unua", u""}, // the first is no added one
        {!first.esperanto, first.refs, "", u""},
        {added.esperanto, added.refs, "tria", u""},
        {first.esperanto, {{first.refs[0].start, first.refs[0].end + 1}}, "", u""},
        {first.esperanto, {}, "", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(search.HeadwordOf(c.esperanto, c.refs, c.added)), ToUtf8(c.headword))
            << c.added << " " << c.esperanto;
    }
    // Without its index, nobody can tell.
    std::filesystem::remove(main.File(kEsperantoFiles.fulltext));
    std::filesystem::remove(main.File(kRussianFiles.fulltext));
    core.Open(Sources());
    EXPECT_EQ(ToUtf8(core.FullText().HeadwordOf(first.esperanto, first.refs)), "");
}

TEST_F(FullTextSearchTest, PagesOfFiftyCoverEveryHitOnceInOrder) {
    std::vector<std::string> all;
    std::vector<std::size_t> sizes;
    std::vector<bool> more;
    for (std::size_t p = 0; p < 4; ++p) {
        const FullTextPage page = Search("kato", p);
        sizes.push_back(page.hits.size());
        more.push_back(page.more);
        for (const std::string& h : Headwords(page)) {
            all.push_back(h);
        }
    }
    // kato and hundo's "kato" in the first dictionary, then the 120 numbered.
    EXPECT_EQ(sizes, (std::vector<std::size_t>{50, 50, 21, 0}));
    for (const std::size_t far :
         {std::size_t{1} << 40, SIZE_MAX / kFullTextPageSize + 1, SIZE_MAX}) {
        const FullTextPage page = core.FullText().Search(u"kato", far);
        EXPECT_TRUE(page.hits.empty()) << far;
        EXPECT_FALSE(page.more) << far;
    }
    EXPECT_EQ(more, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(all.front(), "kato");
    EXPECT_EQ(all[1], "vorto000");
    EXPECT_EQ(all.back(), "vorto119");
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    EXPECT_TRUE(std::is_sorted(all.begin() + 1, all.end()));
}

TEST_F(FullTextSearchTest, QueriesWithoutWordsOrWithOperatorsNeverReachTheEngine) {
    for (const char* query : {"", "\"", "*", "(", "\"\" () *", ":^-", "\x01\x02"}) {
        const FullTextPage page = Search(query);
        EXPECT_TRUE(page.hits.empty()) << query;
        EXPECT_FALSE(page.error.empty()) << query;
        EXPECT_TRUE(page.problems.empty()) << query;
    }
    for (const char* query : {"kato OR hundo", "kato NOT hundo", "kato*", "(kato", "body:kato",
                              "NEAR(kato hundo)", "kato^", "\"kato", "NEAR(", "body:"}) {
        const FullTextPage page = Search(query);
        EXPECT_TRUE(page.error.empty()) << query;
        EXPECT_TRUE(page.problems.empty()) << query;
    }
    const std::u16string huge(10000, u'(');
    EXPECT_FALSE(core.FullText().Search(huge + u"kato", 0).hits.empty());
}

TEST_F(FullTextSearchTest, ASetFlagStopsTheSearch) {
    std::atomic<bool> cancel{true};
    const FullTextPage page = core.FullText().Search(u"kato", 0, &cancel);
    EXPECT_TRUE(page.cancelled);
    cancel = false;
    EXPECT_FALSE(core.FullText().Search(u"kato", 0, &cancel).cancelled);
}

TEST_F(FullTextSearchTest, MissingStaleAndDamagedIndexesAreToldAndTheOthersAnswer) {
    const std::filesystem::path index = second.File(kEsperantoFiles.fulltext);
    struct Case {
        const char* what;
        std::function<void()> spoil;
        FullTextState state;
    };
    const Case cases[] = {
        {"removed", [&] { std::filesystem::remove(index); }, FullTextState::Missing},
        {"garbage", [&] { testing_support::WriteBytes(index, std::string(5000, 'x')); },
         FullTextState::Damaged},
        {"cut short",
         [&] {
             const std::string bytes = testing_support::ReadBytes(index);
             testing_support::WriteBytes(index, bytes.substr(0, bytes.size() / 3));
         },
         FullTextState::Damaged},
        {"dictionary changed", [&] { Build(Language::Esperanto, Numbered(121), second); },
         FullTextState::Stale},
    };
    for (const Case& c : cases) {
        WriteIndexes();
        c.spoil();
        core.Open(Sources());
        const FullTextPage page = Search("kato");
        ASSERT_EQ(page.problems.size(), 1u) << c.what;
        EXPECT_EQ(page.problems[0].state, c.state) << c.what;
        EXPECT_EQ(page.problems[0].name, "dua") << c.what;
        EXPECT_NE(page.problems[0].message.find("«dua»"), std::string::npos) << c.what;
        EXPECT_EQ(Headwords(page), std::vector<std::string>{"kato"}) << c.what;
        // Ordinary lookup does not notice.
        EXPECT_EQ(core.List(u"vorto00").LineCount(), 10u) << c.what;
        // A rebuild mends it.
        core.FullText().Rebuild(1, true);
        const std::vector<FullTextStatus> statuses = core.FullText().Statuses();
        for (const FullTextStatus& status : statuses) {
            EXPECT_EQ(status.state, FullTextState::Ready) << c.what << " " << status.message;
        }
        EXPECT_EQ(Search("kato").hits.size(), 50u) << c.what;
    }
}

TEST_F(FullTextSearchTest, AnIndexReplacedWhileOpenGoesOnAnswering) {
    ASSERT_EQ(Search("kato 007").hits.size(), 1u);
    // Another program rebuilds the index while this one has it open.
    LookupCore other(Sources());
    other.FullText().Rebuild(1, true);
    EXPECT_EQ(Search("kato 007").hits.size(), 1u);
}

// Each article is found once, under the first headword that opens it, and a
// headword's articles are found each on its own.
TEST(FullTextArticles, AnArticleIsOneHitUnderItsFirstHeadword) {
    TempDir dir;
    Build(Language::Esperanto,
          "domo\tdomo: дом. La domo estas granda.\tkabano\n"
          "domo\tdomo 2: здание kun muro\n",
          dir);
    LookupCore core;
    core.Open({{"unua", dir.AnsiPath(""), false, true}});
    core.FullText().Rebuild(0, true);
    const struct {
        const char* query;
        std::vector<std::string> headwords;
    } cases[] = {
        {"granda", {"domo"}}, // not again under kabano, which opens the same article
        {"muro", {"domo"}},   // the headword's second article
        {"granda muro", {}},  // two articles of one headword are not one text
        {"domo", {"domo", "domo"}},
    };
    for (const auto& c : cases) {
        const FullTextPage page = core.FullText().Search(FromUtf8(c.query), 0);
        EXPECT_EQ(Headwords(page), c.headwords) << c.query;
        for (const FullTextHit& hit : page.hits) {
            EXPECT_EQ(hit.refs.size(), 1u) << c.query;
        }
    }
}

} // namespace
