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

TEST(OpenFile, CyrillicFolderNamesWork) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "Словари");
    testing_support::WriteBytes(dir.Path() / "Словари" / "файл.txt", "data");
    const std::string ansi = platform::AnsiPath(dir.Path().string()) + Cp1251("/Словари/файл.txt");
    auto file = platform::OpenFile(ansi, "rb");
    ASSERT_TRUE(file);
    char buffer[4];
    EXPECT_EQ(std::fread(buffer, 1, 4, file.get()), 4u);
    EXPECT_FALSE(platform::OpenFile(ansi + "x", "rb"));
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
    const std::u16string path = platform::ModuleFileName();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), u'/');
    EXPECT_NE(path.find(u"platform_tests"), std::u16string::npos);
}

TEST(ModuleFolderTest, CutsAfterTheLastSlashInTheAnsiCodePage) {
    struct Case {
        std::u16string path;
        std::string folder;
    };
    const std::u16string deep = u"/" + std::u16string(300, u'd') + u"/kelimbo";
    const Case cases[] = {
        {u"/opt/kelimbo/bin/kelimbo", "/opt/kelimbo/bin/"},
        {u"/kelimbo", "/"},
        {u"kelimbo", ""},
        {u"/home/словарь/kelimbo", Cp1251("/home/словарь/")},
        {deep, "/" + std::string(300, 'd') + "/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::ModuleFolder(c.path), c.folder) << platform::ToUtf8(c.path);
    }
}

} // namespace
