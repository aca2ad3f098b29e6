// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/index_check.h"
#include "importing/import_writer.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "revo/revo_entries.h"
#include "revo/revo_import.h"
#include "revo/revo_parser.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;
using testing_support::ReadBytes;
using testing_support::TempDir;

const std::filesystem::path kFixtures = std::filesystem::path(KELIMBO_FIXTURES) / "revo/fixtures";

std::string Shown(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return shown;
}

// The fixtures imported once, as `kelimbo-index revo` does it.
class RevoFixtures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<TempDir>();
        const RevoFolders folders = LocateRevo(kFixtures, std::nullopt);
        RevoParser parser(folders.dtd);
        s_import = std::make_unique<RevoImport>(ImportRevo(folders.xml, parser));
        std::vector<ImportedDirection> directions(2);
        directions[0] = {Language::Esperanto,
                         ProvenanceNote(RevoProvenance(Language::Esperanto, s_import->newestDate),
                                        std::chrono::system_clock::now()),
                         s_import->esperanto};
        directions[1] = {Language::Russian,
                         ProvenanceNote(RevoProvenance(Language::Russian, s_import->newestDate),
                                        std::chrono::system_clock::now()),
                         s_import->russian};
        s_reports = WriteImportedDirections(directions, s_dir->Path());
    }
    static void TearDownTestSuite() {
        s_dir.reset();
        s_import.reset();
    }

    // The article of the line that is the typed word itself, else of the first line.
    static std::string Article(const std::string& typed) {
        LookupCore folder(s_dir->AnsiPath(""));
        const ListResult list = folder.List(FromUtf8(typed));
        if (list.lines.empty()) {
            return "(not found)";
        }
        return ToUtf8(folder.Article(list, list.exactLines.empty() ? 0 : list.exactLines[0]));
    }

    static std::unique_ptr<TempDir> s_dir;
    static std::unique_ptr<RevoImport> s_import;
    static std::vector<DirectionReport> s_reports;
};

std::unique_ptr<TempDir> RevoFixtures::s_dir;
std::unique_ptr<RevoImport> RevoFixtures::s_import;
std::vector<DirectionReport> RevoFixtures::s_reports;

TEST_F(RevoFixtures, ArticlesOfBothDirections) {
    const struct {
        const char* typed;
        const char* article;
    } table[] = {
        // Translated as a whole; every sense shown, its example under it.
        {"kato", "kato\nзоол.\nкошка, кот\n1. Malgranda hejma besto kun mola felo, kiu ĉasas "
                 "musojn.\n   kato ne estas ŝafo\n2. Ĉiu besto el la sama familio, ekz. leono aŭ "
                 "tigro.\n"},
        // The only sense of a derivation translated as a whole, its examples
        // with and without Russian, a synonym.
        {"katido", "katido\nкотёнок\nIdo de kato.\n   ludema katido (ĉiam ludanta) — игривый "
                   "котёнок\n   la katidoj dormas\nсин. kateto\n"},
        // Senses numbered; the one without Russian shown with its definition.
        {"kata", "kata\nприл.\n1. кошачий\n   Rilata al katoj.\n2. вкрадчивый, крадущийся (о "
                 "походке)\n   перен. Silenta kaj ruza, kiel kato.\n3. Havanta nenian rusan "
                 "tradukon.\n"},
        // Subderivations, senses and subsenses; a sense whose only Russian is
        // in its example.
        {"cxapelo", "ĉapelo\nшляпа\nA. Vestaĵo por la kapo.\n   1. Kapvesto kun rando.\n"
                    "      a) Alta kapvesto de sinjoroj.\n         nigra ĉapelo\n"
                    "      b) Mola kapvesto de virinoj.\n   2. Io simila al kapvesto.\n"
                    "      ĉapelo de fungo — шляпка гриба\nB. Supra parto de turo.\n"},
        // <tld lit> replaces the root's first letter, here one of two bytes.
        {"Cxapelo", "Ĉapelo\nШапель\nMonto elpensita por la testoj.\n"},
        // A variant finds the article; <tld lit> gives the capital.
        {"leona kato", "Granda Kato, Leona Kato\nБольшая Кошка\nастр. Stelfiguro elpensita por "
                       "la testoj (Felis Magna).\n"},
        {"sovagxkato", "sovaĝkato\nдикая кошка\nKato vivanta en arbaro.\n"},
        // <tld/> is the head's root whatever variants the head has; a variant
        // of a derivation (<tld var>) and one of the head that no derivation
        // gives open the head's own derivation.
        {"flora", // a definition of any length, whole
         "flora\nцветочный\nRilata al floroj, kiujn oni kreskigas en ĝardenoj, parkoj kaj sur "
         "balkonoj de la urbo, kaj kiujn oni donacas al amikoj dum festoj, naskiĝtagoj kaj "
         "aliaj gravaj okazoj de la vivo.\n"},
        {"florismo", "florismo\nфлоризм\nAmo al floroj.\n"},
        {"blanka floro", "blanka floro\nбелый цветок\n"}, // a no-break space before the source
        {"fluro", "floro, fluro, blumo\nцветок\nParto de planto.\n"},
        {"blumo", "floro, fluro, blumo\nцветок\nParto de planto.\n"},
        // Without Russian: in this direction only, with a note.
        {"katino", "katino\n(перевода нет)\nIna kato.\n"},
        {"pomo", "pomo\n(перевода нет)\nFrukto de pomujo.\n"},
        // Characters the Esperanto file lacks, and an x that is no Esperanto letter.
        {"simbolo", "simbolo\nсимвол\nSigno kiel alpha aŭ nxp, uzata en Linux kaj km|h de "
                    "Dvorak.\n   la simbolo de Sussex — символ Сассекса\n"},
        // The word's own article first, then the phrase whose indexed word it is.
        {"кошка", "кошка\nkato — зоол. Malgranda hejma besto kun mola felo, kiu ĉasas "
                  "musojn\nдикая кошка\nsovaĝkato — Kato vivanta en arbaro\n"},
        {"крадущийся", "крадущийся\n(о походке) kata — прил. перен. Silenta kaj ruza, kiel "
                       "kato\n"},
        {"игривый котёнок", "игривый котёнок\nludema katido — см. katido\n"},
        {"шляпка гриба", "шляпка гриба\nĉapelo de fungo — см. ĉapelo\n"},
        {"символ", "символ\nsimbolo — Signo kiel α aŭ n×p, uzata en Linux kaj km/h de Dvořák\n"},
        {"флоризм", "флоризм\nflorismo — Amo al floroj\n"},
    };
    for (const auto& c : table) {
        EXPECT_EQ(Article(c.typed), Shown(c.article)) << c.typed;
    }
    // Each headword is the import's own well-formed text, before any fitting
    // to the file's code page could hide a letter cut in half.
    for (const auto* articles : {&s_import->esperanto, &s_import->russian}) {
        for (const ImportedArticle& article : *articles) {
            for (const std::string& headword : article.headwords) {
                EXPECT_EQ(platform::FirstInvalidUtf8(headword), std::string::npos) << headword;
            }
        }
    }
    // What has no Russian adds nothing to the Russian direction.
    for (const ImportedArticle& article : s_import->russian) {
        for (const char* word : {"pomo", "katino", "Ina kato"}) {
            EXPECT_EQ(article.text.find(word), std::string::npos) << article.text;
        }
    }
}

TEST_F(RevoFixtures, SummarySkippedFilesAndCounts) {
    EXPECT_EQ(s_import->files, 8u);
    ASSERT_EQ(s_import->skipped.size(), 2u);
    EXPECT_EQ(s_import->skipped[0].name, "alia.xml");
    EXPECT_EQ(s_import->skipped[0].reason,
              "not a ReVo file: the root element is <html>, not <vortaro>");
    EXPECT_EQ(s_import->skipped[1].name, "broken.xml");
    EXPECT_EQ(s_import->skipped[1].reason.rfind("line 10: Premature end of data", 0), 0u)
        << s_import->skipped[1].reason;
    EXPECT_EQ(s_import->articles, 6u);
    EXPECT_EQ(s_import->derivations, 15u);
    EXPECT_EQ(s_import->untranslated, 2u); // katino, pomo
    EXPECT_EQ(s_import->newestDate, "2024-05-06");

    ASSERT_EQ(s_reports.size(), 2u);
    const DirectionReport& eo = s_reports[0];
    EXPECT_EQ(eo.entries, 15u);   // every derivation
    EXPECT_EQ(eo.headwords, 18u); // with the three variants
    EXPECT_EQ(eo.splitEntries, 1u);
    EXPECT_EQ(eo.fit.ReplacedCount(), 5u); // α × / ř á
    EXPECT_EQ(eo.fit.DroppedCount(), 2u);  // the stress marks
    const DirectionReport& ru = s_reports[1];
    EXPECT_EQ(ru.entries, s_import->russian.size());
    EXPECT_EQ(ru.fit.ReplacedCount() + ru.fit.DroppedCount(), 0u);

    const std::string summary = DescribeImport(*s_import, s_reports);
    EXPECT_NE(summary.find("15 derivations (2 without Russian)"), std::string::npos) << summary;
    EXPECT_NE(summary.find("skipped broken.xml: line 10"), std::string::npos) << summary;
    EXPECT_NE(summary.find("characters replaced: 5 (U+002F / 1, U+00D7 × 1"), std::string::npos)
        << summary;
}

TEST_F(RevoFixtures, ALongEntryIsCutIntoArticlesThatTheReaderShowsWhole) {
    // The entry as the importer made it, then as the reader shows all its articles.
    const auto entry =
        std::find_if(s_import->esperanto.begin(), s_import->esperanto.end(),
                     [](const ImportedArticle& a) { return a.headwords[0] == "multsenca"; });
    ASSERT_NE(entry, s_import->esperanto.end());
    LookupCore folder(s_dir->AnsiPath(""));
    const ListResult list = folder.List(u"multsenca");
    ASSERT_EQ(list.lines.size(), 1u);
    const std::string text = ToUtf8(folder.Article(list, 0));
    std::string expected = entry->text;
    std::erase(expected, '\x1F');
    EXPECT_EQ(text, Shown(expected + "\n"));
    EXPECT_NE(text.find("18. восемнадцатый смысл"), std::string::npos);
}

TEST_F(RevoFixtures, FilesPassTheCheckAndOpenWithTheNote) {
    for (const auto& [language, name] : {std::pair{Language::Esperanto, "EoRu_kelimbo"},
                                         {Language::Russian, "tarnesk_rusa_esperanto"}}) {
        const IndexCheck check = CheckIndex(language, s_dir->AnsiPath(std::string(name) + ".bsi"),
                                            s_dir->File(std::string(name) + ".txt"));
        EXPECT_EQ(check.problemCount, 0u) << name;
        const std::string text = ReadBytes(s_dir->File(std::string(name) + ".txt"));
        const std::string note = text.substr(0, text.find("\n\n"));
        EXPECT_NE(note.find("Licence: GNU General Public License, version 2"), std::string::npos);
        EXPECT_NE(note.find("Wolfram Diestel and the ReVo contributors"), std::string::npos);
        EXPECT_NE(note.find("Data as of: 2024-05-06\nBuilt: "), std::string::npos);
    }
    // Root marks in the Esperanto file, hidden by its reader.
    const std::string eo = ReadBytes(s_dir->File("EoRu_kelimbo.txt"));
    EXPECT_NE(eo.find("\n\nsovagx/kat/o\n"), std::string::npos);
}

TEST(RevoParser, RefusesWhatIsNotASoundReVoFile) {
    RevoParser parser(kFixtures / "dtd");
    const std::string head =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE vortaro SYSTEM \"../dtd/vokoxml.dtd\"";
    const std::string body = "<vortaro><art mrk=\"x\"><kap><rad>a</rad></kap>"
                             "<drv mrk=\"y\"><kap><tld/>o</kap><trd lng=\"ru\">";
    const std::string tail = "</trd></drv></art></vortaro>\n";
    const struct {
        std::string xml;
        std::string error; // empty: accepted
    } table[] = {
        {head + ">\n" + body + "&c_k;&c_o;&c_t;" + tail, ""},
        {head + ">\n" + body + "&nekonata;" + tail, "line 3: Entity 'nekonata' not defined"},
        {head + " [<!ENTITY x SYSTEM \"/etc/passwd\">]>\n" + body + "&x;" + tail,
         "the external entity \"/etc/passwd\" is not read: only files of the DTD folder are"},
        {head + " [<!ENTITY x SYSTEM \"http://example.org/x\">]>\n" + body + "&x;" + tail,
         "the external entity \"http://example.org/x\" is not read: only files of the DTD folder "
         "are"},
        {head + " [<!ENTITY a \"&b;&b;&b;&b;&b;\"><!ENTITY b \"&a;\">]>\n" + body + "&a;" + tail,
         "line 1: Detected an entity reference loop"},
        {head + ">\n" + body, "line 3: Premature end of data in tag trd line 3"},
        {"<?xml version=\"1.0\"?>\n<vortaro/>\n", "not a ReVo file: <vortaro> holds no <art>"},
        {"", "line 1: Document is empty"},
    };
    for (const auto& c : table) {
        const ParsedFile parsed = parser.ParseMemory(c.xml, (kFixtures / "revo/test.xml").string());
        EXPECT_EQ(parsed.error, c.error) << c.xml;
        EXPECT_EQ(parsed.doc == nullptr, !c.error.empty()) << c.xml;
    }
}

} // namespace
