// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/source_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

SourceFile::SourceFile(const std::filesystem::path& path, Links links, std::string& why) {
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (links == Links::Refuse) {
        flags |= O_NOFOLLOW;
    }
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        why = links == Links::Refuse && errno == ELOOP ? "a symbolic link" : std::strerror(errno);
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? "a folder, not a regular file" : "not a regular file";
        ::close(fd);
        return;
    }
    // A regular file never blocks; reads go on as for any other file.
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) {
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info.st_size);
}

SourceFile::~SourceFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

SourceFile::SourceFile(SourceFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_size(other.m_size) {}

SourceFile& SourceFile::operator=(SourceFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
    }
    return *this;
}

int SourceFile::Release() {
    return std::exchange(m_fd, -1);
}

bool SourceFile::ReadAll(std::string& content, std::uint64_t limit, std::string& why) {
    content.clear();
    if (m_size <= limit) {
        content.reserve(static_cast<std::size_t>(m_size));
    }
    std::array<char, 65536> block{};
    for (;;) {
        const ssize_t got = ::read(m_fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            why = std::strerror(errno);
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (content.size() + static_cast<std::size_t>(got) > limit) {
            why = "larger than " + std::to_string(limit) + " bytes";
            return false;
        }
        content.append(block.data(), static_cast<std::size_t>(got));
    }
}

class SourceStream::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : m_fd(fd) {}

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        ssize_t got = 0;
        do {
            got = ::read(m_fd, m_block.data(), m_block.size());
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
            // A read error ends the stream as its end does; the stream's
            // badbit tells it apart.
            if (got < 0) {
                throw std::ios_base::failure(std::strerror(errno));
            }
            return traits_type::eof();
        }
        setg(m_block.data(), m_block.data(), m_block.data() + got);
        return traits_type::to_int_type(*gptr());
    }

private:
    int m_fd;
    std::array<char, 65536> m_block{};
};

SourceStream::SourceStream(const std::filesystem::path& path, std::string& why)
    : std::istream(nullptr), m_file(path, Links::Follow, why) {
    if (!m_file.IsOpen()) {
        setstate(std::ios_base::failbit);
        return;
    }
    m_buffer = std::make_unique<Buffer>(m_file.Fd());
    rdbuf(m_buffer.get());
}

SourceStream::~SourceStream() = default;

} // namespace platform
