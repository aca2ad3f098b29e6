// SPDX-License-Identifier: GPL-2.0-or-later
// Other programs' dictionaries, damaged: one small dictionary of each format,
// each of its files cut at every byte and given random flips. A reader gives
// well-formed articles or its FormatError, never a crash, another exception or
// a read outside its data (the sanitizer build runs this too).
#include "damage.h"
#include "formats/article_text.h"
#include "formats/dictionary_reader.h"
#include "support/format_fixtures.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using formats::Format;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

bool IsCleanLine(std::string_view line) {
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return formats::IsValidUtf8(line);
}

// Reads everything: true when the reader refused the dictionary.
bool Refused(Format format, const fs::path& source, const std::string& variant) {
    try {
        const auto reader = formats::OpenDictionary(format, source);
        ImportedArticle article;
        while (reader->Next(article)) {
            EXPECT_FALSE(article.headwords.empty()) << variant;
            for (const std::string& headword : article.headwords) {
                EXPECT_TRUE(!headword.empty() && IsCleanLine(headword)) << variant;
            }
            EXPECT_TRUE(formats::HeadlineShowsKey(article.text, article.headwords.front()))
                << variant;
            std::size_t at = 0;
            for (std::size_t end; at <= article.text.size(); at = end + 1) {
                end = std::min(article.text.find('\n', at), article.text.size());
                EXPECT_TRUE(IsCleanLine(std::string_view(article.text).substr(at, end - at)))
                    << variant;
            }
        }
        return false;
    } catch (const formats::FormatError& e) {
        EXPECT_TRUE(std::string_view(e.what()).starts_with(e.File())) << variant;
        return true;
    }
}

struct Target {
    Format format;
    std::string source;  // the file the reader opens
    std::string damaged; // the file damaged
    // Cuts at or past this many bytes must be refused (SIZE_MAX: none need be).
    std::size_t refuseCutsFrom;
};

TEST(DamagedFormatFiles, EveryCutAndFlipReadsOrIsRefused) {
    TempDir dir;
    const auto stardict = format_fixtures::MakeStarDict(
        {{"apple", "ˈæpl\0a fruit\nred"s}, {"pear", "pɛə\0fruit"s}, {"pears", "", true}},
        {{"malus", 0}, {"pirus", 1}}, 64, "sametypesequence=tm\n");
    format_fixtures::WriteStarDict(dir.Path(), "s", stardict, true);
    const fs::path fixtures = fs::path(KELIMBO_FIXTURES) / "formats";
    fs::copy_file(fixtures / "sample.index", dir.File("d.index"));
    WriteBytes(dir.File("d.dict.dz"),
               format_fixtures::Dictzip(ReadBytes(fixtures / "sample.dict"), 64));
    const std::string dsl = ReadBytes(fixtures / "sample.dsl");
    WriteBytes(dir.File("l.dsl"), format_fixtures::Utf16LeWithBom(dsl));
    WriteBytes(dir.File("z.dsl.dz"), format_fixtures::Gzip(dsl));
    fs::copy_file(fixtures / "sample.xdxf", dir.File("x.xdxf"));
    const std::string xdxf = ReadBytes(dir.File("x.xdxf"));

    const std::vector<Target> targets = {
        // Every cut of the .idx misses idxfilesize, of the .dz its chunks or
        // trailer, of the .syn a number or synwordcount.
        {Format::StarDict, "s.ifo", "s.ifo", SIZE_MAX},
        {Format::StarDict, "s.ifo", "s.idx", 0},
        {Format::StarDict, "s.ifo", "s.dict.dz", 0},
        {Format::StarDict, "s.ifo", "s.syn", 0},
        {Format::Dictd, "d.index", "d.index", SIZE_MAX},
        {Format::Dictd, "d.index", "d.dict.dz", 0},
        {Format::Dsl, "l.dsl", "l.dsl", SIZE_MAX},
        // A gzip file cut after its header is cut short.
        {Format::Dsl, "z.dsl.dz", "z.dsl.dz", 10},
        // XML cut before its root closes.
        {Format::Xdxf, "x.xdxf", "x.xdxf", 1},
    };
    for (const Target& target : targets) {
        const std::string good = ReadBytes(dir.File(target.damaged));
        ASSERT_FALSE(Refused(target.format, dir.File(target.source), target.damaged));
        for (const damage::Variant& cut : damage::CutAtEveryByte(good)) {
            WriteBytes(dir.File(target.damaged), cut.bytes);
            const std::string variant = target.damaged + " " + cut.name;
            const bool refused = Refused(target.format, dir.File(target.source), variant);
            const bool cutsRoot =
                target.damaged != "x.xdxf" || cut.bytes.size() < xdxf.rfind("</xdxf>") + 7;
            if (cut.bytes.size() >= target.refuseCutsFrom && cutsRoot) {
                EXPECT_TRUE(refused) << variant;
            }
        }
        for (const damage::Variant& flip : damage::FlippedBytes(good, 1000, 18)) {
            WriteBytes(dir.File(target.damaged), flip.bytes);
            Refused(target.format, dir.File(target.source), target.damaged + " " + flip.name);
        }
        WriteBytes(dir.File(target.damaged), good);
    }
}

} // namespace
