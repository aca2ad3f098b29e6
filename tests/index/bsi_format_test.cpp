// SPDX-License-Identifier: GPL-2.0-or-later
#include "index/bsi_format.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(BsiFormat, HeaderIsVersionReservedBytesAndSixLittleEndianFields) {
    const bsi::Header header{0x04030201, 0x08070605, 0x0C0B0A09,
                             0x100F0E0D, 0x14131211, 0x18171615};
    const bsi::HeaderBytes bytes = bsi::EncodeHeader(header);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
    for (std::size_t k = 4; k < bsi::kHeaderSize; ++k) {
        EXPECT_EQ(bytes[k], k - 3) << k;
    }
    const bsi::Header back = bsi::DecodeHeader(bytes);
    EXPECT_EQ(back.headwordOffset, header.headwordOffset);
    EXPECT_EQ(back.headwordCount, header.headwordCount);
    EXPECT_EQ(back.refOffset, header.refOffset);
    EXPECT_EQ(back.refCount, header.refCount);
    EXPECT_EQ(back.textOffset, header.textOffset);
    EXPECT_EQ(back.textSize, header.textSize);
}

TEST(BsiFormat, RecordsPackTwentyFourAndEightBitsPerWord) {
    const HeadwordEntry entry = HeadwordEntry::Pack(0xABCDEF, 255, 0x123456, 7);
    EXPECT_EQ(entry.TextOffset(), 0xABCDEFu);
    EXPECT_EQ(entry.TextLength(), 255u);
    EXPECT_EQ(entry.FirstRef(), 0x123456u);
    EXPECT_EQ(entry.RefCount(), 7u);
    std::string bytes;
    bsi::AppendRecord(bytes, entry);
    bsi::AppendRecord(bytes, ArticleRef{0x01020304, 0xA0B0C0D0});
    EXPECT_EQ(bytes, std::string("\xEF\xCD\xAB\xFF\x56\x34\x12\x07"
                                 "\x04\x03\x02\x01\xD0\xC0\xB0\xA0",
                                 16));

    // Read back the way the loader does: straight into memory.
    HeadwordEntry read;
    std::memcpy(&read, bytes.data(), sizeof read);
    bsi::FromFileOrder(&read, 1);
    EXPECT_EQ(read, entry);
}

TEST(BsiFormat, BlocksAndRecordsMustLieInside) {
    EXPECT_TRUE(bsi::BlockInside(28, 2, 8, 44));
    EXPECT_FALSE(bsi::BlockInside(28, 2, 8, 43));
    EXPECT_TRUE(bsi::BlockInside(44, 0, 8, 44));
    EXPECT_FALSE(bsi::BlockInside(45, 0, 8, 44));
    EXPECT_FALSE(bsi::BlockInside(28, 0x20000000, 8, 44));        // 2^32 bytes do not wrap to 0
    EXPECT_FALSE(bsi::BlockInside(0x80000000, 0, 1, 1ull << 40)); // beyond a 32-bit seek

    EXPECT_TRUE(bsi::RecordInside(HeadwordEntry::Pack(7, 3, 4, 1), 10, 5));
    EXPECT_FALSE(bsi::RecordInside(HeadwordEntry::Pack(8, 3, 4, 1), 10, 5));
    EXPECT_FALSE(bsi::RecordInside(HeadwordEntry::Pack(7, 3, 4, 2), 10, 5));
}

} // namespace
