// SPDX-License-Identifier: GPL-2.0-or-later
// Russian base forms through the system's morphological analyser
// (apertium-rus-ukr) and the spelling dictionary (hunspell-ru); each case
// skips itself, saying so, where its package is not installed.
#include "forms/offered_lines.h"
#include "forms/russian_analyser.h"
#include "forms_index.h"
#include "index/language_indexes.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using forms_index::FirstLinesText;
using testing_support::Cp1251;
using testing_support::TempDir;

const std::vector<std::string> kHeadwords = {
    Cp1251("любовь"),  Cp1251("человек"), Cp1251("я"),       Cp1251("быть"),    Cp1251("былое"),
    Cp1251("год"),     Cp1251("тот"),     Cp1251("тема"),    Cp1251("идти"),    Cp1251("ёлка"),
    Cp1251("ребёнок"), Cp1251("хороший"), Cp1251("Америка"), Cp1251("Азия"),    Cp1251("мы"),
    Cp1251("мнение"),  Cp1251("читать"),  Cp1251("дом"),     Cp1251("ребенок"),
};

bool Installed(const std::string& path) {
    return std::filesystem::exists(path);
}

const bool kAnalyser = Installed(forms::kSystemRussianAnalyser);
const bool kHunspell = Installed(std::string(forms::kSystemRussianDictionary) + ".dic");

class RussianAnalysis : public testing::Test {
protected:
    void SetUp() override { index_files::LoadWords(m_index, m_dir, kHeadwords); }

    std::string First(const forms::FormFinder& finder, std::string_view utf8) const {
        return FirstLinesText(finder, m_index, false, Cp1251(utf8));
    }

    TempDir m_dir;
    cIndexRu m_index;
};

TEST_F(RussianAnalysis, LemmasOfCasesTensesAndSuppletiveForms) {
    if (!kAnalyser) {
        GTEST_SKIP() << "the Russian analyser (apertium-rus-ukr) is not installed";
    }
    const forms::FormFinder finder("/nonexistent/ru_RU");
    const struct {
        const char* query;
        const char* lines;
    } table[] = {
        // Cases.
        {"любви", "любовь"},
        {"любовью", "любовь"},
        {"домами", "дом"},
        {"хорошего", "хороший"},
        // Tenses and persons; "было" begins "былое" and is no headword.
        {"было", "быть"},
        {"будет", "быть"},
        {"будем", "быть"},
        // Suppletive forms.
        {"люди", "человек"},
        {"людей", "человек"},
        {"меня", "я"},
        {"мне", "я"},
        {"нас", "мы"},
        {"лет", "год"}, // the lemma's homonym mark taken off
        {"шёл", "идти"},
        {"шли", "идти"},
        {"дети", "ребенок ребёнок"},
        // Several lemmas: a pronoun's before a noun's.
        {"тем", "тот тема"}, // the pronoun before the noun
        // ё, written or not.
        {"ёлки", "ёлка"},
        {"елки", "ёлка"},
        {"ребенка", "ребенок ребёнок"}, // the spelling as typed first
        {"ребёнка", "ребёнок"},
        // Capitals as typed.
        {"ЛЮБВИ", "любовь"},
        // Headwords, too short, unknown: nothing first.
        {"любовь", ""},
        {"я", ""},
        {"абырвалг", ""},
    };
    for (const auto& c : table) {
        EXPECT_EQ(First(finder, c.query), c.lines) << "query " << c.query;
    }
    EXPECT_TRUE(finder.Analyser().Loaded());
    EXPECT_FALSE(finder.Russian().Loaded()); // "абырвалг" asked no dictionary that is not there
}

TEST_F(RussianAnalysis, TheSpellingDictionaryServesWhatTheAnalyserDoesNotKnow) {
    if (!kHunspell) {
        GTEST_SKIP() << "the Russian Hunspell dictionary (hunspell-ru) is not installed";
    }
    // Words the analyser does not know, and names typed in small letters,
    // beginning with the code page's first letter «а» (0xE0) as with any
    // other: known only capitalised.
    const struct {
        const char* query;
        const char* lines;
    } table[] = {
        {"читала", "читать"}, {"читаем", "читать"}, {"америкой", "Америка"},
        {"азии", "Азия"},     {"азией", "Азия"},
    };
    for (const bool withAnalyser : {false, true}) {
        if (withAnalyser && !kAnalyser) {
            continue;
        }
        const forms::FormFinder finder(forms::kSystemRussianDictionary,
                                       withAnalyser ? forms::kSystemRussianAnalyser
                                                    : "/nonexistent/ru.bin");
        for (const auto& c : table) {
            EXPECT_EQ(First(finder, c.query), c.lines)
                << "query " << c.query << (withAnalyser ? " with" : " without") << " the analyser";
        }
    }
}

TEST(RussianAnalyser, ManyWordsAtOnceGetWhatEachGetsAlone) {
    if (!kAnalyser) {
        GTEST_SKIP() << "the Russian analyser (apertium-rus-ukr) is not installed";
    }
    const forms::RussianAnalyser analyser;
    // Unknown words, words the analyser refuses to be given and an empty one
    // among known ones: each keeps its place.
    const std::vector<std::string> words = {
        Cp1251("любви"), Cp1251("людьми"), Cp1251("зюзюка"), "",
        Cp1251("a^b$"),  Cp1251("тем"),    Cp1251("стали"),  Cp1251("ёлки"),
        "hundo",         Cp1251("мы\nвы"), Cp1251("шли"),
    };
    std::vector<std::vector<std::string>> alone;
    for (const std::string& word : words) {
        alone.push_back(analyser.Lemmas(word));
    }
    // A small batch, and batches large enough to be split between two
    // analysers, each cut at another word.
    for (const std::size_t count : {words.size(), std::size_t{4099}, std::size_t{4106}}) {
        std::vector<std::string> batch;
        for (std::size_t k = 0; k < count; ++k) {
            batch.push_back(words[k % words.size()]);
        }
        const std::vector<std::vector<std::string>> together = analyser.Lemmas(batch);
        ASSERT_EQ(together.size(), batch.size());
        for (std::size_t k = 0; k < batch.size(); ++k) {
            ASSERT_EQ(together[k], alone[k % words.size()]) << k << " of " << count;
        }
    }
    const std::vector<std::vector<std::string>> together = analyser.Lemmas(words);
    EXPECT_EQ(together[0], std::vector<std::string>{Cp1251("любовь")});
    EXPECT_TRUE(analyser.Lemmas(std::vector<std::string>{}).empty());
}

TEST(RussianAnalyserOutput, ReadsOnlyWellFormedAnalyses) {
    const struct {
        const char* line;
        std::vector<std::string> lemmas;
    } table[] = {
        {"^любви/любовь<n><f><sg><gen>/любовь<n><f><pl><nom>$\n", {"любовь"}},
        {"^тем/тема<n><pl>/тот<prn><dem>$", {"тот", "тема"}},
        {"^в/в<pr>/в<n><abbr>$", {"в"}},
        {"^лет/год²<n><m>$", {"год"}},
        {"^x/год¹³<n>$", {"год"}},
        {"^x/a#b<vblex>$", {"a"}},
        {"^x/a+b<n>$", {"a"}},
        {"^абырвалг/*абырвалг$", {}},
        {"^x/<n>/$", {}},
        {"^x$", {}},
        {"^x/y", {}},
        {"x/y$", {}},
        {"", {}},
        {"$^x/y", {}},
        {"^x/y$^z/w$", {"y"}},
        {"^x/y^z/w$", {}}, // a second word begun before the first ended
    };
    for (const auto& c : table) {
        EXPECT_EQ(forms::LemmasOfAnalysis(c.line), c.lemmas) << "line " << c.line;
    }
}

TEST(RussianAnalyser, ADamagedOrMissingFileGivesNoLemmas) {
    if (!kAnalyser) {
        GTEST_SKIP() << "the Russian analyser (apertium-rus-ukr) is not installed";
    }
    const std::string whole = testing_support::ReadBytes(forms::kSystemRussianAnalyser);
    std::string flipped = whole.substr(0, 4096);
    for (std::size_t i = 16; i < flipped.size(); i += 97) {
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    }
    const struct {
        const char* name;
        std::string bytes;
    } table[] = {
        {"empty", ""},
        {"garbage", std::string(300, '\xFF')},
        // lttoolbox's mark, then counts it would take seconds to go through.
        {"marked garbage", "LTTB" + std::string(8, '\0') + std::string(300, '\xFF')},
        {"truncated", whole.substr(0, 3000)},
        {"flipped", flipped},
    };
    for (const auto& c : table) {
        TempDir dir;
        testing_support::WriteBytes(dir.File("ru.bin"), c.bytes);
        const forms::RussianAnalyser analyser((dir.Path() / "ru.bin").string());
        const std::vector<std::string> lemmas = analyser.Lemmas(Cp1251("любви"));
        EXPECT_TRUE(lemmas.empty() || lemmas == std::vector<std::string>{Cp1251("любовь")})
            << c.name;
    }
    const forms::RussianAnalyser missing("/nonexistent/ru.bin");
    EXPECT_TRUE(missing.Lemmas(Cp1251("любви")).empty());
    EXPECT_FALSE(missing.Loaded());
}

} // namespace
