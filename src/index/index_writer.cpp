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
    if (textSize >= bsi::kOffsetLimit) {
        throw IndexWriteError("headwords' text of 16777216 bytes or more",
                              IndexWriteError::kWholeIndex);
    }
    if (refCount >= bsi::kOffsetLimit) {
        throw IndexWriteError("16777216 article references or more", IndexWriteError::kWholeIndex);
    }
    const std::uint64_t fileSize = bsi::kHeaderSize + textSize + refCount * bsi::kRecordSize +
                                   std::uint64_t{headwords.size()} * bsi::kRecordSize +
                                   bsi::kIdentitySize;
    if (fileSize > INT32_MAX) {
        throw IndexWriteError("index file of 2 GiB or more", IndexWriteError::kWholeIndex);
    }
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

std::string BuildIndex(const pro_less& order, std::span<const HeadwordSource> headwords,
                       const BsiBlockOrder& blocks,
                       const std::optional<bsi::TextIdentity>& identity) {
    CheckBlockOrder(blocks);
    CheckLimits(headwords);

    std::vector<std::uint32_t> sorted(headwords.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
        return order.less(headwords[a].text, headwords[b].text);
    });

    std::string table;
    std::string refs;
    std::string text;
    table.reserve(sorted.size() * bsi::kRecordSize);
    for (const std::uint32_t k : sorted) {
        const HeadwordSource& source = headwords[k];
        const auto textOffset = static_cast<std::uint32_t>(text.size());
        const auto firstRef = static_cast<std::uint32_t>(refs.size() / bsi::kRecordSize);
        bsi::AppendRecord(
            table, HeadwordEntry::Pack(textOffset, static_cast<std::uint32_t>(source.text.size()),
                                       firstRef, static_cast<std::uint32_t>(source.refs.size())));
        text += source.text;
        for (const ArticleRef& ref : source.refs) {
            bsi::AppendRecord(refs, ref);
        }
    }

    bsi::Header header;
    header.headwordCount = static_cast<std::uint32_t>(sorted.size());
    header.refCount = static_cast<std::uint32_t>(refs.size() / bsi::kRecordSize);
    header.textSize = static_cast<std::uint32_t>(text.size());
    std::string file(bsi::kHeaderSize, '\0');
    for (const BsiBlock block : blocks) {
        const auto offset = static_cast<std::uint32_t>(file.size());
        switch (block) {
        case BsiBlock::Headwords:
            header.headwordOffset = offset;
            file += table;
            break;
        case BsiBlock::References:
            header.refOffset = offset;
            file += refs;
            break;
        case BsiBlock::Text:
            header.textOffset = offset;
            file += text;
            break;
        }
    }
    if (identity) {
        const bsi::IdentityBytes block = bsi::EncodeIdentity(*identity);
        file.append(reinterpret_cast<const char*>(block.data()), block.size());
    }
    const bsi::HeaderBytes headerBytes = bsi::EncodeHeader(header);
    std::copy(headerBytes.begin(), headerBytes.end(), file.begin());
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
