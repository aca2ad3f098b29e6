// SPDX-License-Identifier: GPL-2.0-or-later
// A file read a page at a time: every byte reads as the file's once needed,
// at any page boundary, up to the very end of a file of whole pages; a file
// cut or written over is reported, and a cut reads as zeros, never a fault.
#include "platform/paged_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

using platform::PagedFile;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr std::size_t kPage = PagedFile::kPage;

std::string Bytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t k = 0; k < size; ++k) {
        bytes[k] = static_cast<char>(k * 7 + k / kPage);
    }
    return bytes;
}

PagedFile Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    PagedFile file;
    EXPECT_TRUE(file.Open(fd));
    ::close(fd); // the object keeps its own
    return file;
}

TEST(PagedFile, ReadsWhatIsNeededAtAnyBoundaryUpToTheEnd) {
    TempDir dir;
    const struct {
        std::size_t offset;
        std::size_t length;
    } needs[] = {{0, 1},         {kPage - 3, 8},      {kPage, kPage},
                 {5, 3 * kPage}, {64 * kPage - 1, 1}, {64 * kPage, 0},
                 {17, 0}};
    // 64 whole pages (the page bitmap's first word exactly) and one byte more.
    for (const std::size_t size : {64 * kPage, 64 * kPage + 1}) {
        const std::string bytes = Bytes(size);
        WriteBytes(dir.File("f"), bytes);
        const PagedFile file = Open(dir.File("f"));
        ASSERT_EQ(file.Size(), size);
        for (const auto& n : needs) {
            file.Need(n.offset, n.length);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Data()) + n.offset, n.length),
                      bytes.substr(n.offset, n.length))
                << size << " " << n.offset;
        }
        EXPECT_TRUE(file.Unchanged());
    }
}

TEST(PagedFile, ChangesUnderItAreReportedAndACutReadsAsZeros) {
    TempDir dir;
    const std::string bytes = Bytes(4 * kPage);
    const std::string other = Bytes(5 * kPage).substr(kPage);
    enum class Change { Rename, Overwrite, Cut };
    for (const Change change : {Change::Rename, Change::Overwrite, Change::Cut}) {
        WriteBytes(dir.File("f"), bytes);
        const PagedFile file = Open(dir.File("f"));
        file.Need(0, kPage); // the first page read before the change
        if (change == Change::Rename) {
            WriteBytes(dir.File("g"), other);
            std::filesystem::rename(dir.File("g"), dir.File("f"));
        } else if (change == Change::Overwrite) {
            WriteBytes(dir.File("f"), other + "x");
        } else {
            std::filesystem::resize_file(dir.File("f"), kPage + 10);
        }
        file.Need(0, 4 * kPage);
        const std::string read(reinterpret_cast<const char*>(file.Data()), 4 * kPage);
        EXPECT_EQ(read.substr(0, kPage), bytes.substr(0, kPage)) << "read before the change";
        switch (change) {
        case Change::Rename:
            EXPECT_TRUE(file.Unchanged());
            EXPECT_EQ(read, bytes);
            break;
        case Change::Overwrite:
            EXPECT_FALSE(file.Unchanged());
            EXPECT_EQ(read.substr(kPage), other.substr(kPage));
            break;
        case Change::Cut:
            EXPECT_FALSE(file.Unchanged());
            EXPECT_EQ(read.substr(kPage, 10), bytes.substr(kPage, 10));
            EXPECT_EQ(read.substr(kPage + 10), std::string(3 * kPage - 10, '\0'));
            break;
        }
    }
}

} // namespace
