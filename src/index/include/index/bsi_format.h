// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The .bsi headword index file, written and read only through here.
//
// A 28-byte header: version (1 byte, must be 1), reserved (1 byte, 2 bytes),
// then six 32-bit fields: headword table offset, headword count, reference
// table offset, reference count, text offset, text size. The three blocks may
// lie anywhere in the file, in any order. The headword table holds one 8-byte
// record per headword, the reference table one 8-byte ArticleRef per article;
// the text block holds the headwords' bytes without terminators. All integers
// are unsigned little-endian; a record is two 32-bit words, first word first.
//
// The identity of the text file the index was made for may end the file, in a
// 48-byte block that no header field points at and the three blocks never
// reach:
//
//   offset size
//    0      4   "KTID"
//    4      4   the block's version, 1
//    8      8   the text file's size in bytes
//   16      8   the text's fingerprint: XXH3-64, seeded with the size, of
//               the sampled spans of the text (FingerprintSpans), in order
//   24     16   XXH3-128 of the whole text, its low 64 bits first
//   40      8   XXH3-64 of bytes 0-39, which tells a damaged block
//
// A file whose last 48 bytes do not begin with the magic and the version holds
// no identity and is read as before; one whose do must hold a sound block.
// Readers that read only what the header points at read a bound index as any
// other. The fingerprint is cheap enough to check at every load; the whole
// hash is for a full check of a pair.

#include "index/article_ref.h"
#include "index/headword_entry.h"
#include "platform/little_endian.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bsi {

inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 28;
inline constexpr std::size_t kRecordSize = 8; // a headword record and an ArticleRef alike

// Text offsets and first-reference indexes are 24-bit; text lengths and
// reference counts take one byte.
inline constexpr std::uint32_t kOffsetLimit = 1u << 24;
inline constexpr std::uint32_t kByteLimit = 256;

// The header after its version byte, item by item as it is read: the two
// reserved items, then the six fields in file order.
inline constexpr std::array<std::size_t, 8> kHeaderItemSizes = {1, 2, 4, 4, 4, 4, 4, 4};

struct Header {
    std::uint32_t headwordOffset = 0;
    std::uint32_t headwordCount = 0;
    std::uint32_t refOffset = 0;
    std::uint32_t refCount = 0;
    std::uint32_t textOffset = 0;
    std::uint32_t textSize = 0;
};

using HeaderBytes = std::array<unsigned char, kHeaderSize>;

// Version 1, reserved bytes zero, the six fields.
HeaderBytes EncodeHeader(const Header& header);
// The six fields; the version and reserved bytes are not looked at.
Header DecodeHeader(const HeaderBytes& bytes);

// The identity of a dictionary text file.
struct TextIdentity {
    std::uint64_t size = 0;
    std::uint64_t fingerprint = 0;
    std::array<std::uint64_t, 2> hash{}; // low, high
    bool operator==(const TextIdentity&) const = default;
};

inline constexpr std::size_t kIdentitySize = 48;
using IdentityBytes = std::array<unsigned char, kIdentitySize>;

IdentityBytes EncodeIdentity(const TextIdentity& identity);
// Whether the last bytes of a file claim to be an identity block: they begin
// with the magic and the version.
bool ClaimsIdentity(const IdentityBytes& bytes);
// The identity such a block holds; nothing when its own check fails.
std::optional<TextIdentity> DecodeIdentity(const IdentityBytes& bytes);

// A part of the text that the fingerprint covers.
struct Span {
    std::uint64_t offset = 0;
    std::size_t length = 0;
};
// The spans of a text of `size` bytes, in order, apart and inside it: the
// whole text when it is short, else kFingerprintSpans pieces of
// kFingerprintSpanBytes spread from its first byte to its last.
inline constexpr std::size_t kFingerprintSpans = 8;
inline constexpr std::size_t kFingerprintSpanBytes = 4096;
std::vector<Span> FingerprintSpans(std::uint64_t size);
// The fingerprint of a text of `size` bytes whose spans hold `sampled`, all
// of them one after another.
std::uint64_t Fingerprint(std::uint64_t size, std::string_view sampled);
// The fingerprint of an open file of `size` bytes, its spans read where they
// lie; nothing when a read fails.
std::optional<std::uint64_t> FingerprintOfFile(std::FILE* file, std::uint64_t size);

// The whole text's hash, taken in pieces.
class TextHasher {
public:
    TextHasher();
    ~TextHasher();
    TextHasher(const TextHasher&) = delete;
    TextHasher& operator=(const TextHasher&) = delete;
    void Add(std::string_view bytes);
    std::array<std::uint64_t, 2> Hash() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The identity of a text held whole.
TextIdentity IdentityOf(std::string_view text);

void AppendRecord(std::string& out, const HeadwordEntry& entry);
void AppendRecord(std::string& out, const ArticleRef& ref);

// Records read straight from the file into memory, put into the machine's byte
// order (nothing to do on a little-endian machine).
void FromFileOrder(HeadwordEntry* records, std::size_t count);
void FromFileOrder(ArticleRef* records, std::size_t count);

// The k-th record of a table as it lies in the file, at any alignment.
inline HeadwordEntry HeadwordRecordAt(const unsigned char* table, std::size_t k) {
    const unsigned char* at = table + k * kRecordSize;
    return {platform::GetLe32(at), platform::GetLe32(at + 4)};
}
inline ArticleRef RefRecordAt(const unsigned char* table, std::size_t k) {
    const unsigned char* at = table + k * kRecordSize;
    return {platform::GetLe32(at), platform::GetLe32(at + 4)};
}

// True when `count` items of `itemSize` bytes starting at `offset` lie inside a
// file of `fileSize` bytes, at an offset that a 32-bit signed seek reaches.
bool BlockInside(std::uint32_t offset, std::uint32_t count, std::size_t itemSize,
                 std::uint64_t fileSize);

// True when the record's text lies inside a text block of `textSize` bytes and
// its references inside a reference table of `refCount` records.
bool RecordInside(const HeadwordEntry& entry, std::uint32_t textSize, std::uint32_t refCount);

// True when all `count` records of a table as it lies in the file are inside
// in that sense.
bool RecordsInside(const unsigned char* table, std::size_t count, std::uint32_t textSize,
                   std::uint32_t refCount);

} // namespace bsi
