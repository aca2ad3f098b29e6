// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/format_fixtures.h"

#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <stdexcept>
#include <zlib.h>

namespace format_fixtures {
namespace {

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
    }
}

void PutBig(std::string& out, std::uint64_t value, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) {
        out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
    }
}

// Deflates `input` with `flush`, appending to `out`.
void Deflate(z_stream& stream, std::string_view input, int flush, std::string& out) {
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());
    char buffer[4096];
    do {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        if (deflate(&stream, flush) == Z_STREAM_ERROR) {
            throw std::runtime_error("deflate failed");
        }
        out.append(buffer, sizeof buffer - stream.avail_out);
    } while (stream.avail_out == 0 || stream.avail_in > 0);
}

} // namespace

std::string Gzip(std::string_view bytes) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out;
    Deflate(stream, bytes, Z_FINISH, out);
    deflateEnd(&stream);
    return out;
}

std::string Dictzip(std::string_view bytes, std::uint16_t chunkLength) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < bytes.size() || chunks.empty(); at += chunkLength) {
        const bool last = at + chunkLength >= bytes.size();
        chunks.emplace_back();
        Deflate(stream, bytes.substr(at, chunkLength), last ? Z_FINISH : Z_FULL_FLUSH,
                chunks.back());
    }
    deflateEnd(&stream);
    std::string out = "\x1f\x8b\x08\x04";
    PutLittle(out, 0, 4); // no time
    out += "\x02\x03";    // best compression, Unix
    const auto count = static_cast<std::uint32_t>(chunks.size());
    PutLittle(out, 10 + 2 * count, 2);
    out += "RA";
    PutLittle(out, 6 + 2 * count, 2);
    PutLittle(out, 1, 2);
    PutLittle(out, chunkLength, 2);
    PutLittle(out, count, 2);
    for (const std::string& chunk : chunks) {
        PutLittle(out, static_cast<std::uint32_t>(chunk.size()), 2);
    }
    for (const std::string& chunk : chunks) {
        out += chunk;
    }
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    PutLittle(out, static_cast<std::uint32_t>(crc), 4);
    PutLittle(out, static_cast<std::uint32_t>(bytes.size()), 4);
    return out;
}

std::string Utf16LeWithBom(std::string_view utf8) {
    const std::u16string wide = platform::FromUtf8(utf8);
    std::string out = "\xFF\xFE";
    for (const char16_t unit : wide) {
        PutLittle(out, unit, 2);
    }
    return out;
}

StarDictFiles MakeStarDict(const std::vector<StarDictEntry>& entries,
                           const std::vector<StarDictSynonym>& synonyms, int offsetBits,
                           const std::string& ifoLines) {
    StarDictFiles files;
    std::uint64_t lastOffset = 0;
    std::uint64_t lastSize = 0;
    for (const StarDictEntry& entry : entries) {
        if (!entry.sameData) {
            lastOffset = files.dict.size();
            lastSize = entry.data.size();
            files.dict += entry.data;
        }
        files.idx += entry.word;
        files.idx.push_back('\0');
        PutBig(files.idx, lastOffset, offsetBits / 8);
        PutBig(files.idx, lastSize, 4);
    }
    for (const StarDictSynonym& synonym : synonyms) {
        files.syn += synonym.word;
        files.syn.push_back('\0');
        PutBig(files.syn, synonym.entry, 4);
    }
    files.ifo =
        "StarDict's dict ifo file\nversion=" + std::string(offsetBits == 64 ? "3.0.0" : "2.4.2") +
        "\nwordcount=" + std::to_string(entries.size()) +
        "\nidxfilesize=" + std::to_string(files.idx.size()) + "\nbookname=Fixture\n" + ifoLines;
    if (offsetBits == 64) {
        files.ifo += "idxoffsetbits=64\n";
    }
    if (!synonyms.empty()) {
        files.ifo += "synwordcount=" + std::to_string(synonyms.size()) + "\n";
    }
    return files;
}

std::filesystem::path WriteStarDict(const std::filesystem::path& folder, const std::string& name,
                                    const StarDictFiles& files, bool dictzip) {
    const std::filesystem::path base = folder / name;
    testing_support::WriteBytes(base.string() + ".ifo", files.ifo);
    testing_support::WriteBytes(base.string() + ".idx", files.idx);
    if (dictzip) {
        testing_support::WriteBytes(base.string() + ".dict.dz", Dictzip(files.dict, 32));
    } else {
        testing_support::WriteBytes(base.string() + ".dict", files.dict);
    }
    if (!files.syn.empty()) {
        testing_support::WriteBytes(base.string() + ".syn", files.syn);
    }
    return base.string() + ".ifo";
}

} // namespace format_fixtures
