// SPDX-License-Identifier: GPL-2.0-or-later
// The lines a list shows first for an Esperanto word that is no headword,
// whatever headwords it begins: the grammar's base forms and, when none is a
// headword, the parts of the word's analysis.
#include "forms/esperanto_analysis.h"
#include "forms/offered_lines.h"
#include "forms_index.h"
#include "index/language_indexes.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

using forms_index::FirstLinesText;
using testing_support::TempDir;

// Words the rules should reach, and words that begin like the queries
// ("kapono", "estuaro", "onidiro") so that their prefix ranges are not empty.
const std::vector<std::string> kHeadwords = {
    "li",   "oni",     "onidiro", "vi",    "via",    "si",    "sia",     "cxiu",   "kiu",
    "tiu",  "tia",     "kies",    "kapo",  "kapono", "esti",  "estuaro", "rapida", "rapido",
    "bona", "mal-",    "ne-",     "du",    "dek",    "tri",   "cent",    "hundo",  "kuiri",
    "-ej-", "vortaro", "analizo", "ami",   "fari",   "tempo", "kato",    "sana",   "-ul-",
    "el",   "iri",     "-in-",    "sxipo", "sxi",
};

class FirstLines : public testing::Test {
protected:
    void SetUp() override { index_files::LoadWords(m_index, m_dir, kHeadwords); }

    TempDir m_dir;
    cIndexEo m_index;
    forms::FormFinder m_finder{"/nonexistent/ru_RU", "/nonexistent/ru.bin"};
};

TEST_F(FirstLines, GrammarThenAnalysisWhateverTheQueryBegins) {
    const struct {
        const char* query;
        const char* lines;
    } table[] = {
        // Personal pronouns, oni, si, with -n; possessives lead on to the pronoun.
        {"lin", "li"},
        {"onin", "oni"},
        {"sin", "si"},
        {"sxin", "sxi"}, // and not "sxipo"
        {"vian", "via vi"},
        {"siajn", "sia si"},
        // Correlatives: -n after -u, -jn after -u and -a.
        {"kiun", "kiu"},
        {"tiun", "tiu"},
        {"cxiun", "cxiu"},
        {"kiujn", "kiu"},
        {"tiajn", "tia"},
        // Inflections whose query begins other headwords.
        {"kapon", "kapo kapono/kapo"},
        {"estu", "esti"},
        {"estus", "esti"},
        {"faru", "fari"},
        {"amu", "ami"},
        {"farita", "fari"},
        {"amata", "ami"},
        // Adverbs: the adjective first.
        {"rapide", "rapida rapido"},
        // Affixes.
        {"malbona", "bona mal-"},
        {"nebona", "bona ne-"},
        {"malsanulo", "sana mal- -ul-"},
        // Numerals written together.
        {"dudek", "du dek"},
        {"tricent", "tri cent"},
        {"dekdu", "dek du"},
        // No base form is a headword: the word's parts.
        {"hundokuirejo", "hundo kuiri -ej-"},
        {"hundokuirejojn", "hundo kuiri -ej-"},
        {"vortaranalizo", "vortaro analizo"},
        {"katohundo", "kato hundo"},
        {"elirejo", "el iri -ej-"},
        {"kuirinhundo", "kuiri -in- hundo"},
        {"tiutempe", "tiu tempo"},
        {"cxiuhundaj", "cxiu hundo"},
        // Headwords list as they are; too short, or not one word: nothing first.
        {"oni", ""},
        {"kies", ""},
        {"kapo", ""},
        {"li", ""},
        {"on", ""},
        {"kapon kaj", ""},
        // No plausible split.
        {"ejhundo", ""},    // a suffix before any root
        {"hundmalejo", ""}, // a prefix after a root
        {"hundoqqo", ""},   // a letter left over
    };
    for (const auto& c : table) {
        EXPECT_EQ(FirstLinesText(m_finder, m_index, true, c.query), c.lines) << "query " << c.query;
    }
}

// A dictionary of a few keys, counting the questions asked of it.
struct CountingDictionary {
    std::set<std::string, std::less<>> keys;
    std::size_t asked = 0;
    std::size_t limit = 0;

    forms::IsHeadword Test() {
        return [this](std::string_view key) {
            if (++asked > limit) {
                throw std::runtime_error("the analysis asked too many questions");
            }
            return keys.count(key) > 0;
        };
    }
};

TEST(EsperantoAnalysis, SplitsIntoHeadwordsOrNotAtAll) {
    const std::set<std::string, std::less<>> keys = {
        "hundo", "hunda",   "kuiri", "-ej-",   "-et-", "mal-", "bona", "vortaro", "vorto",
        "-ar-",  "analizo", "domo",  "dometo", "el",   "iri",  "kato", "ek-",     "sxipo"};
    using Parts = std::vector<forms::WordPart>;
    const struct {
        const char* word;
        Parts parts;
    } table[] = {
        {"hundokuirejo", {{"hundo"}, {"kuiri"}, {"-ej-", true}}},
        {"HundoKuirejoj", {{"hundo"}, {"kuiri"}, {"-ej-", true}}},
        // The fewest parts: vortaro + analizo, not vorto + -ar- + analizo.
        {"vortaranalizo", {{"vortaro"}, {"analizo"}}},
        {"vortoanalizo", {{"vorto"}, {"analizo"}}},
        // Longest root first among splits of as many parts.
        {"malbonhunda", {{"mal-", true}, {"bona"}, {"hundo"}}},
        {"ekiri", {{"ek-", true}, {"iri"}}},
        {"sxipkuirejo", {{"sxipo"}, {"kuiri"}, {"-ej-", true}}},
        // One part is no analysis; a word whose every split leaves something
        // out, or puts an affix where it cannot stand, has none.
        {"hundo", {}},
        {"hundetoj", {{"hundo"}, {"-et-", true}}},
        {"ejhundo", {}},
        {"hundmalo", {}},
        {"hundokatzo", {}},
        {"hundoo", {}},
        {"hundo-kato", {}},
        {"hund", {}}, // no ending
        {"o", {}},
        {"", {}},
        // A split must not cut an accented letter's x-system spelling.
        {"sxipxo", {}},
    };
    for (const auto& c : table) {
        CountingDictionary dictionary{keys, 0, 100000};
        EXPECT_EQ(forms::AnalyseEsperantoWord(c.word, dictionary.Test()), c.parts)
            << "word " << c.word;
    }
}

TEST(EsperantoAnalysis, ALongNonsenseWordCostsFewQuestions) {
    // Roots of two and of three letters tile any run of a's in very many ways;
    // the "z" at the end makes every one of them fail.
    CountingDictionary dictionary{{"aao", "aaao", "aaaaao"}, 0, 8000};
    const std::string word = std::string(58, 'a') + "zo";
    EXPECT_TRUE(forms::AnalyseEsperantoWord(word, dictionary.Test()).empty());
    EXPECT_GT(dictionary.asked, 0U);
    // Without the z, a split exists and is found as cheaply.
    dictionary.asked = 0;
    const std::vector<forms::WordPart> parts =
        forms::AnalyseEsperantoWord(std::string(60, 'a') + "o", dictionary.Test());
    EXPECT_EQ(parts.size(), 12U); // twelve roots of five letters
}

} // namespace
