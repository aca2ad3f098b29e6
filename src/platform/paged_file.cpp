// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/paged_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

PagedFile::~PagedFile() {
    Close();
}

PagedFile::PagedFile(PagedFile&& other) noexcept {
    *this = std::move(other);
}

PagedFile& PagedFile::operator=(PagedFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_reserved = std::exchange(other.m_reserved, 0);
        m_have = std::move(other.m_have);
        m_cut = std::exchange(other.m_cut, false);
        m_fd = std::exchange(other.m_fd, -1);
        m_modified = other.m_modified;
    }
    return *this;
}

void PagedFile::Close() noexcept {
    if (m_data != nullptr) {
        ::munmap(m_data, m_reserved);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_data = nullptr;
    m_size = m_reserved = 0;
    m_have.clear();
    m_cut = false;
    m_fd = -1;
}

bool PagedFile::Open(int fd) {
    Close();
    struct stat state {};
    if (::fstat(fd, &state) != 0) {
        return false;
    }
    if (!S_ISREG(state.st_mode) || state.st_size <= 0) {
        errno = EINVAL;
        return false;
    }
    const auto size = static_cast<std::size_t>(state.st_size);
    const std::size_t pages = (size + kPage - 1) / kPage;
    // Address space only: a page takes memory when it is first written.
    void* data = ::mmap(nullptr, pages * kPage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (data == MAP_FAILED) {
        errno = ENOMEM;
        return false;
    }
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0) {
        const int error = errno;
        ::munmap(data, pages * kPage);
        errno = error;
        return false;
    }
    m_data = static_cast<unsigned char*>(data);
    m_size = size;
    m_reserved = pages * kPage;
    m_have.assign((pages + 63) / 64, 0);
    m_fd = own;
    m_modified = state.st_mtim;
    return true;
}

void PagedFile::Read(std::size_t first, std::size_t last) const {
    for (std::size_t page = first; page <= last; ++page) {
        if (Has(page)) {
            continue;
        }
        unsigned char* at = m_data + page * kPage;
        const std::size_t want = std::min(kPage, m_size - page * kPage);
        std::size_t got = 0;
        while (got < want) {
            const ssize_t n =
                ::pread(m_fd, at + got, want - got, static_cast<off_t>(page * kPage + got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got < want) {
            // Cut short (or unreadable) since it was opened: zeros, and the
            // owner learns of it from Unchanged().
            std::memset(at + got, 0, want - got);
            m_cut = true;
        }
        m_have[page / 64] |= std::uint64_t{1} << (page % 64);
    }
}

bool PagedFile::ReadAt(std::size_t offset, void* into, std::size_t length) const {
    auto* bytes = static_cast<unsigned char*>(into);
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n =
            ::pread(m_fd, bytes + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            m_cut = true;
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool PagedFile::Unchanged() const {
    if (m_fd < 0) {
        return true;
    }
    struct stat state {};
    return !m_cut && ::fstat(m_fd, &state) == 0 &&
           static_cast<std::size_t>(state.st_size) == m_size &&
           state.st_mtim.tv_sec == m_modified.tv_sec && state.st_mtim.tv_nsec == m_modified.tv_nsec;
}

} // namespace platform
