// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Ways to damage a data file, each a deterministic function of the good bytes:
// whole damaged copies for small files, and changes made in place on one open
// file (cut with ftruncate, bytes changed with pwrite) for the large matrices,
// which would otherwise spend their time writing the file anew per variant.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace damage {

struct Variant {
    std::string name;
    std::string bytes;
};

// Single bytes of the file replaced, in order (a later change to the same byte wins).
struct ByteChanges {
    std::string name;
    std::vector<std::pair<std::size_t, char>> bytes; // position, new byte
};

inline std::string Applied(std::string bytes, const ByteChanges& changes) {
    for (const auto& [at, byte] : changes.bytes) {
        bytes[at] = byte;
    }
    return bytes;
}

// The file cut at every byte: 0, 1, ... size - 1 bytes long.
inline std::vector<Variant> CutAtEveryByte(const std::string& good) {
    std::vector<Variant> variants;
    for (std::size_t n = 0; n < good.size(); ++n) {
        variants.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    }
    return variants;
}

// `count` sets of 1 to 4 random bytes replaced in a file of `size` bytes, from a fixed seed.
inline std::vector<ByteChanges> FlippedByteChanges(std::size_t size, int count,
                                                   std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<ByteChanges> variants;
    for (int v = 0; v < count && size != 0; ++v) {
        ByteChanges changes{"flip", {}};
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) {
            const std::size_t at = random() % size;
            changes.bytes.emplace_back(at, static_cast<char>(random() & 0xFF));
            changes.name += " " + std::to_string(at);
        }
        variants.push_back(std::move(changes));
    }
    return variants;
}

// Every 4-byte field of the first `headerBytes` set to huge values in turn.
inline std::vector<ByteChanges> HugeFieldChanges(const std::string& good, std::size_t headerBytes) {
    std::vector<ByteChanges> variants;
    const std::uint32_t values[] = {0xFFFFFFFFu, 0x80000000u,
                                    0x7FFFFFFFu, 0x00FFFFFFu,
                                    0x20000000u, static_cast<std::uint32_t>(good.size())};
    for (std::size_t at = 0; at + 4 <= headerBytes && at + 4 <= good.size(); ++at) {
        for (const std::uint32_t value : values) {
            ByteChanges changes{"field at " + std::to_string(at) + " = " + std::to_string(value),
                                {}};
            for (std::size_t k = 0; k < 4; ++k) {
                changes.bytes.emplace_back(at + k, static_cast<char>((value >> (8 * k)) & 0xFF));
            }
            variants.push_back(std::move(changes));
        }
    }
    return variants;
}

// The same as whole damaged copies.
inline std::vector<Variant> FlippedBytes(const std::string& good, int count, std::uint32_t seed) {
    std::vector<Variant> variants;
    for (const ByteChanges& changes : FlippedByteChanges(good.size(), count, seed)) {
        variants.push_back({changes.name, Applied(good, changes)});
    }
    return variants;
}

inline std::vector<Variant> HugeFields(const std::string& good, std::size_t headerBytes) {
    std::vector<Variant> variants;
    for (const ByteChanges& changes : HugeFieldChanges(good, headerBytes)) {
        variants.push_back({changes.name, Applied(good, changes)});
    }
    return variants;
}

// A file holding the good bytes, damaged in place one way after another and
// made good again at the end. Cuts shrink it (so they go from the longest to
// the shortest between restores); changed bytes are written back by Undo.
class FileInPlace {
public:
    FileInPlace(const std::filesystem::path& path, std::string good)
        : m_good(std::move(good)), m_fd(::open(path.c_str(), O_RDWR)) {
        if (m_fd < 0) {
            throw std::runtime_error("cannot open " + path.string());
        }
        Restore();
    }
    ~FileInPlace() {
        Restore();
        ::close(m_fd);
    }
    FileInPlace(const FileInPlace&) = delete;
    FileInPlace& operator=(const FileInPlace&) = delete;

    void CutTo(std::size_t length) {
        if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) {
            throw std::runtime_error("ftruncate failed");
        }
    }
    void Change(const ByteChanges& changes) {
        for (const auto& [at, byte] : changes.bytes) {
            Write(at, &byte, 1);
        }
    }
    void Undo(const ByteChanges& changes) {
        for (const auto& [at, byte] : changes.bytes) {
            Write(at, m_good.data() + at, 1);
        }
    }
    // The whole good file, as it was at the start.
    void Restore() {
        CutTo(m_good.size());
        Write(0, m_good.data(), m_good.size());
    }

private:
    void Write(std::size_t at, const char* bytes, std::size_t count) {
        if (::pwrite(m_fd, bytes, count, static_cast<off_t>(at)) != static_cast<ssize_t>(count)) {
            throw std::runtime_error("pwrite failed");
        }
    }

    std::string m_good;
    int m_fd;
};

// The ways a data file changes under a program that has it open.
enum class Change { ReplacedByRename, OverwrittenInPlace, Truncated };

struct ChangeCase {
    const char* name;
    Change change;
    bool keepsOldData; // the program can go on with what it opened
};

inline constexpr ChangeCase kChangesWhileOpen[] = {
    {"replaced by rename", Change::ReplacedByRename, true},
    {"overwritten in place", Change::OverwrittenInPlace, false},
    {"truncated", Change::Truncated, false},
};

// Changes the file at `path`: `other` written to a new file that is renamed
// over it (as kelimbo-index replaces a file), `other` written over it in place
// after cutting it to nothing (as cp does), or the file cut to a third.
inline void ChangeFile(const std::filesystem::path& path, Change change, const std::string& other) {
    const auto write = [&](const std::filesystem::path& to) {
        const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, other.data(), other.size()) != static_cast<ssize_t>(other.size())) {
            throw std::runtime_error("cannot write " + to.string());
        }
        ::close(fd);
    };
    switch (change) {
    case Change::ReplacedByRename:
        write(path.string() + ".new");
        std::filesystem::rename(path.string() + ".new", path);
        break;
    case Change::OverwrittenInPlace:
        write(path);
        break;
    case Change::Truncated:
        std::filesystem::resize_file(path, std::filesystem::file_size(path) / 3);
        break;
    }
}

} // namespace damage
