// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Opening a file that the user names as a source to read (a dictionary, a word
// list, an XML article, a DTD). The path may name anything: a FIFO would block
// open() until a writer came, a device would never end. So the file is opened
// without blocking, checked to be a regular file on the descriptor itself
// (no second look-up by name that another process could change in between),
// and only then read normally.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace platform {

enum class Links {
    Follow,
    Refuse, // the last part of the path may not be a symbolic link
};

class SourceFile {
public:
    SourceFile() = default;
    // Opens `path` for reading. On failure the file is not open and `why`
    // says what it is instead ("not a regular file", "a symbolic link", the
    // system's reason).
    SourceFile(const std::filesystem::path& path, Links links, std::string& why);
    ~SourceFile();
    SourceFile(SourceFile&& other) noexcept;
    SourceFile& operator=(SourceFile&& other) noexcept;
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    // The size fstat gave when the file was opened.
    std::uint64_t Size() const { return m_size; }
    // Hands the descriptor over to a reader that closes it itself.
    int Release();

    // Reads the file from its current position to its end into `content`;
    // false, with `why`, on a read error or once more than `limit` bytes come.
    bool ReadAll(std::string& content, std::uint64_t limit, std::string& why);

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

// A source file as a std::istream, for readers that take one.
class SourceStream : public std::istream {
public:
    // Not good() when the file cannot be opened; `why` then says why.
    SourceStream(const std::filesystem::path& path, std::string& why);
    ~SourceStream() override;

private:
    class Buffer;
    SourceFile m_file;
    std::unique_ptr<Buffer> m_buffer;
};

} // namespace platform
