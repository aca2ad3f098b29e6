// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "platform/file_time.h"
#include "platform/module_path.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::Cp1251;
using testing_support::TempDir;

// A narrow path is the file system's bytes: a folder of any name opens, a
// name no code page holds and one that is not even UTF-8 too.
TEST(OpenFile, FolderNamesOfAnyBytesWork) {
    TempDir dir;
    for (const char* name : {"Словари", "josé", "Elŝutoj", "日本", "bad\xff"}) {
        std::filesystem::create_directory(dir.Path() / name);
        testing_support::WriteBytes(dir.Path() / name / "файл.txt", "data");
        const std::string path = dir.AnsiPath(name) + "/файл.txt";
        auto file = platform::OpenFile(path, "rb");
        ASSERT_TRUE(file) << name;
        char buffer[4];
        EXPECT_EQ(std::fread(buffer, 1, 4, file.get()), 4u) << name;
        EXPECT_FALSE(platform::OpenFile(path + "x", "rb")) << name;
        EXPECT_TRUE(platform::LastWriteFileTime(path).has_value()) << name;
    }
}

// Only for showing: Windows-1251, '?' for what it lacks and for bytes that are no UTF-8.
TEST(AnsiPath, ShowsWhatTheCodePageHoldsAndMarksTheRest) {
    EXPECT_EQ(platform::AnsiPath("/tmp/Словарь/josé/日本/bad\xff/x"), Cp1251("/tmp/Словарь/jos?/?"
                                                                             "?/bad?/x"));
}

TEST(LastWriteFileTime, IsFileTimeWithNanoseconds) {
    TempDir dir;
    testing_support::WriteBytes(dir.File("a.txt"), "x");
    const auto when = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(dir.File("a.txt"), when);
    const auto time = platform::LastWriteFileTime(dir.AnsiPath("a.txt"));
    ASSERT_TRUE(time.has_value());
    const auto unixTicks = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::file_clock::to_sys(when).time_since_epoch())
                               .count() /
                           100;
    EXPECT_EQ(*time,
              static_cast<std::uint64_t>(unixTicks + platform::kFileTimeEpochOffset * 10'000'000));
    EXPECT_FALSE(platform::LastWriteFileTime(dir.AnsiPath("missing.txt")).has_value());
}

TEST(ModuleFileName, NamesThisTestProgram) {
    const std::string path = platform::ModuleFileName();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_NE(path.find("platform_tests"), std::string::npos);
}

TEST(ModuleFolderTest, CutsAfterTheLastSlashKeepingEveryByte) {
    struct Case {
        std::string path;
        std::string folder;
    };
    const std::string deep = "/" + std::string(300, 'd') + "/kelimbo";
    const Case cases[] = {
        {"/opt/kelimbo/bin/kelimbo", "/opt/kelimbo/bin/"},
        {"/kelimbo", "/"},
        {"kelimbo", ""},
        {"/home/словарь/kelimbo", "/home/словарь/"},
        {"/tmp/日本/bad\xff/kelimbo", "/tmp/日本/bad\xff/"},
        {deep, "/" + std::string(300, 'd') + "/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::ModuleFolder(c.path), c.folder) << c.path;
    }
}

// Far from now the file time no longer fits 64 bits: it wraps (the stamp
// keeps its low half) instead of overflowing, which the sanitizer build reports.
__extension__ typedef __int128 Wide; // exact for every case below

TEST(FileTimeOf, WrapsFarFromNowWithoutOverflow) {
    const auto reference = [](std::int64_t seconds, std::int64_t nanoseconds) {
        const Wide ticks =
            (static_cast<Wide>(seconds) + platform::kFileTimeEpochOffset) * 10'000'000 +
            nanoseconds / 100;
        return static_cast<std::uint64_t>(ticks & static_cast<Wide>(UINT64_MAX));
    };
    const std::int64_t cases[][2] = {
        {0, 0},
        {1'700'000'000, 123'456'789},
        {-1, 999'999'900},            // just before 1970
        {1'000'000'000'000, 5},       // the year 33658
        {INT64_MAX / 2, 999'999'999}, // far past any calendar
        {-11'644'473'601, 0},         // before 1601
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::FileTimeOf(c[0], c[1]), reference(c[0], c[1])) << c[0];
    }
}

TEST(FirstInvalidUtf8, ChecksTheBytesNotTheDecodedText) {
    const struct {
        std::string bytes;
        std::size_t bad;
    } cases[] = {
        {"plain", std::string::npos},
        {"ŝ日本\xF0\x9F\x98\x80", std::string::npos},
        {"a\xEF\xBF\xBD"
         "b",
         std::string::npos},     // a real U+FFFD
        {"\xEF\xBF\xBD\xFF", 3}, // a real one, then a bad byte
        {"ab\x80", 2},           // a stray continuation byte
        {"a\xC3", 1},            // cut short
        {"\xC0\xAF", 0},         // overlong
        {"x\xED\xA0\x80", 1},    // an encoded surrogate
        {"\xF4\x90\x80\x80", 0}, // past U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::FirstInvalidUtf8(c.bytes), c.bad) << c.bytes;
    }
}

} // namespace
