// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_replace.h"

#include "platform/file_open.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t kRandomLetters = 10;
constexpr int kCreateAttempts = 64;

// The folder part of a narrow path, with its final '/'; "./" for a bare name.
std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string("./")
                                           : std::string(path.substr(0, slash + 1));
}

std::string_view NameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Letters and digits from the system's random source.
bool RandomLetters(std::string& out) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomLetters];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    for (const unsigned char byte : bytes) {
        out += kAlphabet[byte % (sizeof kAlphabet - 1)];
    }
    return true;
}

} // namespace

std::string TemporaryPrefix(std::string_view name) {
    return "." + std::string(name) + ".tmp";
}

void RemoveStaleTemporaries(std::string_view target, std::chrono::seconds age) {
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(NameOf(target));
    DIR* dir = ::opendir(FileSystemPath(folder).c_str());
    if (dir == nullptr) {
        return;
    }
    const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(age.count());
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat info {};
        if (name.size() == prefix.size() + kRandomLetters && name.starts_with(prefix) &&
            ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_mtime < before) {
            stale.emplace_back(name);
        }
    }
    for (const std::string& name : stale) {
        ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

NewFile::~NewFile() {
    Discard();
}

NewFile::NewFile(NewFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_target(std::move(other.m_target)),
      m_stream(std::exchange(other.m_stream, nullptr)), m_kept(other.m_kept) {
    other.m_path.clear();
}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
    if (this != &other) {
        Discard();
        m_path = std::move(other.m_path);
        m_target = std::move(other.m_target);
        m_stream = std::exchange(other.m_stream, nullptr);
        m_kept = other.m_kept;
        other.m_path.clear();
    }
    return *this;
}

void NewFile::Discard() noexcept {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_path.empty() && !m_kept) {
        ::unlink(FileSystemPath(m_path).c_str());
    }
    m_path.clear();
}

bool NewFile::Create(std::string_view target) {
    Discard();
    m_kept = false;
    const std::string prefix = FolderOf(target) + TemporaryPrefix(NameOf(target));
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        std::string path = prefix;
        if (!RandomLetters(path)) {
            return false;
        }
        // O_EXCL with O_CREAT fails on any existing name, a link included,
        // even a dangling one; O_NOFOLLOW says so once more.
        const int fd = ::open(FileSystemPath(path).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        m_stream = ::fdopen(fd, "wb");
        if (m_stream == nullptr) {
            const int saved = errno;
            ::close(fd);
            ::unlink(FileSystemPath(path).c_str());
            errno = saved;
            return false;
        }
        m_path = std::move(path);
        m_target = std::string(target);
        return true;
    }
    errno = EEXIST;
    return false;
}

bool NewFile::Write(std::string_view bytes) {
    return m_stream != nullptr &&
           std::fwrite(bytes.data(), 1, bytes.size(), m_stream) == bytes.size();
}

bool NewFile::Finish() {
    if (m_stream == nullptr) {
        return false;
    }
    const bool flushed = FlushToDisk(m_stream);
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    return flushed && closed;
}

bool NewFile::PutInPlace() {
    if (m_path.empty() || (m_stream != nullptr && !Finish()) || !ReplaceFile(m_path, m_target)) {
        return false;
    }
    m_path.clear();
    return true;
}

bool FlushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool SyncFolder(std::string_view folder) {
    const int fd = ::open(FileSystemPath(folder.empty() ? std::string_view(".") : folder).c_str(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool ReplaceFile(std::string_view from, std::string_view to) {
    return std::rename(FileSystemPath(from).c_str(), FileSystemPath(to).c_str()) == 0 &&
           SyncFolder(FolderOf(to));
}

bool RemoveFile(std::string_view path) {
    return std::remove(FileSystemPath(path).c_str()) == 0;
}

} // namespace platform
