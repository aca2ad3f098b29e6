// SPDX-License-Identifier: GPL-2.0-or-later
// Dictionary files made to hurt: files that inflate far beyond their size,
// entries that ask for the same data over and over, and reads at the very end
// of dictzip data.
#include "formats/data_file.h"
#include "formats/dictionary_reader.h"
#include "support/format_fixtures.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;
using format_fixtures::Dictzip;
using format_fixtures::Gzip;
using formats::Format;
using formats::InflateLimits;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Files = std::map<std::string, std::string>;

constexpr std::uint64_t kMiB = 1 << 20;

// A StarDict dictionary whose entries point at `ranges` of the data file `dict`.
Files StarDict(const std::string& dict, const std::string& data,
               const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ranges) {
    std::string idx;
    for (const auto& [offset, size] : ranges) {
        idx += "w" + std::to_string(idx.size()) + '\0';
        for (const std::uint32_t value : {offset, size}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                idx.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
    }
    return {{"d.ifo",
             "StarDict's dict ifo file\nversion=2.4.2\nwordcount=" + std::to_string(ranges.size()) +
                 "\nidxfilesize=" + std::to_string(idx.size()) + "\nsametypesequence=m\n"},
            {"d.idx", idx},
            {dict, data}};
}

// Letters that compress about as text does.
std::string Letters(std::size_t size) {
    std::string out;
    for (std::uint32_t state = 1; out.size() < size;) {
        state = state * 1103515245 + 12345;
        out.push_back(static_cast<char>('a' + (state >> 16) % 26));
    }
    return out;
}

TEST(InflateLimits, EachFormatRefusesABombNamingTheFileAndReadsItWithRoom) {
    const InflateLimits tight{8, 64 * 1024, 2 * kMiB};
    const InflateLimits room{1 << 20, 0, 64 * kMiB};
    const std::string mega(kMiB, 'a');
    const std::string dsl = "#NAME \"b\"\n\nhundo\n\t" + mega + "\n";
    std::vector<std::pair<std::uint32_t, std::uint32_t>> overlapping; // 2 MiB of 200 KiB
    for (std::uint32_t i = 0; i < 20; ++i) {
        overlapping.emplace_back(i * 10240, 200 * 1024 - i * 10240);
    }
    const struct {
        Format format;
        const char* refused; // the source is the row's first file
        Files files;
        InflateLimits limits;
    } table[] = {
        {Format::Dsl, "b.dsl.dz", {{"b.dsl.dz", Gzip(dsl)}}, tight},
        {Format::Xdxf,
         "b.xdxf.dz",
         {{"b.xdxf.dz", Gzip("<xdxf><ar><k>hundo</k>" + mega + "</ar></xdxf>")}},
         tight},
        // Not compressed at all, but beyond the absolute limit.
        {Format::Dsl, "b.dsl", {{"b.dsl", dsl}}, {64, 0, kMiB / 2}},
        // The chunk table promises the data's size: refused before inflating.
        {Format::StarDict, "d.dict.dz", StarDict("d.dict.dz", Dictzip(mega, 60000), {{0, 20}}),
         tight},
        {Format::StarDict, "d.dict.dz", StarDict("d.dict.dz", Gzip(mega), {{0, 20}}), tight},
        {Format::Dictd,
         "d.dict.dz",
         {{"d.index", "hundo\tA\tEAAA\n"}, {"d.dict.dz", Dictzip(mega, 60000)}},
         tight},
        // Entries that overlap ask for the data again and again.
        {Format::StarDict,
         "d.dict.dz",
         StarDict("d.dict.dz", Dictzip(Letters(200 * 1024), 4096), overlapping),
         {64, 0, kMiB}},
    };
    for (const auto& c : table) {
        TempDir dir;
        for (const auto& [name, bytes] : c.files) {
            WriteBytes(dir.File(name), bytes);
        }
        const fs::path source = dir.File(c.format == Format::StarDict ? "d.ifo"
                                         : c.format == Format::Dictd  ? "d.index"
                                                                      : c.refused);
        const auto readAll = [&](const InflateLimits& limits) {
            const auto reader = formats::OpenDictionary(c.format, source, limits);
            ImportedArticle article;
            std::size_t count = 0;
            while (reader->Next(article)) {
                ++count;
            }
            return count;
        };
        try {
            readAll(c.limits);
            ADD_FAILURE() << c.refused << ": read whole";
        } catch (const formats::InflateLimitError& e) {
            EXPECT_EQ(e.File(), dir.File(c.refused).string());
            EXPECT_TRUE(std::string(e.what()).starts_with(e.File() + ": ")) << e.what();
        }
        EXPECT_GE(readAll(room), 1u) << c.refused;
    }
}

// A stream gives everything up to its limit and refuses the byte after it:
// what it hands out never exceeds the limit.
TEST(InflateLimits, AStreamGivesExactlyUpToItsLimit) {
    const std::string text(300000, 'z');
    const std::string packed = Gzip(text);
    const std::uint64_t size = text.size();
    const struct {
        bool compressed;
        InflateLimits limits;
        std::uint64_t given;
    } table[] = {
        {false, {64, 0, size}, size},
        {false, {64, 0, size - 1}, size - 1},
        // A ratio whose product with the size overflows sets no relative limit.
        {false, {std::uint64_t{1} << 63, 0, size}, size},
        {true, {10, 0, UINT64_MAX}, 10 * packed.size()},
        {true, {10, size - 1, UINT64_MAX}, size - 1},
    };
    TempDir dir;
    WriteBytes(dir.File("plain"), text);
    WriteBytes(dir.File("packed.gz"), packed);
    for (const auto& c : table) {
        formats::SequentialFile file(dir.File(c.compressed ? "packed.gz" : "plain"), c.limits);
        std::vector<char> buffer(kMiB);
        std::uint64_t given = 0;
        bool refused = false;
        try {
            while (const std::size_t got = file.Read(buffer.data(), buffer.size())) {
                given += got;
            }
        } catch (const formats::InflateLimitError&) {
            refused = true;
        }
        EXPECT_EQ(refused, c.given < size) << c.given;
        EXPECT_EQ(given, c.given) << c.compressed;
    }
}

// Reads that end at the end of dictzip data, and overlapping reads: the bytes
// are right, and each chunk is inflated once however the ranges overlap.
TEST(DataFile, DictzipRangesReadTheirBytesAndInflateEachChunkOnce) {
    const struct {
        std::size_t size; // of the data, in chunks of 16 bytes
        std::vector<std::pair<std::uint64_t, std::uint64_t>> reads;
        std::uint64_t inflations;
    } table[] = {
        // The data a multiple of the chunk length.
        {64, {{48, 16}}, 1},
        {64, {{40, 24}}, 2},
        {64, {{0, 64}}, 4},
        {70, {{60, 10}}, 2},
        // Overlapping and repeated ranges.
        {64, {{0, 64}, {10, 54}, {20, 44}, {33, 31}, {50, 14}}, 4},
        {64, {{0, 20}, {10, 20}, {25, 20}, {40, 24}}, 4},
        {64, {{5, 30}, {5, 30}, {6, 29}}, 3},
        {80, {{0, 40}, {36, 40}, {70, 10}}, 5},
    };
    for (const auto& c : table) {
        const std::string data = Letters(c.size);
        TempDir dir;
        WriteBytes(dir.File("d.dict.dz"), Dictzip(data, 16));
        formats::DataFile file(dir.File("d.dict.dz"));
        ASSERT_EQ(file.Size(), c.size);
        for (const auto& [offset, length] : c.reads) {
            EXPECT_EQ(file.Read(offset, length, "e"), data.substr(offset, length))
                << c.size << " " << offset << "+" << length;
        }
        EXPECT_EQ(file.Inflations(), c.inflations) << c.size << " from " << c.reads[0].first;
        EXPECT_THROW(file.Read(c.size - 4, 5, "e"), formats::FormatError);
        file.CheckAll();
    }
}

} // namespace
