// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One record of the headword table: where the headword's text lies in the text
// block and which article references belong to it. Each of the two 32-bit words
// packs a 24-bit number in its low bits and an 8-bit number in its top byte.

#include <cstdint>

struct HeadwordEntry {
    std::uint32_t text = 0; // text offset (low 24 bits), text length (top byte)
    std::uint32_t refs = 0; // first reference (low 24 bits), reference count (top byte)

    static constexpr std::uint32_t kLowMask = 0x00FFFFFFu;

    // The caller keeps the offsets below 2^24 and the lengths and counts below 256.
    static constexpr HeadwordEntry Pack(std::uint32_t textOffset, std::uint32_t textLength,
                                        std::uint32_t firstRef, std::uint32_t refCount) {
        return {(textOffset & kLowMask) | (textLength << 24),
                (firstRef & kLowMask) | (refCount << 24)};
    }

    constexpr std::uint32_t TextOffset() const { return text & kLowMask; }
    constexpr std::uint32_t TextLength() const { return text >> 24; }
    constexpr std::uint32_t FirstRef() const { return refs & kLowMask; }
    constexpr std::uint32_t RefCount() const { return refs >> 24; }

    friend bool operator==(const HeadwordEntry&, const HeadwordEntry&) = default;
};
