// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/index_writer.h"

#include "index/bsi_format.h"
#include "index/headword_entry.h"
#include "platform/file_replace.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>

namespace {

// The limits of the whole index: its text block and reference table are
// addressed with 24 bits, and the file is read with signed 32-bit offsets.
void CheckTotals(std::uint64_t textSize, std::uint64_t refCount, std::uint64_t count) {
    if (textSize >= bsi::kOffsetLimit) {
        throw IndexWriteError("headwords' text of 16777216 bytes or more",
                              IndexWriteError::kWholeIndex);
    }
    if (refCount >= bsi::kOffsetLimit) {
        throw IndexWriteError("16777216 article references or more", IndexWriteError::kWholeIndex);
    }
    const std::uint64_t fileSize = bsi::kHeaderSize + textSize + refCount * bsi::kRecordSize +
                                   count * bsi::kRecordSize + bsi::kIdentitySize;
    if (fileSize > INT32_MAX) {
        throw IndexWriteError("index file of 2 GiB or more", IndexWriteError::kWholeIndex);
    }
}

void CheckLimits(std::span<const HeadwordSource> headwords) {
    std::uint64_t textSize = 0;
    std::uint64_t refCount = 0;
    for (std::size_t k = 0; k < headwords.size(); ++k) {
        if (headwords[k].text.size() >= bsi::kByteLimit) {
            throw IndexWriteError("headword longer than 255 bytes", k);
        }
        if (headwords[k].refs.size() >= bsi::kByteLimit) {
            throw IndexWriteError("headword with more than 255 article references", k);
        }
        textSize += headwords[k].text.size();
        refCount += headwords[k].refs.size();
    }
    CheckTotals(textSize, refCount, headwords.size());
}

void CheckTableLimits(const HeadwordTable& headwords) {
    if (headwords.text.size() > UINT32_MAX || headwords.refs.size() > UINT32_MAX ||
        headwords.refEnd.size() != headwords.size()) {
        throw IndexWriteError("malformed headword table", IndexWriteError::kWholeIndex);
    }
    for (std::size_t k = 0; k < headwords.size(); ++k) {
        if (headwords.textEnd[k] - headwords.TextStart(k) >= bsi::kByteLimit) {
            throw IndexWriteError("headword longer than 255 bytes", k);
        }
        if (headwords.refEnd[k] - headwords.RefStart(k) >= bsi::kByteLimit) {
            throw IndexWriteError("headword with more than 255 article references", k);
        }
    }
    CheckTotals(headwords.text.size(), headwords.refs.size(), headwords.size());
}

void CheckBlockOrder(const BsiBlockOrder& blocks) {
    BsiBlockOrder sorted = blocks;
    std::sort(sorted.begin(), sorted.end());
    if (sorted != kDefaultBlockOrder) {
        throw std::invalid_argument("the block order must name each block once");
    }
}

bool PutAll(std::FILE* out, const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

} // namespace

void HeadwordTable::Add(std::string_view headword, std::span<const ArticleRef> headwordRefs) {
    text += headword;
    textEnd.push_back(static_cast<std::uint32_t>(text.size()));
    refs.insert(refs.end(), headwordRefs.begin(), headwordRefs.end());
    refEnd.push_back(static_cast<std::uint32_t>(refs.size()));
}

std::string BuildIndex(const pro_less& order, std::span<const HeadwordSource> headwords,
                       const BsiBlockOrder& blocks,
                       const std::optional<bsi::TextIdentity>& identity) {
    CheckBlockOrder(blocks);
    CheckLimits(headwords); // before the table, whose offsets would wrap beyond 2^32
    HeadwordTable table;
    for (const HeadwordSource& source : headwords) {
        table.Add(source.text, source.refs);
    }
    return BuildTableIndex(order, table, blocks, identity);
}

std::string BuildTableIndex(const pro_less& order, const HeadwordTable& headwords,
                            const BsiBlockOrder& blocks,
                            const std::optional<bsi::TextIdentity>& identity) {
    CheckBlockOrder(blocks);
    CheckTableLimits(headwords);

    std::vector<std::uint32_t> sorted(headwords.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
        return order.less(headwords.Text(a), headwords.Text(b));
    });

    // The file is laid out in place: every block's size is known before.
    const std::size_t sizes[] = {headwords.size() * bsi::kRecordSize,
                                 headwords.refs.size() * bsi::kRecordSize, headwords.text.size()};
    bsi::Header header;
    header.headwordCount = static_cast<std::uint32_t>(sorted.size());
    header.refCount = static_cast<std::uint32_t>(headwords.refs.size());
    header.textSize = static_cast<std::uint32_t>(headwords.text.size());
    std::size_t offset = bsi::kHeaderSize;
    for (const BsiBlock block : blocks) {
        const auto at = static_cast<std::uint32_t>(offset);
        switch (block) {
        case BsiBlock::Headwords:
            header.headwordOffset = at;
            break;
        case BsiBlock::References:
            header.refOffset = at;
            break;
        case BsiBlock::Text:
            header.textOffset = at;
            break;
        }
        offset += sizes[static_cast<std::size_t>(block)];
    }

    std::string table;
    std::string refs;
    std::string text;
    table.reserve(sizes[0]);
    refs.reserve(sizes[1]);
    text.reserve(sizes[2]);
    for (const std::uint32_t k : sorted) {
        const auto textOffset = static_cast<std::uint32_t>(text.size());
        const auto firstRef = static_cast<std::uint32_t>(refs.size() / bsi::kRecordSize);
        const std::uint32_t refCount = headwords.refEnd[k] - headwords.RefStart(k);
        const std::string_view headword = headwords.Text(k);
        bsi::AppendRecord(table, HeadwordEntry::Pack(textOffset,
                                                     static_cast<std::uint32_t>(headword.size()),
                                                     firstRef, refCount));
        text += headword;
        for (std::uint32_t r = headwords.RefStart(k); r < headwords.refEnd[k]; ++r) {
            bsi::AppendRecord(refs, headwords.refs[r]);
        }
    }

    std::string file;
    file.reserve(offset + (identity ? bsi::kIdentitySize : 0));
    const bsi::HeaderBytes headerBytes = bsi::EncodeHeader(header);
    file.append(reinterpret_cast<const char*>(headerBytes.data()), headerBytes.size());
    for (const BsiBlock block : blocks) {
        std::string& bytes = block == BsiBlock::Headwords    ? table
                             : block == BsiBlock::References ? refs
                                                             : text;
        file += bytes;
        std::string().swap(bytes);
    }
    if (identity) {
        const bsi::IdentityBytes block = bsi::EncodeIdentity(*identity);
        file.append(reinterpret_cast<const char*>(block.data()), block.size());
    }
    return file;
}

void WriteIndex(std::FILE* out, const pro_less& order, std::span<const HeadwordSource> headwords,
                const BsiBlockOrder& blocks, const std::optional<bsi::TextIdentity>& identity) {
    const std::string bytes = BuildIndex(order, headwords, blocks, identity);
    if (!PutAll(out, bytes) || std::fflush(out) != 0) {
        throw std::runtime_error("cannot write the index file");
    }
}

void WriteIndexFile(const char* path, const pro_less& order,
                    std::span<const HeadwordSource> headwords, const BsiBlockOrder& blocks,
                    const std::optional<bsi::TextIdentity>& identity) {
    const std::string bytes = BuildIndex(order, headwords, blocks, identity);
    // A new file renamed over the old one: a reader never finds half an index.
    platform::NewFile file;
    if (!file.Create(path)) {
        throw std::runtime_error(std::string("cannot create the index file ") + path);
    }
    if (!file.Write(bytes) || !file.PutInPlace()) {
        throw std::runtime_error(std::string("cannot write the index file ") + path);
    }
}
