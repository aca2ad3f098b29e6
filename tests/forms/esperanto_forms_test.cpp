// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/esperanto_forms.h"
#include "forms/offered_lines.h"
#include "forms_index.h"
#include "index/language_indexes.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using forms_index::OfferedText;
using testing_support::TempDir;

// A small dictionary in x-system spelling: the words the rules should reach,
// and words that begin like them or end like an inflection.
const std::vector<std::string> kHeadwords = {
    "hundo",   "hundobredisto", "hundoj", "kato",     "bela", "belo", "granda",  "hejme",
    "mangxi",  "mangxilo",      "rapida", "kiu",      "kio",  "kia",  "tia",     "tio",
    "tiu",     "sxi",           "ili",    "mia",      "unu",  "unuo", "kaj",     "mal-",
    "ek-",     "-ul-",          "-ej-",   "-et-",     "-an-", "sana", "malsana", "malsanulejo",
    "cxapelo", "e-posxto",      "Parizo", "gepatroj",
};

class EsperantoForms : public testing::Test {
protected:
    void SetUp() override { index_files::LoadWords(m_index, m_dir, kHeadwords); }

    std::string Offered(std::string_view query) const {
        return OfferedText(m_finder, m_index, true, query);
    }

    TempDir m_dir;
    cIndexEo m_index;
    forms::FormFinder m_finder{"/nonexistent/ru_RU"};
};

TEST_F(EsperantoForms, OffersTheHeadwordsOfTheBaseForms) {
    const struct {
        const char* query; // in index form, as the search box gives it
        const char* offered;
    } table[] = {
        // -jn, -j, -n: the equal headword first, then those it begins, none twice.
        {"hundojn", "hundo hundobredisto/hundo hundoj/hundo"},
        {"belaj", "bela"},
        {"katon", "kato"},
        {"grandajn", "granda"},
        {"hejmen", "hejme"},
        {"gepatrojn", "gepatroj/gepatro"},
        // Verbs, and participles with -a/-o/-e, -j and -n: the verb in -i.
        {"mangxas", "mangxi mangxilo/mangxi"},
        {"mangxis", "mangxi mangxilo/mangxi"},
        {"mangxos", "mangxi mangxilo/mangxi"},
        {"mangxus", "mangxi mangxilo/mangxi"},
        {"mangxu", "mangxi mangxilo/mangxi"},
        {"mangxantaj", "mangxi mangxilo/mangxi"},
        {"mangxintan", "mangxi mangxilo/mangxi"},
        {"mangxonte", "mangxi mangxilo/mangxi"},
        {"mangxata", "mangxi mangxilo/mangxi"},
        {"mangxitojn", "mangxi mangxilo/mangxi"},
        {"mangxoto", "mangxi mangxilo/mangxi"},
        // The other word-class endings, -o before -a before -e before -i.
        {"hunda", "hundo hundobredisto/hundo hundoj/hundo"},
        {"bele", "bela belo"},
        {"rapidi", "rapida"},
        {"rapidajn", "rapida"},
        // Pronouns and correlatives lose -j and -n and nothing else.
        {"kiujn", "kiu"},
        {"tiajn", "tia"},
        {"tiuj", "tiu"},
        {"sxin", "sxi"}, // and not "sxipo": a base form this short finds its equal only
        {"ilin", "ili"},
        {"mian", "mia"},
        {"unuj", "unu"}, // only the equal headword: "unu" begins "unuo" too
        {"kien", ""},    // "kie" is no headword here, and "kio" is another word
        // Affixes split off: the roots that are headwords, then the affixes'.
        {"malsanulo", "malsanulejo/malsanule malsana sana mal- -ul-"},
        {"malhundeto", "hundo mal- -et-"},
        {"ekmangxis", "mangxi ek-"},
        {"hundetojn", "hundo -et-"},
        // x-system spelling, capitals, an inner hyphen.
        {"MANGxANTAJ", "mangxi mangxilo/mangxi"},
        {"Hundojn", "hundo hundobredisto/hundo hundoj/hundo"},
        {"CxAPELOJN", "cxapelo"},
        {"parizon", "Parizo/parizo"},
        {"e-posxtojn", "e-posxto"},
        // Headwords that merely end like an inflection are found as they are.
        {"kaj", ""},
        {"tiu", ""},
        {"unu", ""},
        // Nothing to offer: no base form is a headword, or not one word.
        {"qqqojn", ""},
        {"on", ""}, // "o" would begin "ovo"
        {"hundojn kaj", ""},
        {"hund0jn", ""},
        {"-hundojn", ""},
        {"hundojn-", ""},
        {"", ""},
    };
    for (const auto& c : table) {
        EXPECT_EQ(Offered(c.query), c.offered) << "query " << c.query;
    }
}

TEST_F(EsperantoForms, AffixesAreOfferedOnlyBesideARootThatWasFound) {
    // "-an-" splits "malsanulo" as mal/s/an/ul too, but "s" is no root; a word
    // whose roots are no headwords gets no affix lines at all.
    EXPECT_EQ(Offered("malsanulo").find("-an-"), std::string::npos);
    EXPECT_EQ(Offered("malqqqulejo"), "");
}

TEST(OfferedLines, AtMostFiftyLinesNoneTwiceEachFoundByItsForm) {
    std::vector<std::string> words = {"hundo", "hundoj", "hunda"};
    for (int k = 0; k < 70; ++k) {
        words.push_back("hundo" + std::string(1, static_cast<char>('a' + k % 26)) +
                        std::to_string(k));
    }
    TempDir dir;
    cIndexEo index;
    index_files::LoadWords(index, dir, words);
    const forms::Offered offered =
        forms::FormFinder("/nonexistent/ru_RU").Offer(index, true, "hundojn");
    ASSERT_EQ(offered.lines.size(), forms::kMaxOfferedLines);
    EXPECT_EQ(index.HeadwordText(offered.lines.front().position), "hundo");
    for (std::size_t k = 0; k < offered.lines.size(); ++k) {
        const forms::OfferedLine& line = offered.lines[k];
        EXPECT_TRUE(index.GetLess().matches(offered.forms.at(line.form).key,
                                            index.HeadwordText(line.position)));
        for (std::size_t j = 0; j < k; ++j) {
            EXPECT_NE(offered.lines[j].position, line.position);
        }
    }
}

} // namespace

// The index's one base form is the first verb form, else the first form that
// lost -j/-n, of the full set of base forms: every way a word can be built
// from these parts must agree with it.
TEST(EsperantoIndexBase, AgreesWithTheFullSetOfBaseFormsOnEveryBuiltWord) {
    const char* roots[] = {"",   "a",   "ab", "hund", "sxat", "mi", "vi",  "sxi", "ki",  "ti",
                           "cx", "cxi", "du", "dek",  "dud",  "u",  "mal", "kur", "gxu", "neni"};
    const char* middles[] = {"",   "o",   "a",   "e",   "i",  "u",  "as", "is", "os",
                             "us", "ant", "int", "ont", "at", "it", "ot", "ek", "x"};
    const char* ends[] = {"", "o", "a", "e", "u", "j", "n", "jn", "oj", "ojn", "an", "ajn"};
    std::size_t checked = 0;
    for (const char* root : roots) {
        for (const char* middle : middles) {
            for (const char* end : ends) {
                const std::string word = std::string(root) + middle + end;
                std::string expected = word;
                bool verb = false;
                bool ending = false;
                for (const forms::BaseForm& form : forms::EsperantoBaseForms(word)) {
                    if (form.rule == forms::Rule::Verb && !verb) {
                        expected = form.key;
                        verb = true;
                    } else if (form.rule == forms::Rule::Ending && !verb && !ending) {
                        expected = form.key;
                        ending = true;
                    }
                }
                EXPECT_EQ(forms::EsperantoIndexBase(word), expected) << word;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 4000U);
    // And what it is for, spelled out.
    const std::pair<const char*, const char*> cases[] = {
        {"sxatas", "sxati"}, {"hundojn", "hundo"},  {"hunda", "hunda"},        {"vin", "vi"},
        {"kiujn", "kiu"},    {"dudekon", "dudeko"}, {"sxatantaj", "sxatanta"}, {"as", "as"},
    };
    for (const auto& [word, base] : cases) {
        EXPECT_EQ(forms::EsperantoIndexBase(word), base) << word;
    }
}
