// SPDX-License-Identifier: GPL-2.0-or-later
// What a program killed while replacing a file leaves behind, and what of it
// the next one may remove.
#include "platform/file_replace.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

TEST(RemoveStaleTemporaries, RemovesOnlyOldRegularFilesOfTheTargetsOwnTemporaryName) {
    TempDir dir;
    const fs::path target = dir.File("historio.bin");
    const std::string prefix = platform::TemporaryPrefix("historio.bin");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const struct {
        std::string name;
        bool oldFile;
        bool removed;
    } cases[] = {
        {prefix + "Ab3dEf7hIj", true, true},   // a killed save's file
        {prefix + "Zz0zZz0zZz", false, false}, // one being written now
        {prefix + "Ab3dEf7hI", true, false},   // not a name NewFile gives
        {prefix + "Ab3dEf7hIjK", true, false},
        {".vortlisto.tsv.tmpAb3dEf7hIj", true, false}, // another file's
        {"historio.bin", true, false},
    };
    for (const auto& c : cases) {
        std::ofstream(dir.File(c.name)) << "x";
        if (c.oldFile) {
            fs::last_write_time(dir.File(c.name), old);
        }
    }
    // A folder and a link named as a temporary file are never touched.
    fs::create_directory(dir.File(prefix + "FolderName"));
    fs::last_write_time(dir.File(prefix + "FolderName"), old);
    fs::create_symlink(dir.File("historio.bin"), dir.File(prefix + "LinkName01"));
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 7200, 0}};
    ASSERT_EQ(
        ::utimensat(AT_FDCWD, dir.File(prefix + "LinkName01").c_str(), times, AT_SYMLINK_NOFOLLOW),
        0);

    platform::RemoveStaleTemporaries(target.string(), std::chrono::hours(1));
    for (const auto& c : cases) {
        EXPECT_EQ(fs::exists(dir.File(c.name)), !c.removed) << c.name;
    }
    EXPECT_TRUE(fs::is_directory(dir.File(prefix + "FolderName")));
    EXPECT_TRUE(fs::is_symlink(dir.File(prefix + "LinkName01")));
    EXPECT_TRUE(fs::exists(dir.File("historio.bin")));
    // A folder that is not there is no error.
    platform::RemoveStaleTemporaries(dir.File("nowhere/historio.bin").string(),
                                     std::chrono::hours(1));
}

} // namespace
