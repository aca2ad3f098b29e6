// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/bsi_format.h"

#include "platform/file_open.h"
#include "platform/little_endian.h"

// xxHash's functions compiled in here, not taken from its shared library.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace bsi {

static_assert(sizeof(HeadwordEntry) == kRecordSize && std::is_trivially_copyable_v<HeadwordEntry>);
static_assert(sizeof(ArticleRef) == kRecordSize && std::is_trivially_copyable_v<ArticleRef>);

namespace {

// Byte offsets of the six fields in the header.
constexpr std::size_t kFieldsStart = 4;
constexpr std::size_t kFieldCount = 6;

using platform::GetLe32;
using platform::PutLe32;

void AppendWords(std::string& out, std::uint32_t first, std::uint32_t second) {
    unsigned char bytes[kRecordSize];
    PutLe32(bytes, first);
    PutLe32(bytes + 4, second);
    out.append(reinterpret_cast<const char*>(bytes), kRecordSize);
}

// A word read from the file as it lies in memory, taken as little-endian.
[[maybe_unused]] std::uint32_t FromLittleEndian(std::uint32_t word) {
    if constexpr (std::endian::native == std::endian::little) {
        return word;
    } else {
        return GetLe32(reinterpret_cast<const unsigned char*>(&word));
    }
}

} // namespace

HeaderBytes EncodeHeader(const Header& header) {
    HeaderBytes bytes{};
    bytes[0] = kVersion;
    const std::uint32_t fields[kFieldCount] = {header.headwordOffset, header.headwordCount,
                                               header.refOffset,      header.refCount,
                                               header.textOffset,     header.textSize};
    for (std::size_t k = 0; k < kFieldCount; ++k) {
        PutLe32(bytes.data() + kFieldsStart + 4 * k, fields[k]);
    }
    return bytes;
}

Header DecodeHeader(const HeaderBytes& bytes) {
    const auto field = [&](std::size_t k) { return GetLe32(bytes.data() + kFieldsStart + 4 * k); };
    return {field(0), field(1), field(2), field(3), field(4), field(5)};
}

namespace {

constexpr unsigned char kIdentityMagic[4] = {'K', 'T', 'I', 'D'};
constexpr std::uint32_t kIdentityVersion = 1;
constexpr std::size_t kIdentityChecked = 40; // the bytes the block's own check covers

void PutLe64(unsigned char* at, std::uint64_t value) {
    PutLe32(at, static_cast<std::uint32_t>(value));
    PutLe32(at + 4, static_cast<std::uint32_t>(value >> 32));
}

std::uint64_t GetLe64(const unsigned char* at) {
    return GetLe32(at) | std::uint64_t{GetLe32(at + 4)} << 32;
}

} // namespace

IdentityBytes EncodeIdentity(const TextIdentity& identity) {
    IdentityBytes bytes{};
    std::memcpy(bytes.data(), kIdentityMagic, sizeof kIdentityMagic);
    PutLe32(bytes.data() + 4, kIdentityVersion);
    PutLe64(bytes.data() + 8, identity.size);
    PutLe64(bytes.data() + 16, identity.fingerprint);
    PutLe64(bytes.data() + 24, identity.hash[0]);
    PutLe64(bytes.data() + 32, identity.hash[1]);
    PutLe64(bytes.data() + kIdentityChecked, XXH3_64bits(bytes.data(), kIdentityChecked));
    return bytes;
}

bool ClaimsIdentity(const IdentityBytes& bytes) {
    return std::memcmp(bytes.data(), kIdentityMagic, sizeof kIdentityMagic) == 0 &&
           GetLe32(bytes.data() + 4) == kIdentityVersion;
}

std::optional<TextIdentity> DecodeIdentity(const IdentityBytes& bytes) {
    if (!ClaimsIdentity(bytes) ||
        GetLe64(bytes.data() + kIdentityChecked) != XXH3_64bits(bytes.data(), kIdentityChecked)) {
        return std::nullopt;
    }
    TextIdentity identity;
    identity.size = GetLe64(bytes.data() + 8);
    identity.fingerprint = GetLe64(bytes.data() + 16);
    identity.hash = {GetLe64(bytes.data() + 24), GetLe64(bytes.data() + 32)};
    return identity;
}

std::vector<Span> FingerprintSpans(std::uint64_t size) {
    if (size == 0) {
        return {};
    }
    if (size <= std::uint64_t{kFingerprintSpans} * kFingerprintSpanBytes) {
        return {{0, static_cast<std::size_t>(size)}};
    }
    // Longer than all spans together, so the steps between them are longer
    // than a span: they never overlap, the first starts the text and the last
    // ends it.
    std::vector<Span> spans;
    spans.reserve(kFingerprintSpans);
    const std::uint64_t room = size - kFingerprintSpanBytes;
    for (std::size_t k = 0; k < kFingerprintSpans; ++k) {
        spans.push_back({room * k / (kFingerprintSpans - 1), kFingerprintSpanBytes});
    }
    return spans;
}

std::uint64_t Fingerprint(std::uint64_t size, std::string_view sampled) {
    return XXH3_64bits_withSeed(sampled.data(), sampled.size(), size);
}

std::optional<std::uint64_t> FingerprintOfFile(std::FILE* file, std::uint64_t size) {
    std::string sampled;
    for (const Span& span : FingerprintSpans(size)) {
        const std::size_t at = sampled.size();
        sampled.resize(at + span.length);
        if (!platform::ReadAt(file, span.offset, sampled.data() + at, span.length)) {
            return std::nullopt;
        }
    }
    return Fingerprint(size, sampled);
}

struct TextHasher::State {
    XXH3_state_t* state = XXH3_createState();
    ~State() { XXH3_freeState(state); }
};

TextHasher::TextHasher() : m_state(std::make_unique<State>()) {
    if (m_state->state == nullptr) {
        throw std::bad_alloc();
    }
    XXH3_128bits_reset(m_state->state);
}

TextHasher::~TextHasher() = default;

void TextHasher::Add(std::string_view bytes) {
    XXH3_128bits_update(m_state->state, bytes.data(), bytes.size());
}

std::array<std::uint64_t, 2> TextHasher::Hash() const {
    const XXH128_hash_t hash = XXH3_128bits_digest(m_state->state);
    return {hash.low64, hash.high64};
}

TextIdentity IdentityOf(std::string_view text) {
    TextIdentity identity;
    identity.size = text.size();
    std::string sampled;
    for (const Span& span : FingerprintSpans(text.size())) {
        sampled.append(text.substr(static_cast<std::size_t>(span.offset), span.length));
    }
    identity.fingerprint = Fingerprint(identity.size, sampled);
    const XXH128_hash_t hash = XXH3_128bits(text.data(), text.size());
    identity.hash = {hash.low64, hash.high64};
    return identity;
}

void AppendRecord(std::string& out, const HeadwordEntry& entry) {
    AppendWords(out, entry.text, entry.refs);
}

void AppendRecord(std::string& out, const ArticleRef& ref) {
    AppendWords(out, ref.start, ref.end);
}

void FromFileOrder([[maybe_unused]] HeadwordEntry* records, [[maybe_unused]] std::size_t count) {
    if constexpr (std::endian::native != std::endian::little) {
        for (std::size_t k = 0; k < count; ++k) {
            records[k] = {FromLittleEndian(records[k].text), FromLittleEndian(records[k].refs)};
        }
    }
}

void FromFileOrder([[maybe_unused]] ArticleRef* records, [[maybe_unused]] std::size_t count) {
    if constexpr (std::endian::native != std::endian::little) {
        for (std::size_t k = 0; k < count; ++k) {
            records[k] = {FromLittleEndian(records[k].start), FromLittleEndian(records[k].end)};
        }
    }
}

bool BlockInside(std::uint32_t offset, std::uint32_t count, std::size_t itemSize,
                 std::uint64_t fileSize) {
    const std::uint64_t end = std::uint64_t{offset} + std::uint64_t{count} * itemSize;
    return offset <= static_cast<std::uint32_t>(INT32_MAX) && end <= fileSize;
}

bool RecordInside(const HeadwordEntry& entry, std::uint32_t textSize, std::uint32_t refCount) {
    return std::uint64_t{entry.TextOffset()} + entry.TextLength() <= textSize &&
           std::uint64_t{entry.FirstRef()} + entry.RefCount() <= refCount;
}

bool RecordsInside(const unsigned char* table, std::size_t count, std::uint32_t textSize,
                   std::uint32_t refCount) {
    // The pass over a whole headword table at load, so it is written for
    // speed. A record is two words, text then references, each a 24-bit start
    // and an 8-bit length whose sum stays below 2^25, so 32-bit sums are exact.
    // On a little-endian machine the table is taken as words four at a time,
    // two records, against the limits {text, refs, text, refs}; the outcomes
    // are or-ed without a branch.
    std::size_t k = 0;
    std::uint32_t outside = 0;
    if constexpr (std::endian::native == std::endian::little) {
        using Words = std::uint32_t __attribute__((vector_size(16)));
        const Words limits = {textSize, refCount, textSize, refCount};
        Words any = {0, 0, 0, 0};
        for (; k + 2 <= count; k += 2) {
            Words words;
            std::memcpy(&words, table + k * kRecordSize, sizeof words);
            any |= ((words & HeadwordEntry::kLowMask) + (words >> 24)) > limits;
        }
        outside = any[0] | any[1] | any[2] | any[3];
    }
    for (; k < count; ++k) {
        outside |= !RecordInside(HeadwordRecordAt(table, k), textSize, refCount);
    }
    return outside == 0;
}

} // namespace bsi
