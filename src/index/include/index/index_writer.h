// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Builds a .bsi headword index from headwords and their article references:
// sorts the headwords by the comparator's `less` (stably, so equal headwords
// keep their input order) and lays out the header and the three blocks.

#include "index/article_ref.h"
#include "index/bsi_format.h"
#include "index/pro_less.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// What one headword may hold: its bytes and its article references, each
// counted in one byte of the file.
inline constexpr std::size_t kMaxHeadwordBytes = bsi::kByteLimit - 1;
inline constexpr std::size_t kMaxHeadwordRefs = bsi::kByteLimit - 1;

struct HeadwordSource {
    std::string text;             // narrow (ANSI) bytes, at most kMaxHeadwordBytes
    std::vector<ArticleRef> refs; // at most kMaxHeadwordRefs
};

// Headwords in one block each, for inputs of millions: headword k's bytes
// are text[TextStart(k), textEnd[k]) and its references
// refs[RefStart(k), refEnd[k]), in input order.
struct HeadwordTable {
    std::string text;
    std::vector<std::uint32_t> textEnd;
    std::vector<ArticleRef> refs;
    std::vector<std::uint32_t> refEnd;

    std::size_t size() const { return textEnd.size(); }
    std::uint32_t TextStart(std::size_t k) const { return k == 0 ? 0 : textEnd[k - 1]; }
    std::uint32_t RefStart(std::size_t k) const { return k == 0 ? 0 : refEnd[k - 1]; }
    std::string_view Text(std::size_t k) const {
        return std::string_view(text).substr(TextStart(k), textEnd[k] - TextStart(k));
    }
    // Appends a headword; the caller keeps text and references within the
    // file's limits, which BuildIndex checks.
    void Add(std::string_view headword, std::span<const ArticleRef> headwordRefs);
};

// The blocks after the header, in file order.
enum class BsiBlock { Headwords, References, Text };
using BsiBlockOrder = std::array<BsiBlock, 3>;
inline constexpr BsiBlockOrder kDefaultBlockOrder = {BsiBlock::Headwords, BsiBlock::References,
                                                     BsiBlock::Text};

// Input that the format cannot hold.
class IndexWriteError : public std::runtime_error {
public:
    // Headword() for a fault of the index as a whole rather than of one headword.
    static constexpr std::size_t kWholeIndex = SIZE_MAX;

    IndexWriteError(const std::string& what, std::size_t headword)
        : std::runtime_error(what), m_headword(headword) {}
    // Position of the offending headword in the input list, or kWholeIndex.
    std::size_t Headword() const { return m_headword; }

private:
    std::size_t m_headword;
};

// The bytes of the index file, ending in `text`'s identity when given: the
// dictionary text the references point into (see bsi_format.h). Throws
// IndexWriteError for a headword longer than 255 bytes or with more than 255
// references, for a text block or a reference table of 2^24 or more, or a file
// beyond 2 GiB; std::invalid_argument when `blocks` does not name each block
// once.
std::string BuildIndex(const pro_less& order, std::span<const HeadwordSource> headwords,
                       const BsiBlockOrder& blocks = kDefaultBlockOrder,
                       const std::optional<bsi::TextIdentity>& text = std::nullopt);

// The same from the compact form; both give the same bytes for the same headwords.
std::string BuildTableIndex(const pro_less& order, const HeadwordTable& headwords,
                            const BsiBlockOrder& blocks = kDefaultBlockOrder,
                            const std::optional<bsi::TextIdentity>& text = std::nullopt);

// The index of the text `text`, bound to it.
inline std::string BuildIndexOf(std::string_view text, const pro_less& order,
                                std::span<const HeadwordSource> headwords) {
    return BuildIndex(order, headwords, kDefaultBlockOrder, bsi::IdentityOf(text));
}

// BuildIndex, written to an open file or to a file at a narrow path (a new
// file renamed over any old one). A failed write or open throws
// std::runtime_error.
void WriteIndex(std::FILE* out, const pro_less& order, std::span<const HeadwordSource> headwords,
                const BsiBlockOrder& blocks = kDefaultBlockOrder,
                const std::optional<bsi::TextIdentity>& text = std::nullopt);
void WriteIndexFile(const char* path, const pro_less& order,
                    std::span<const HeadwordSource> headwords,
                    const BsiBlockOrder& blocks = kDefaultBlockOrder,
                    const std::optional<bsi::TextIdentity>& text = std::nullopt);
