// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/large_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

TEST(LargeBlock, GivesWritableRoomOfEverySize) {
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, 2 * kMiB - 1, 2 * kMiB, 5 * kMiB + 3}) {
        SCOPED_TRACE(size);
        const platform::LargeBlock<char> block = platform::MakeLargeBlock<char>(size);
        ASSERT_TRUE(block);
        std::memset(block.get(), 0x5A, size);
        if (size >= 2 * kMiB) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % (2 * kMiB), 0u);
            EXPECT_EQ(block[size - 1], 0x5A);
        }
    }
}

TEST(LargeBlock, CountsWhoseBytesOverflowGiveNull) {
    struct Record {
        std::uint32_t a, b;
    };
    EXPECT_FALSE(platform::MakeLargeBlock<Record>(SIZE_MAX / sizeof(Record) + 1));
}

} // namespace
