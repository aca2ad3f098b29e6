// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/little_endian.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

TEST(LittleEndian, LowByteFirstForEveryWidthAndBack) {
    struct Case {
        std::uint32_t value;
        std::array<unsigned char, 4> bytes;
    };
    const Case cases[] = {
        {0x00000000u, {0x00, 0x00, 0x00, 0x00}}, {0x12345678u, {0x78, 0x56, 0x34, 0x12}},
        {0x80000001u, {0x01, 0x00, 0x00, 0x80}}, {0xFFFFFFFEu, {0xFE, 0xFF, 0xFF, 0xFF}},
        {0x0000FF00u, {0x00, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        std::array<unsigned char, 4> out{};
        platform::PutLe32(out.data(), c.value);
        EXPECT_EQ(out, c.bytes) << std::hex << c.value;
        EXPECT_EQ(platform::GetLe32(c.bytes.data()), c.value) << std::hex << c.value;

        const auto low = static_cast<std::uint16_t>(c.value);
        std::array<unsigned char, 2> half{};
        platform::PutLe16(half.data(), low);
        EXPECT_EQ(half[0], c.bytes[0]) << std::hex << c.value;
        EXPECT_EQ(half[1], c.bytes[1]) << std::hex << c.value;
        EXPECT_EQ(platform::GetLe16(c.bytes.data()), low) << std::hex << c.value;
    }
}

} // namespace
