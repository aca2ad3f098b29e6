// SPDX-License-Identifier: GPL-2.0-or-later
// Dictionary files made to hurt: files that inflate far beyond their size,
// entries that ask for the same data over and over, FIFOs and devices named
// as sources, and reads at the very end of dictzip data.
#include "formats/data_file.h"
#include "formats/dictionary_reader.h"
#include "support/format_fixtures.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using formats::Format;
using formats::InflateLimits;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * kKiB;

// A StarDict dictionary whose entries point at the given ranges of `dict`
// (written as the file `dictName` beside the .ifo and .idx).
fs::path WriteStarDictRanges(const TempDir& dir, const std::string& dictName,
                             const std::string& dict,
                             const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ranges) {
    std::string idx;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        idx += "word" + std::to_string(i) + '\0';
        for (const std::uint32_t value : {ranges[i].first, ranges[i].second}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                idx.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
    }
    WriteBytes(dir.File("d.idx"), idx);
    WriteBytes(dir.File(dictName), dict);
    WriteBytes(dir.File("d.ifo"),
               "StarDict's dict ifo file\nversion=2.4.2\nbookname=b\nwordcount=" +
                   std::to_string(ranges.size()) + "\nidxfilesize=" + std::to_string(idx.size()) +
                   "\nsametypesequence=m\n");
    return dir.File("d.ifo");
}

// dictd's base-64 number.
std::string DictdNumber(std::uint64_t value) {
    static const std::string digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    do {
        out.insert(out.begin(), digits[value % 64]);
        value /= 64;
    } while (value != 0);
    return out;
}

const std::string kDslHead = "#NAME \"b\"\n#INDEX_LANGUAGE \"Esperanto\"\n"
                             "#CONTENTS_LANGUAGE \"Russian\"\n\nhundo\n\t";
const std::string kXdxfHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xdxf lang_from=\"EPO\" "
                              "lang_to=\"RUS\" format=\"visual\"><full_name>b</full_name>"
                              "<ar><k>hundo</k>";
const std::string kMegabyte(kMiB, 'a');

// Letters that compress about as text does.
std::string Letters(std::size_t size) {
    std::string out;
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245 + 12345;
        out.push_back(static_cast<char>('a' + (state >> 16) % 26));
    }
    return out;
}

// Reads every article; the number read.
std::size_t ReadThrough(Format format, const fs::path& source, const InflateLimits& limits) {
    const auto reader = formats::OpenDictionary(format, source, limits);
    ImportedArticle article;
    std::size_t count = 0;
    while (reader->Next(article)) {
        ++count;
    }
    return count;
}

TEST(InflateLimits, EachFormatRefusesABombNamingTheFileAndReadsItWithRoom) {
    const InflateLimits tight{8, 64 * kKiB, 2 * kMiB};
    const InflateLimits room{1 << 20, 0, 64 * kMiB};
    const auto gzip = [](const std::string& bytes) { return format_fixtures::Gzip(bytes); };
    const struct {
        const char* what;
        Format format;
        const char* refused; // the file the error names
        std::function<fs::path(const TempDir&)> make;
        InflateLimits limits;
    } table[] = {
        {"dsl.dz, gzip", Format::Dsl, "b.dsl.dz",
         [&](const TempDir& d) {
             WriteBytes(d.File("b.dsl.dz"), gzip(kDslHead + kMegabyte + "\n"));
             return d.File("b.dsl.dz");
         },
         tight},
        {"dsl.dz, dictzip", Format::Dsl, "b.dsl.dz",
         [&](const TempDir& d) {
             WriteBytes(d.File("b.dsl.dz"),
                        format_fixtures::Dictzip(kDslHead + kMegabyte + "\n", 60000));
             return d.File("b.dsl.dz");
         },
         tight},
        {"xdxf.dz", Format::Xdxf, "b.xdxf.dz",
         [&](const TempDir& d) {
             WriteBytes(d.File("b.xdxf.dz"), gzip(kXdxfHead + kMegabyte + "</ar></xdxf>\n"));
             return d.File("b.xdxf.dz");
         },
         tight},
        // An uncompressed file larger than the absolute limit is refused too.
        {"plain dsl",
         Format::Dsl,
         "b.dsl",
         [&](const TempDir& d) {
             WriteBytes(d.File("b.dsl"), kDslHead + kMegabyte + "\n");
             return d.File("b.dsl");
         },
         {64, 0, kMiB / 2}},
        // The chunk table promises the data's size: refused before inflating.
        {"StarDict .dict.dz, dictzip", Format::StarDict, "d.dict.dz",
         [&](const TempDir& d) {
             return WriteStarDictRanges(d, "d.dict.dz", format_fixtures::Dictzip(kMegabyte, 60000),
                                        {{0, 20}});
         },
         tight},
        {"StarDict .dict.dz, gzip", Format::StarDict, "d.dict.dz",
         [&](const TempDir& d) {
             return WriteStarDictRanges(d, "d.dict.dz", gzip(kMegabyte), {{0, 20}});
         },
         tight},
        {"dictd .dict.dz, dictzip", Format::Dictd, "d.dict.dz",
         [&](const TempDir& d) {
             WriteBytes(d.File("d.index"), "hundo\tA\t" + DictdNumber(kMiB) + "\n");
             WriteBytes(d.File("d.dict.dz"), format_fixtures::Dictzip(kMegabyte, 60000));
             return d.File("d.index");
         },
         tight},
        // Entries that overlap ask for the data again and again: 200 KiB of
        // data, 20 entries each starting 10 KiB later, about 2 MiB in all.
        {"StarDict overlapping entries, dictzip",
         Format::StarDict,
         "d.dict.dz",
         [&](const TempDir& d) {
             std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
             for (std::uint32_t i = 0; i < 20; ++i) {
                 ranges.emplace_back(i * 10240, 200 * 1024 - i * 10240);
             }
             return WriteStarDictRanges(
                 d, "d.dict.dz", format_fixtures::Dictzip(Letters(200 * 1024), 4096), ranges);
         },
         {64, 0, kMiB}},
        {"StarDict overlapping entries, plain",
         Format::StarDict,
         "d.dict",
         [&](const TempDir& d) {
             std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
             for (std::uint32_t i = 0; i < 20; ++i) {
                 ranges.emplace_back(i * 1024, 100 * 1024 - i * 1024);
             }
             return WriteStarDictRanges(d, "d.dict", Letters(100 * 1024), ranges);
         },
         {4, 0, kMiB}},
    };
    for (const auto& c : table) {
        TempDir dir;
        const fs::path source = c.make(dir);
        try {
            ReadThrough(c.format, source, c.limits);
            ADD_FAILURE() << c.what << ": read whole";
        } catch (const formats::InflateLimitError& e) {
            EXPECT_EQ(e.File(), dir.File(c.refused).string()) << c.what;
            EXPECT_TRUE(std::string(e.what()).starts_with(dir.File(c.refused).string() + ": "))
                << e.what();
        }
        EXPECT_GE(ReadThrough(c.format, source, room), 1u) << c.what;
    }
}

// A stream stops at the limit: everything up to it is given, one byte more
// is refused, and nothing past the limit is ever handed out.
TEST(InflateLimits, AStreamGivesAtMostItsLimit) {
    const std::string text(300000, 'z');
    const std::string packed = format_fixtures::Gzip(text);
    const std::uint64_t relative = 10 * packed.size(); // well below the text's size
    ASSERT_LT(relative, text.size());
    const struct {
        bool compressed;
        InflateLimits limits;
        std::uint64_t allowed;
    } table[] = {
        {false, {64, 0, text.size()}, text.size()},
        {false, {64, 0, text.size() - 1}, text.size() - 1},
        {false, {1, 0, UINT64_MAX}, text.size()}, // its own size, once
        // A ratio whose product with the size overflows means no relative limit.
        {false, {std::uint64_t{1} << 63, 0, text.size()}, text.size()},
        {true, {10, 0, UINT64_MAX}, relative},
        {true, {10, text.size(), UINT64_MAX}, text.size()},
        {true, {10, text.size() - 1, UINT64_MAX}, text.size() - 1},
        {true, {10, text.size(), text.size() - 1}, text.size() - 1},
    };
    TempDir dir;
    WriteBytes(dir.File("plain"), text);
    WriteBytes(dir.File("packed.gz"), packed);
    for (const auto& c : table) {
        const fs::path path = dir.File(c.compressed ? "packed.gz" : "plain");
        const std::string label = path.string() + " " + std::to_string(c.allowed);
        formats::SequentialFile file(path, c.limits);
        std::vector<char> buffer(1 << 20);
        std::uint64_t given = 0;
        bool refused = false;
        try {
            while (const std::size_t got = file.Read(buffer.data(), buffer.size())) {
                given += got;
            }
        } catch (const formats::InflateLimitError&) {
            refused = true;
        }
        EXPECT_EQ(refused, c.allowed < text.size()) << label;
        EXPECT_EQ(given, std::min<std::uint64_t>(c.allowed, text.size())) << label;
    }
}

// Reads at the end of dictzip data and reads of overlapping ranges: the
// bytes are right, and each chunk is inflated once however the ranges overlap.
TEST(DataFile, DictzipRangesReadTheirBytesAndInflateEachChunkOnce) {
    const struct {
        std::size_t size; // of the data, in chunks of 16 bytes
        std::vector<std::pair<std::uint64_t, std::uint64_t>> reads;
        std::uint64_t inflations;
    } table[] = {
        // The data a multiple of the chunk length: reads ending at its end.
        {64, {{48, 16}}, 1},
        {64, {{40, 24}}, 2},
        {64, {{0, 64}}, 4},
        {64, {{63, 1}}, 1},
        {70, {{64, 6}}, 1},
        {70, {{60, 10}}, 2},
        // Overlapping and repeated ranges.
        {64, {{0, 64}, {10, 54}, {20, 44}, {33, 31}, {50, 14}}, 4},
        {64, {{0, 20}, {10, 20}, {25, 20}, {40, 24}}, 4},
        {64, {{5, 30}, {5, 30}, {6, 29}}, 3},
        {80, {{0, 40}, {36, 40}, {70, 10}}, 5},
    };
    for (const auto& c : table) {
        std::string data;
        for (std::size_t i = 0; i < c.size; ++i) {
            data.push_back(static_cast<char>('0' + i % 61));
        }
        TempDir dir;
        WriteBytes(dir.File("d.dict.dz"), format_fixtures::Dictzip(data, 16));
        formats::DataFile file(dir.File("d.dict.dz"));
        ASSERT_EQ(file.Size(), c.size);
        for (const auto& [offset, length] : c.reads) {
            EXPECT_EQ(file.Read(offset, length, "entry"), data.substr(offset, length))
                << c.size << " " << offset << "+" << length;
        }
        EXPECT_EQ(file.Inflations(), c.inflations) << c.size << " from " << c.reads[0].first;
        EXPECT_THROW(file.Read(c.size - 4, 5, "entry"), formats::FormatError);
        file.CheckAll();
    }
}

// A FIFO or a device named as any file of a dictionary is refused at once;
// before, open() waited for a writer that never came.
TEST(FormatReaders, AFifoOrADeviceIsRefusedWithoutWaiting) {
    const struct {
        Format format;
        const char* source;
        const char* fifo; // made a FIFO; the other files of the row are regular
        std::vector<std::pair<const char*, std::string>> files;
    } table[] = {
        {Format::Dsl, "x.dsl", "x.dsl", {}},
        {Format::Dsl, "x.dsl.dz", "x.dsl.dz", {}},
        {Format::Xdxf, "x.xdxf", "x.xdxf", {}},
        {Format::StarDict, "x.ifo", "x.ifo", {}},
        {Format::StarDict,
         "x.ifo",
         "x.dict",
         {{"x.ifo", "StarDict's dict ifo file\nversion=2.4.2\nwordcount=1\nidxfilesize=10\n"},
          {"x.idx", "a\0\0\0\0\0\0\0\0\1"s}}},
        {Format::Dictd, "x.index", "x.index", {}},
        {Format::Dictd, "x.index", "x.dict", {{"x.index", "a\tA\tB\n"}}},
        {Format::Dsl, "/dev/zero", nullptr, {}},
    };
    for (const auto& c : table) {
        TempDir dir;
        for (const auto& [name, bytes] : c.files) {
            WriteBytes(dir.File(name), bytes);
        }
        const fs::path source = c.fifo != nullptr ? dir.File(c.source) : fs::path(c.source);
        if (c.fifo != nullptr) {
            ASSERT_EQ(::mkfifo(dir.File(c.fifo).c_str(), 0600), 0);
        }
        auto opening = std::async(std::launch::async, [&] {
            try {
                formats::OpenDictionary(c.format, source);
                return std::string("opened");
            } catch (const formats::FormatError& e) {
                return std::string(e.what());
            }
        });
        if (opening.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << c.source << ": still waiting after 10 s";
            // A writer lets the blocked open() return, so that the test ends.
            const int writer = ::open(dir.File(c.fifo).c_str(), O_WRONLY | O_NONBLOCK);
            opening.wait();
            ::close(writer);
        }
        const std::string message = opening.get();
        const std::string file = c.fifo != nullptr ? dir.File(c.fifo).string() : c.source;
        EXPECT_EQ(message, file + ": not a regular file") << c.source;
    }
}

} // namespace
