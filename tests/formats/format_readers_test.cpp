// SPDX-License-Identifier: GPL-2.0-or-later
// The four readers on small dictionaries written for them: every article
// exactly, in every encoding and compression a format allows, and every kind
// of damage a header or an index can carry, reported with the file and entry.
#include "formats/dictd_number.h"
#include "formats/dictionary_reader.h"
#include "support/format_fixtures.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using formats::Format;
using formats::FormatError;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

struct Expected {
    std::vector<std::string> headwords;
    std::string text;
};

struct Result {
    std::vector<ImportedArticle> articles;
    formats::DictionaryInfo info;
    formats::SkipCounts skipped;
};

Result ReadAll(Format format, const fs::path& source) {
    Result result;
    const auto reader = formats::OpenDictionary(format, source);
    ImportedArticle article;
    while (reader->Next(article)) {
        result.articles.push_back(article);
    }
    EXPECT_EQ(reader->Done(), reader->Total());
    result.info = reader->Info();
    result.skipped = reader->Skipped();
    return result;
}

void ExpectArticles(const Result& result, const std::vector<Expected>& expected,
                    const std::string& variant) {
    ASSERT_EQ(result.articles.size(), expected.size()) << variant;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.articles[i].headwords, expected[i].headwords) << variant << " #" << i;
        EXPECT_EQ(result.articles[i].text, expected[i].text) << variant << " #" << i;
    }
}

fs::path Fixture(const char* name) {
    return fs::path(KELIMBO_FIXTURES) / "formats" / name;
}

TEST(DictdNumber, DecodesDictdsBase64AndRefusesWhatIsNotANumber) {
    // Values from a real dictd index and the alphabet's ends.
    const std::vector<std::pair<std::string, std::uint64_t>> good = {
        {"A", 0},  {"B", 1},  {"c", 28},         {"a9", 1725},      {"BA", 64},
        {"+", 62}, {"/", 63}, {"KnE+", 2781502}, {"f0Wu", 8340910}, {"P//////////", UINT64_MAX},
    };
    for (const auto& [digits, value] : good) {
        EXPECT_EQ(formats::DecodeDictdNumber(digits), value) << digits;
    }
    for (const std::string bad : {"", "=", "A=", "a b", "-1", "Q//////////", "BAAAAAAAAAAA"}) {
        EXPECT_EQ(formats::DecodeDictdNumber(bad), std::nullopt) << bad;
    }
}

TEST(DslReader, ReadsTheSameArticlesFromEveryEncodingAndFromDz) {
    const std::string utf8 = ReadBytes(Fixture("sample.dsl"));
    const std::vector<Expected> expected = {
        {{"дом", "домик"},
         "дом\n  м. domo\n    большой дом — granda domo\n    см. также → здание и → жильё"},
        {{"бежать"}, "побежать\n  kuri\n  перен. forkuri"},
        {{"с[кобка]"}, "с[кобка]\n  krampo {не комментарий} 50% ~"},
        {{"слово"}, "слово\n      vorto\n  строка без тега"},
    };
    const std::vector<std::pair<std::string, std::string>> variants = {
        {"utf8.dsl", utf8},
        {"utf8-bom.dsl", "\xEF\xBB\xBF" + utf8},
        {"utf16.dsl", format_fixtures::Utf16LeWithBom(utf8)},
        {"cp1251.dsl", testing_support::Cp1251(utf8)},
        {"utf16.dsl.dz", format_fixtures::Dictzip(format_fixtures::Utf16LeWithBom(utf8), 100)},
        {"crlf.dsl.dz", format_fixtures::Gzip(testing_support::Cp1251([&] {
             std::string crlf;
             for (const char c : utf8) {
                 crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
             }
             return crlf;
         }()))},
    };
    TempDir dir;
    for (const auto& [name, bytes] : variants) {
        WriteBytes(dir.File(name), bytes);
        ASSERT_EQ(formats::FormatFromFileName(dir.File(name)), Format::Dsl) << name;
        const Result result = ReadAll(Format::Dsl, dir.File(name));
        ExpectArticles(result, expected, name);
        EXPECT_EQ(result.info.name, "Пробный словарь") << name;
        EXPECT_EQ(result.info.fromLanguage, "Russian") << name;
        EXPECT_EQ(result.info.toLanguage, "Esperanto") << name;
        EXPECT_EQ(result.info.sourceFile, name);
        EXPECT_EQ(result.skipped.media, 1u) << name;
        EXPECT_EQ(result.skipped.empty, 1u) << name; // the card without a body
    }
}

TEST(DictdReader, ReadsPlainAndDictzipDataAlike) {
    const std::vector<Expected> expected = {
        {{"hundo"}, "hundo\n  собака\n  пёс"},
        {{"Kato", "katino"}, "Kato /ˈkato/\nкошка"},
        {{"ĉevalo"}, "ĉevalo\nлошадь, конь"},
        {{"Tigro"}, "Tigro\nTIGRO\nтигр"},
    };
    TempDir dir;
    fs::copy_file(Fixture("sample.index"), dir.File("plain.index"));
    fs::copy_file(Fixture("sample.dict"), dir.File("plain.dict"));
    fs::copy_file(Fixture("sample.index"), dir.File("dz.index"));
    // Chunks of 16 bytes: most entries span several.
    WriteBytes(dir.File("dz.dict.dz"),
               format_fixtures::Dictzip(ReadBytes(Fixture("sample.dict")), 16));
    fs::copy_file(Fixture("sample.index"), dir.File("gz.index"));
    WriteBytes(dir.File("gz.dict.dz"), format_fixtures::Gzip(ReadBytes(Fixture("sample.dict"))));
    // Without 00databaseutf8, text that is not UTF-8 is Latin-1.
    WriteBytes(dir.File("latin1.index"), "caf\xE9\tA\tM\nna\xEFve\tM\tG\n");
    WriteBytes(dir.File("latin1.dict"), "CAF\xC9\nkafejo\nna\xEFve\n");
    ExpectArticles(ReadAll(Format::Dictd, dir.File("latin1.index")),
                   {{{"CAFÉ"}, "CAFÉ\nkafejo"}, {{"naïve"}, "naïve"}}, "latin1");
    for (const char* name : {"plain.index", "dz.index", "gz.index"}) {
        const Result result = ReadAll(Format::Dictd, dir.File(name));
        ExpectArticles(result, expected, name);
        EXPECT_EQ(result.info.name, "Provo: Esperanto-Rusa") << name;
        EXPECT_EQ(result.info.description, "Malgranda vortaro por provoj.\n  Du linioj.") << name;
        EXPECT_EQ(result.skipped.metadata, 2u) << name;
        EXPECT_EQ(result.skipped.duplicates, 1u) << name;
    }
}

// A StarDict dictionary with 64-bit offsets, synonyms, two words sharing one
// entry's data, and the types given once in the .ifo.
format_fixtures::StarDictFiles SameTypeDictionary() {
    return format_fixtures::MakeStarDict(
        {
            {"apple", "ˈæpl\0a fruit\nred or green"s},
            {"pear", "pɛə\0another fruit"s},
            {"pears", "", true},
            {"plum", "plʌm\0"s},
            {"quince", "kwɪns\0yellow\n\n\n  and hard  \n"s},
        },
        {{"malus", 0}, {"pirus", 1}, {"ĉeriz", 4}}, 64, "sametypesequence=tm\n");
}

// One entry of every kind of field, the types written in the data.
format_fixtures::StarDictFiles MixedTypeDictionary() {
    std::string data;
    data += "mфото\0"s;
    data += "P\0\0\0\3png"s;
    data += "rimg:a.png\nsnd:b.wav\0"s;
    data += "h<b>bold</b><br>next&amp;<img src=x>\0"s;
    data += "g<span>pango</span> &lt;x&gt;\0"s;
    data += "x<k>photo</k>\n<blockquote>xdxf <kref>link</kref></blockquote>\0"s;
    data += "W\0\0\0\2ok"s;
    return format_fixtures::MakeStarDict({{"photo", data}, {"sound", "W\0\0\0\0"s}}, {}, 32, "");
}

TEST(StarDictReader, ReadsOffsetsSynonymsAndEveryFieldType) {
    const std::vector<Expected> sameType = {
        {{"apple", "malus"}, "apple\n[ˈæpl]\na fruit\nred or green"},
        {{"pear", "pears", "pirus"}, "pear\n[pɛə]\nanother fruit"},
        {{"plum"}, "plum\n[plʌm]"},
        {{"quince", "ĉeriz"}, "quince\n[kwɪns]\nyellow\n\n  and hard"},
    };
    const std::vector<Expected> mixed = {
        {{"photo"}, "photo\nфото\nbold\nnext&\npango <x>\n  xdxf → link"},
    };
    TempDir dir;
    for (const bool dictzip : {false, true}) {
        const std::string variant = dictzip ? "dict.dz" : "dict";
        const fs::path same = format_fixtures::WriteStarDict(dir.Path(), "same-" + variant,
                                                             SameTypeDictionary(), dictzip);
        const Result sameResult = ReadAll(Format::StarDict, same);
        ExpectArticles(sameResult, sameType, variant);
        EXPECT_EQ(sameResult.info.name, "Fixture");

        const fs::path mixedPath = format_fixtures::WriteStarDict(dir.Path(), "mixed-" + variant,
                                                                  MixedTypeDictionary(), dictzip);
        const Result mixedResult = ReadAll(Format::StarDict, mixedPath);
        ExpectArticles(mixedResult, mixed, variant);
        // A picture, two listed resources, an image in the HTML, two sounds.
        EXPECT_EQ(mixedResult.skipped.resources, 6u) << variant;
        EXPECT_EQ(mixedResult.skipped.empty, 1u) << variant; // "sound" has no text
    }
}

TEST(XdxfReader, ReadsLogicalAndVisualArticles) {
    const Result logical = ReadAll(Format::Xdxf, Fixture("sample.xdxf"));
    ExpectArticles(logical,
                   {
                       {{"hundo", "hundino"},
                        "hundo\n  subst.\n    собака\n      granda hundo — большая собака\n"
                        "    см. → kato"},
                       {{"kato"}, "la kato\n[ˈkato]\n  кошка & кот"},
                   },
                   "logical");
    EXPECT_EQ(logical.info.name, "Provo XDXF");
    EXPECT_EQ(logical.info.description, "Malgranda vortaro.");
    EXPECT_EQ(logical.info.fromLanguage, "EPO");
    EXPECT_EQ(logical.info.toLanguage, "RUS");
    EXPECT_EQ(logical.skipped.resources, 1u);
    EXPECT_EQ(logical.skipped.empty, 1u);

    TempDir dir;
    const std::string visual = "<xdxf lang_from=\"ENG\" lang_to=\"RUS\"><full_name>Vida</full_name>"
                               "<ar><k>cat</k>\nкошка\n  <blockquote>1. кот</blockquote>\n</ar>"
                               "<ar><k>dog</k>\n собака,\n  пёс</ar></xdxf>\n";
    WriteBytes(dir.File("visual.xdxf.dz"), format_fixtures::Gzip(visual));
    const Result result = ReadAll(Format::Xdxf, dir.File("visual.xdxf.dz"));
    ExpectArticles(result, {{{"cat"}, "cat\nкошка\n  1. кот"}, {{"dog"}, "dog\n собака,\n  пёс"}},
                   "visual");
    EXPECT_EQ(result.info.name, "Vida");
}

// Each damage, the file the error must name and a text its entry must hold.
struct Damage {
    const char* what;
    Format format;
    std::function<void(const fs::path& dir)> apply;
    std::string file;  // ends the error's file
    std::string entry; // found in the error's entry
};

void Edit(const fs::path& file, const std::function<void(std::string&)>& change) {
    std::string bytes = ReadBytes(file);
    change(bytes);
    WriteBytes(file, bytes);
}

void Replace(std::string& bytes, const std::string& from, const std::string& to) {
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    bytes.replace(at, from.size(), to);
}

// Sets the big-endian number of `size` bytes that follows `word`'s terminator
// in a .idx or .syn (skipping `skip` bytes first).
void SetAfterWord(std::string& bytes, const std::string& word, std::size_t skip, int size,
                  std::uint64_t value) {
    const std::size_t at = bytes.find(word + '\0');
    ASSERT_NE(at, std::string::npos) << word;
    for (int k = 0; k < size; ++k) {
        bytes[at + word.size() + 1 + skip + static_cast<std::size_t>(k)] =
            static_cast<char>((value >> (8 * (size - 1 - k))) & 0xFF);
    }
}

TEST(FormatReaders, DamageIsAnErrorNamingTheFileAndTheEntry) {
    const std::vector<Damage> damages = {
        {"wordcount above the entries", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo", [](auto& b) { Replace(b, "wordcount=5", "wordcount=6"); });
         },
         "s.idx", ""},
        {"a wordcount no file could hold", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo",
                  [](auto& b) { Replace(b, "wordcount=5", "wordcount=99999999999999"); });
         },
         "s.idx", ""},
        {"wordcount below the entries", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo", [](auto& b) { Replace(b, "wordcount=5", "wordcount=4"); });
         },
         "s.idx", ""},
        {"idxfilesize above the file", Format::StarDict,
         [](const fs::path& d) { Edit(d / "s.idx", [](auto& b) { b.pop_back(); }); }, "s.idx", ""},
        {"idxfilesize below the file", Format::StarDict,
         [](const fs::path& d) { Edit(d / "s.idx", [](auto& b) { b.push_back('x'); }); }, "s.idx",
         ""},
        {"offset past the data", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.idx", [](auto& b) { SetAfterWord(b, "plum", 0, 8, 100); });
         },
         "s.dict", "plum"},
        {"64-bit offset far past the data", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.idx", [](auto& b) { SetAfterWord(b, "pear", 0, 8, 1ull << 40); });
         },
         "s.dict", "pear"},
        {"size past the data", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.idx", [](auto& b) { SetAfterWord(b, "apple", 8, 4, 0xFFFFFFFF); });
         },
         "s.dict", "apple"},
        {"synonym of an entry that is not there", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.syn", [](auto& b) { SetAfterWord(b, "pirus", 0, 4, 5); });
         },
         "s.syn", "pirus"},
        {"synwordcount above the synonyms", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo", [](auto& b) { Replace(b, "synwordcount=3", "synwordcount=4"); });
         },
         "s.syn", ""},
        {"unknown version", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo", [](auto& b) { Replace(b, "3.0.0", "4.0.0"); });
         },
         "s.ifo", "version"},
        {"64-bit offsets in a 2.4.2 dictionary", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo", [](auto& b) { Replace(b, "3.0.0", "2.4.2"); });
         },
         "s.ifo", "idxoffsetbits"},
        {"unknown type", Format::StarDict,
         [](const fs::path& d) {
             Edit(d / "s.ifo",
                  [](auto& b) { Replace(b, "sametypesequence=tm", "sametypesequence=t?"); });
         },
         "s.ifo", "sametypesequence"},
        {"not an .ifo", Format::StarDict,
         [](const fs::path& d) { Edit(d / "s.ifo", [](auto& b) { b[0] = 's'; }); }, "s.ifo", ""},
        {"dictd offset past the data", Format::Dictd,
         [](const fs::path& d) {
             Edit(d / "d.index", [](auto& b) { Replace(b, "hundo\tBt", "hundo\tBtA"); });
         },
         "d.dict.dz", "hundo"},
        {"dictd length that is not base 64", Format::Dictd,
         [](const fs::path& d) {
             Edit(d / "d.index", [](auto& b) { Replace(b, "\tZ\n", "\tZ!\n"); });
         },
         "d.index", "katino"},
        {"dictd line without its numbers", Format::Dictd,
         [](const fs::path& d) { Edit(d / "d.index", [](auto& b) { b += "lasta\tA\n"; }); },
         "d.index", "lasta"},
        {"dictzip table promising more than the file", Format::Dictd,
         [](const fs::path& d) { Edit(d / "d.dict.dz", [](auto& b) { b.resize(b.size() - 9); }); },
         "d.dict.dz", ""},
        {"dictzip chunk that does not inflate", Format::Dictd,
         [](const fs::path& d) {
             Edit(d / "d.dict.dz", [](auto& b) {
                 for (std::size_t k = b.size() - 40; k < b.size() - 8; ++k) {
                     b[k] = static_cast<char>(0xFF);
                 }
             });
         },
         "d.dict.dz", ""},
        {"XDXF article left open", Format::Xdxf,
         [](const fs::path& d) {
             Edit(d / "x.xdxf", [](auto& b) { Replace(b, "</def></ar>", "</def>"); });
         },
         "x.xdxf", "line"},
        {"DSL .dz cut short", Format::Dsl,
         [](const fs::path& d) { Edit(d / "l.dsl.dz", [](auto& b) { b.resize(b.size() / 2); }); },
         "l.dsl.dz", ""},
    };
    for (const Damage& damage : damages) {
        TempDir dir;
        format_fixtures::WriteStarDict(dir.Path(), "s", SameTypeDictionary(), false);
        fs::copy_file(Fixture("sample.index"), dir.File("d.index"));
        WriteBytes(dir.File("d.dict.dz"),
                   format_fixtures::Dictzip(ReadBytes(Fixture("sample.dict")), 64));
        fs::copy_file(Fixture("sample.xdxf"), dir.File("x.xdxf"));
        WriteBytes(dir.File("l.dsl.dz"), format_fixtures::Gzip(ReadBytes(Fixture("sample.dsl"))));
        const std::map<Format, const char*> sources = {{Format::StarDict, "s.ifo"},
                                                       {Format::Dictd, "d.index"},
                                                       {Format::Xdxf, "x.xdxf"},
                                                       {Format::Dsl, "l.dsl.dz"}};
        // The good files read.
        EXPECT_FALSE(ReadAll(damage.format, dir.File(sources.at(damage.format))).articles.empty());
        damage.apply(dir.Path());
        try {
            ReadAll(damage.format, dir.File(sources.at(damage.format)));
            ADD_FAILURE() << damage.what << ": no error";
        } catch (const FormatError& e) {
            EXPECT_TRUE(e.File().ends_with(damage.file)) << damage.what << ": " << e.what();
            EXPECT_NE(e.Entry().find(damage.entry), std::string::npos)
                << damage.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(e.File()), std::string::npos) << damage.what;
        }
    }
}

// Debian's Esperanto–English FreeDict dictionary, when it is installed.
TEST(RealData, FreeDictEsperantoEnglishReadsWhole) {
    const fs::path index = "/usr/share/dictd/freedict-epo-eng.index";
    if (!fs::exists(index) || !fs::exists("/usr/share/dictd/freedict-epo-eng.dict.dz")) {
        GTEST_SKIP() << "dict-freedict-epo-eng is not installed (" << index << ")";
    }
    const auto reader = formats::OpenDictionary(Format::Dictd, index);
    std::map<std::string, std::string> wanted = {
        {"hundo", ""}, {"kato", ""}, {"ĉevalo", ""}, {"Najrobo", ""}, {"reta fluigilo", ""}};
    std::size_t articles = 0;
    ImportedArticle article;
    while (reader->Next(article)) {
        ++articles;
        ASSERT_TRUE(article.text.starts_with(article.headwords.front())) << article.text;
        const auto found = wanted.find(article.headwords.front());
        if (found != wanted.end()) {
            found->second = article.text;
        }
    }
    // The dictionary says "Size: 63477 headwords"; allow a few percent.
    EXPECT_GT(articles, 61000u);
    EXPECT_LT(articles, 66000u);
    EXPECT_EQ(reader->Info().name, "Esperanto-English FreeDict dictionary ver. 1.0.1");
    EXPECT_NE(reader->Info().description.find("Paul Denisowski"), std::string::npos);
    EXPECT_EQ(reader->Skipped().metadata, 6u);
    EXPECT_EQ(wanted["hundo"], "hundo /hˈundo/\ndog, hound");
    EXPECT_EQ(wanted["kato"], "kato /kˈato/\ncat");
    EXPECT_EQ(wanted["ĉevalo"], "ĉevalo /tʃevˈalo/\nhorse, steed");
    EXPECT_EQ(wanted["Najrobo"], "Najrobo /naɪrˈobo/\nNairobi");
    EXPECT_EQ(wanted["reta fluigilo"], "reta fluigilo /rˈeta flˌuiɡˈilo/\nnetwork streamer");
}

} // namespace
