// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/offered_lines.h"
#include "forms/russian_stemmer.h"
#include "forms_index.h"
#include "index/language_indexes.h"
#include "support/index_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using forms_index::OfferedText;
using testing_support::Cp1251;
using testing_support::TempDir;

const std::vector<std::string> kHeadwords = {
    Cp1251("собака"),  Cp1251("любить"), Cp1251("читать"), Cp1251("красивый"), Cp1251("стол"),
    Cp1251("столица"), Cp1251("ёлка"),   Cp1251("ёж"),     Cp1251("ёжик"),     Cp1251("Москва"),
    Cp1251("книга"),   Cp1251("идти"),   Cp1251("чёрный"),
};

bool SystemDictionaryInstalled() {
    const std::string base = forms::kSystemRussianDictionary;
    return std::filesystem::exists(base + ".aff") && std::filesystem::exists(base + ".dic");
}

bool AnalyserInstalled() {
    return std::filesystem::exists(forms::kSystemRussianAnalyser);
}

class RussianForms : public testing::Test {
protected:
    void SetUp() override { index_files::LoadWords(m_index, m_dir, kHeadwords); }

    std::string Offered(const forms::FormFinder& finder, std::string_view utf8) const {
        return OfferedText(finder, m_index, false, Cp1251(utf8));
    }

    TempDir m_dir;
    cIndexRu m_index;
};

TEST_F(RussianForms, HunspellStemsAndYoReadingsFindTheHeadwords) {
    if (!SystemDictionaryInstalled()) {
        GTEST_SKIP() << "the Russian Hunspell dictionary (hunspell-ru) is not installed";
    }
    const forms::FormFinder finder;
    const struct {
        const char* query;
        const char* offered;
    } table[] = {
        // Nouns in several cases, capitals as typed.
        {"собаку", "собака"},
        {"собаками", "собака"},
        {"собаке", "собака"},
        {"СОБАКОЙ", "собака"},
        {"книгах", "книга"},
        {"столами", "стол столица/стол"}, // the equal headword, then those it begins
        // Verbs in several tenses and persons.
        {"любили", "любить"},
        {"люблю", "любить"},
        {"любят", "любить"},
        {"читала", "читать"},
        {"читаем", "читать"},
        // Adjectives in several cases and genders.
        {"красивыми", "красивый"},
        {"красивая", "красивый"},
        {"красивого", "красивый"},
        {"черными", "чёрный"},
        // ё written as е, in the word itself and in its inflected forms.
        {"елка", "ёлка"},
        {"елки", "ёлка"},
        {"еж", "ёж"}, // not "ёжик": a base form this short finds its equal only
        {"ежиком", "ёжик"},
        // A proper name typed in small letters.
        {"москвой", "Москва"},
        // Words the dictionary does not know, found headwords, several words.
        {"абырвалг", ""},
        {"стол", ""},
        {"собаку ест", ""},
    };
    for (const auto& c : table) {
        EXPECT_EQ(Offered(finder, c.query), c.offered) << "query " << c.query;
    }
}

TEST_F(RussianForms, TheDictionaryIsReadOnlyWhenARussianQueryFindsNothing) {
    if (!SystemDictionaryInstalled()) {
        GTEST_SKIP() << "the Russian Hunspell dictionary (hunspell-ru) is not installed";
    }
    const forms::FormFinder finder;
    EXPECT_FALSE(finder.Russian().Loaded());
    EXPECT_EQ(Offered(finder, "стол"), ""); // found as it is
    cIndexEo esperanto;
    index_files::LoadWords(esperanto, m_dir, {"hundo"});
    EXPECT_FALSE(finder.Offer(esperanto, true, "hundojn").lines.empty());
    EXPECT_FALSE(finder.Russian().Loaded());
    EXPECT_FALSE(finder.Analyser().Loaded());
    EXPECT_EQ(Offered(finder, "собаку"), "собака");
    EXPECT_EQ(finder.Analyser().Loaded(), AnalyserInstalled());
    EXPECT_EQ(Offered(finder, "абырвалг"), ""); // known to neither: the stemmer is asked
    EXPECT_TRUE(finder.Russian().Loaded());
}

TEST_F(RussianForms, WithoutTheDictionaryOnlyTheYoReadingsRemain) {
    TempDir empty;
    const forms::FormFinder finder((empty.Path() / "ru_RU").string(),
                                   (empty.Path() / "ru.automorf.bin").string());
    EXPECT_EQ(Offered(finder, "собаку"), "");
    EXPECT_EQ(Offered(finder, "любили"), "");
    EXPECT_EQ(Offered(finder, "елка"), "ёлка");
    EXPECT_FALSE(finder.Russian().Loaded());
}

TEST(RussianStemmer, ReadsTheDictionaryInItsOwnEncoding) {
    // One suffix rule (а → у) and one stem, in the encoding the .aff names.
    const struct {
        const char* set;
        bool cp1251;
        bool read;
    } table[] = {
        {"UTF-8", false, true},
        {"microsoft-cp1251", true, true},
        {"KOI8-R", true, false}, // an encoding the stemmer does not read: no stems
    };
    for (const auto& c : table) {
        TempDir dir;
        const auto bytes = [&](std::string_view utf8) {
            return c.cp1251 ? Cp1251(utf8) : std::string(utf8);
        };
        testing_support::WriteBytes(dir.File("ru.aff"), "SET " + std::string(c.set) +
                                                            "\nSFX A Y 1\n" +
                                                            bytes("SFX A а у а\n"));
        testing_support::WriteBytes(dir.File("ru.dic"), bytes("1\nсобака/A\n"));
        const forms::RussianStemmer stemmer((dir.Path() / "ru").string());
        const std::vector<std::string> expected =
            c.read ? std::vector<std::string>{Cp1251("собака")} : std::vector<std::string>{};
        EXPECT_EQ(stemmer.Stems(Cp1251("собаку")), expected) << c.set;
        EXPECT_EQ(stemmer.Loaded(), c.read) << c.set;
    }
}

TEST(RussianStemmer, WithoutThePluginTheDictionaryGivesNoStemsAndTheProblemSaysWhy) {
    // The plugin is needed, and missed, only when the dictionary's files are there.
    TempDir dir;
    testing_support::WriteBytes(dir.File("ru.aff"), "SET UTF-8\nSFX A Y 1\nSFX A а у а\n");
    testing_support::WriteBytes(dir.File("ru.dic"), "1\nсобака/A\n");
    const std::string missing = (dir.Path() / "no-such-plugin.so").string();
    const struct {
        std::string dictionary;
        std::string engines;
        bool stems;
        bool problem;
    } table[] = {
        {(dir.Path() / "ru").string(), "", true, false}, // the plugin beside the tests
        {(dir.Path() / "ru").string(), missing, false, true},
        {(dir.Path() / "absent").string(), missing, false, false},
    };
    for (const auto& c : table) {
        const forms::FormFinder finder(c.dictionary, (dir.Path() / "absent.bin").string(),
                                       c.engines);
        EXPECT_EQ(finder.EnginesProblem(), "") << "nothing is opened before a query needs it";
        const std::vector<std::string> expected =
            c.stems ? std::vector<std::string>{Cp1251("собака")} : std::vector<std::string>{};
        EXPECT_EQ(finder.Russian().Stems(Cp1251("собаку")), expected) << c.engines;
        EXPECT_EQ(finder.Russian().Loaded(), c.stems) << c.engines;
        if (c.problem) {
            EXPECT_NE(finder.EnginesProblem().find(missing), std::string::npos)
                << finder.EnginesProblem();
        } else {
            EXPECT_EQ(finder.EnginesProblem(), "") << c.dictionary;
        }
    }
}

} // namespace
