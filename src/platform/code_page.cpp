// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"

#include "platform/cp1251.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Collects output units and notices when they would not fit; all writers share it.
template <typename Unit> class Sink {
public:
    Sink(Unit* dst, std::size_t cap) : m_dst(dst), m_cap(cap) {}
    void Put(Unit u) {
        if (m_count < m_cap) {
            m_dst[m_count] = u;
        } else {
            m_overflow = true;
        }
        ++m_count;
    }
    std::size_t Result() const { return m_overflow ? 0 : m_count; }

private:
    Unit* m_dst;
    std::size_t m_cap;
    std::size_t m_count = 0;
    bool m_overflow = false;
};

// For a destination known to be large enough: writes without checking.
template <typename Unit> class RoomySink {
public:
    explicit RoomySink(Unit* dst) : m_dst(dst) {}
    void Put(Unit u) { m_dst[m_count++] = u; }
    std::size_t Result() const { return m_count; }

private:
    Unit* m_dst;
    std::size_t m_count = 0;
};

// One unit per byte, so the size is known before the pass.
std::size_t Cp1251ToWide(const char* src, std::size_t len, char16_t* dst, std::size_t cap) {
    if (len > cap) {
        return 0;
    }
    for (std::size_t i = 0; i < len; ++i) {
        dst[i] = Cp1251ToUnicode(static_cast<unsigned char>(src[i]));
    }
    return len;
}

template <typename Out> void PutCodePoint(Out& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.Put(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.Put(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.Put(static_cast<char16_t>(c));
    }
}

// One UTF-8 sequence whose lead s[i] is 0x80 or above: its code point and its
// length, or, when it is invalid or truncated, not valid and the length of what
// one U+FFFD stands for (the lead and the continuation bytes that belonged to it).
struct Sequence {
    char32_t c;
    std::size_t length;
    bool valid;
};

inline Sequence ReadSequence(const unsigned char* s, std::size_t i, std::size_t len) {
    const unsigned lead = s[i];
    std::size_t need = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, c = lead & 0x07, min = 0x10000;
    } else {
        return {0, 1, false};
    }
    std::size_t k = 1;
    for (; k <= need && i + k < len && (s[i + k] & 0xC0) == 0x80; ++k) {
        c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (k <= need || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return {0, k, false};
    }
    return {c, k, true};
}

// Decodes UTF-8; each maximal invalid or truncated sequence gives one U+FFFD.
// Never more units than bytes: one unit for up to three bytes, two for four.
template <typename Out> std::size_t Utf8ToWide(const char* src, std::size_t len, Out& out) {
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    std::size_t i = 0;
    while (i < len) {
        if (s[i] < 0x80) {
            out.Put(static_cast<char16_t>(s[i]));
            ++i;
            continue;
        }
        const Sequence sequence = ReadSequence(s, i, len);
        if (sequence.valid) {
            PutCodePoint(out, sequence.c);
        } else {
            out.Put(kReplacement);
        }
        i += sequence.length;
    }
    return out.Result();
}

// Reads one code point from UTF-16 at i; a lone surrogate reads as itself.
char32_t NextCodePoint(const char16_t* src, std::size_t len, std::size_t& i) {
    const char16_t u = src[i++];
    if (u >= 0xD800 && u <= 0xDBFF && i < len && src[i] >= 0xDC00 && src[i] <= 0xDFFF) {
        const char16_t low = src[i++];
        return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
    }
    return u;
}

std::size_t WideToCp1251(const char16_t* src, std::size_t len, Sink<char>& out) {
    for (std::size_t i = 0; i < len;) {
        const int byte = Cp1251FromUnicode(NextCodePoint(src, len, i));
        out.Put(byte < 0 ? '?' : static_cast<char>(static_cast<unsigned char>(byte)));
    }
    return out.Result();
}

std::size_t WideToUtf8(const char16_t* src, std::size_t len, Sink<char>& out) {
    for (std::size_t i = 0; i < len;) {
        char32_t c = NextCodePoint(src, len, i);
        if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        const auto put = [&out](char32_t v) { out.Put(static_cast<char>(v)); };
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    return out.Result();
}

} // namespace

std::size_t MultiByteToWide(unsigned codePage, const char* src, std::size_t srcLen, char16_t* dst,
                            std::size_t dstCap) {
    switch (codePage) {
    case kAnsiCodePage:
        return Cp1251ToWide(src, srcLen, dst, dstCap);
    case kUtf8CodePage:
        if (srcLen <= dstCap) {
            RoomySink<char16_t> out(dst);
            return Utf8ToWide(src, srcLen, out);
        } else {
            Sink<char16_t> out(dst, dstCap);
            return Utf8ToWide(src, srcLen, out);
        }
    default:
        return 0;
    }
}

std::size_t WideToMultiByte(unsigned codePage, const char16_t* src, std::size_t srcLen, char* dst,
                            std::size_t dstCap) {
    Sink<char> out(dst, dstCap);
    switch (codePage) {
    case kAnsiCodePage:
        return WideToCp1251(src, srcLen, out);
    case kUtf8CodePage:
        return WideToUtf8(src, srcLen, out);
    default:
        return 0;
    }
}

std::u16string FromUtf8(std::string_view utf8) {
    // Never more units than bytes.
    std::u16string wide(utf8.size(), u'\0');
    wide.resize(MultiByteToWide(kUtf8CodePage, utf8.data(), utf8.size(), wide.data(), wide.size()));
    return wide;
}

std::string ToUtf8(std::u16string_view wide) {
    // At most three bytes per unit: a surrogate pair's four bytes take two units.
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(WideToMultiByte(kUtf8CodePage, wide.data(), wide.size(), utf8.data(), utf8.size()));
    return utf8;
}

std::u16string FromAnsi(std::string_view ansi) {
    std::u16string wide(ansi.size(), u'\0');
    wide.resize(MultiByteToWide(kAnsiCodePage, ansi.data(), ansi.size(), wide.data(), wide.size()));
    return wide;
}

std::string ToAnsi(std::u16string_view wide) {
    // One byte per unit at most: a surrogate pair becomes a single '?'.
    std::string ansi(wide.size(), '\0');
    ansi.resize(WideToMultiByte(kAnsiCodePage, wide.data(), wide.size(), ansi.data(), ansi.size()));
    return ansi;
}

void AppendCleanUtf8(std::string& out, std::string_view utf8) {
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t len = utf8.size();
    std::size_t run = 0; // the start of the bytes that are copied as they are
    std::size_t i = 0;
    while (i < len) {
        // ASCII eight bytes at a time: most of an article's bytes are.
        std::uint64_t eight = 0;
        if (i + 8 <= len && (std::memcpy(&eight, s + i, 8), (eight & 0x8080808080808080u) == 0)) {
            i += 8;
            continue;
        }
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        // The common case of Cyrillic and accented Latin letters: two bytes,
        // never overlong (the lead is C2 or above) nor a surrogate.
        if (s[i] >= 0xC2 && s[i] <= 0xDF && i + 1 < len && (s[i + 1] & 0xC0) == 0x80) {
            i += 2;
            continue;
        }
        const Sequence sequence = ReadSequence(s, i, len);
        if (!sequence.valid) {
            out.append(utf8.data() + run, i - run);
            out.append("\xEF\xBF\xBD", 3);
            run = i + sequence.length;
        }
        i += sequence.length;
    }
    out.append(utf8.data() + run, len - run);
}

std::size_t FirstInvalidUtf8(std::string_view bytes) {
    // The decoder above, without writing: a sequence is valid when it decodes
    // to what it encodes, which the replacement unit cannot tell.
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t len = bytes.size();
    std::size_t i = 0;
    while (i < len) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const Sequence sequence = ReadSequence(s, i, len);
        if (!sequence.valid) {
            return i;
        }
        i += sequence.length;
    }
    return std::string_view::npos;
}

} // namespace platform
