// SPDX-License-Identifier: GPL-2.0-or-later
#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using platform::ToUtf8;
using testing_support::TempDir;

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const cExcMsg& e) {
        return ToUtf8(e.GetMsg());
    }
    return "(nothing raised)";
}

class CheckedIo : public testing::Test {
protected:
    void SetUp() override {
        testing_support::WriteBytes(dir.File("f.bin"), "abcd");
        file = platform::OpenFile(dir.AnsiPath("f.bin"), "rb");
        ASSERT_TRUE(file);
    }
    TempDir dir;
    platform::FileHandle file;
};

TEST_F(CheckedIo, FullReadReturnsTheCount) {
    char buffer[4];
    EXPECT_EQ(ReadChecked(buffer, 2, 2, file.get(), ""), 2u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(ReadChecked(buffer, 1, 0, file.get(), ""), 0u); // zero items succeed
}

TEST_F(CheckedIo, ShortReadAtEndOfFileRaisesWithTheContext) {
    char buffer[8];
    EXPECT_EQ(MessageOf([&] { ReadChecked(buffer, 1, 5, file.get(), "context"); }),
              "Ошибка при чтении файла context");
}

TEST_F(CheckedIo, EmptyContextLeavesNothingAfterTheBlank) {
    char buffer[8];
    EXPECT_EQ(MessageOf([&] { ReadChecked(buffer, 8, 1, file.get(), ""); }),
              "Ошибка при чтении файла ");
}

TEST_F(CheckedIo, FailedSeekRaisesTheReadingMessage) {
    EXPECT_EQ(MessageOf([&] { SeekChecked(file.get(), -1, SEEK_SET, "x"); }),
              "Ошибка при чтении файла x");
    EXPECT_EQ(MessageOf([&] { SeekChecked(file.get(), 2, SEEK_SET, "x"); }), "(nothing raised)");
}

TEST_F(CheckedIo, FailedWriteRaisesTheWritingMessage) {
    const char data[] = "zz";
    // The file is open for reading only: the write cannot succeed.
    EXPECT_EQ(MessageOf([&] { WriteChecked(data, 1, 2, file.get(), "y"); }),
              "Ошибка при записи файла y");
    auto out = platform::OpenFile(dir.AnsiPath("out.bin"), "wb");
    EXPECT_EQ(WriteChecked(data, 1, 2, out.get(), "y"), 2u);
}

} // namespace
