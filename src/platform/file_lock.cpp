// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_lock.h"

#include "platform/file_open.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

// Opens the lock file: never through a link, never blocking on a FIFO, and
// read-only when the file is someone else's that this user may only read.
int OpenLockFile(const std::string& path) {
    constexpr int kFlags = O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | kFlags, 0644);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

} // namespace

FileLock::~FileLock() {
    Release();
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void FileLock::Release() noexcept {
    if (m_fd >= 0) {
        ::close(m_fd); // closing the only descriptor lets the lock go
        m_fd = -1;
    }
}

LockResult FileLock::Lock(std::string_view path, std::chrono::milliseconds wait) {
    Release();
    const int fd = OpenLockFile(FileSystemPath(path));
    if (fd < 0) {
        return LockResult::Unusable;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return LockResult::Held;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return LockResult::Unusable;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return LockResult::Busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace platform
