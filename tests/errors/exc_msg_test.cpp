// SPDX-License-Identifier: GPL-2.0-or-later
#include "errors/exc_msg.h"
#include "platform/ansi_literal.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using platform::ToUtf8;

std::string MessageOf(void (*raise)()) {
    try {
        raise();
    } catch (const cExcMsg& e) {
        return ToUtf8(e.GetMsg());
    }
    return "(nothing raised)";
}

TEST(RaiseMsg, FormatsWindows1251AndThrowsUtf16) {
    static constexpr auto format = platform::Ansi(u8"Ошибка при открытии файла индекса:\n%s");
    static const std::string path = testing_support::Cp1251("/папка/EoRu_kelimbo.bsi");
    EXPECT_EQ(MessageOf([] { RaiseMsg(format.c_str(), path.c_str()); }),
              "Ошибка при открытии файла индекса:\n/папка/EoRu_kelimbo.bsi");
}

TEST(RaiseMsg, LongTextIsCutNotOverflowed) {
    static const std::string longArg(5000, 'z');
    const std::string message = MessageOf([] { RaiseMsg("%s", longArg.c_str()); });
    EXPECT_EQ(message, std::string(1023, 'z'));
}

TEST(CExcMsg, IsAStandardExceptionAndCopiesItsMessage) {
    try {
        throw cExcMsg(u"Недостаточно памяти");
    } catch (const std::exception& e) {
        const auto* own = dynamic_cast<const cExcMsg*>(&e);
        ASSERT_NE(own, nullptr);
        const cExcMsg copy(*own);
        EXPECT_EQ(ToUtf8(copy.GetMsg()), "Недостаточно памяти");
    }
}

} // namespace
