// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A file read a page at a time, on first use, into a private copy that lies at
// the file's own offsets: Data() + offset is the file's byte at `offset` once
// Need() has covered it. Memory is reserved for the whole file but becomes
// resident only page by page, as readers need it, so a reader that touches a
// few dozen pages of a large file holds a few dozen pages.
//
// Why not a mapping of the file: a mapping shows whatever the file holds now,
// and a read past the end of a file cut short raises SIGBUS; it also maps
// pages at the grain of the system's page cache, which for a freshly written
// file is up to 2 MB a fault. Here a file cut short reads as zeros past its
// end and is marked changed, a file written over in place gives its new bytes
// only to pages not read before, and Unchanged() tells the owner either way.
// Readers must bound what they read from the bytes themselves.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <vector>

namespace platform {

class PagedFile {
public:
    static constexpr std::size_t kPage = 4096;

    PagedFile() = default;
    ~PagedFile();
    PagedFile(PagedFile&& other) noexcept;
    PagedFile& operator=(PagedFile&& other) noexcept;
    PagedFile(const PagedFile&) = delete;
    PagedFile& operator=(const PagedFile&) = delete;

    // Takes the open file `fd` (a duplicate of it; the caller keeps its own).
    // False when it is not a regular file of at least one byte (errno EINVAL)
    // or memory cannot be reserved (ENOMEM); the object is then empty.
    bool Open(int fd);

    // The file's size when it was opened.
    std::size_t Size() const { return m_size; }
    const unsigned char* Data() const { return m_data; }

    // Makes [offset, offset + length) readable at Data() + offset; the range
    // lies within Size().
    void Need(std::size_t offset, std::size_t length) const {
        if (length == 0) {
            return; // also at Size(), past the last page
        }
        const std::size_t first = offset / kPage;
        const std::size_t last = (offset + length - 1) / kPage;
        if (!Has(first) || !Has(last)) {
            Read(first, last);
        }
    }

    // Reads [offset, offset + length) of the file into `into`, past the copy;
    // false on a short read.
    bool ReadAt(std::size_t offset, void* into, std::size_t length) const;

    // False once the file has been found shorter than when it was opened, or
    // its size or modification time differ now. A file replaced by rename is
    // not changed: this one stays open.
    bool Unchanged() const;

private:
    bool Has(std::size_t page) const { return (m_have[page / 64] >> (page % 64)) & 1; }
    void Read(std::size_t first, std::size_t last) const;
    void Close() noexcept;

    unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_reserved = 0;
    mutable std::vector<std::uint64_t> m_have; // a bit per page read
    mutable bool m_cut = false;
    int m_fd = -1;
    std::timespec m_modified{};
};

} // namespace platform
