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

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

void FileLock::Release() noexcept {
    if (m_fd >= 0) {
        // Removed while still held: whoever opened it meanwhile finds, once
        // it holds the lock, that the path is no longer its file.
        ::unlink(m_path.c_str());
        ::close(m_fd); // closing the only descriptor lets the lock go
        m_fd = -1;
    }
}

LockResult FileLock::Lock(std::string_view path, std::chrono::milliseconds wait) {
    Release();
    const std::string name = FileSystemPath(path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = OpenLockFile(name);
        if (fd < 0) {
            return LockResult::Unusable;
        }
        int locked = 0;
        while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 &&
               (errno == EWOULDBLOCK || errno == EINTR) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (locked != 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return saved == EWOULDBLOCK ? LockResult::Busy : LockResult::Unusable;
        }
        // The lock holds only if the file is still the one at the path: the
        // holder before may have removed it when it let go.
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            m_fd = fd;
            m_path = name;
            return LockResult::Held;
        }
        ::close(fd);
    }
}

} // namespace platform
