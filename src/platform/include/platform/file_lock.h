// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An exclusive lock on a lock file, held while the object lives (flock: the
// system lets it go when the process ends, however it ends). The lock file is
// opened without following a link and must be a regular file. The holder
// removes the file when it lets the lock go, so that none stays behind; a
// waiter that then holds the lock of a file no longer at the path opens the
// path again.

#include <chrono>
#include <string>
#include <string_view>

namespace platform {

enum class LockResult {
    Held,     // this object holds the lock
    Busy,     // another open of the file holds it
    Unusable, // the file cannot be opened or is not a regular file (errno says why)
};

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of the file at a narrow path, creating the file when
    // there is none, and waits up to `wait` for another holder to let go.
    LockResult Lock(std::string_view path,
                    std::chrono::milliseconds wait = std::chrono::milliseconds(0));

    bool Held() const { return m_fd >= 0; }

private:
    void Release() noexcept;

    int m_fd = -1;
    std::string m_path;
};

} // namespace platform
