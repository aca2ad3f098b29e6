// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading the files of a dictionary: whole, as a stream, or at any offset,
// each plain or gzip-compressed (dictzip is gzip with a table of chunks that
// can be inflated one by one).
//
// A few kilobytes of gzip can inflate to gigabytes. Every reader here stops,
// with an InflateLimitError naming the file, before it gives more bytes than
// its InflateLimits allow for the file's size.

#include "formats/dictionary_reader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

// The name a FormatError gives a file: its path as given.
std::string FileLabel(const std::filesystem::path& path);

// The whole content of a file, inflated when it is gzip-compressed. A file
// larger than `limit` bytes (after inflating) is a FormatError that names
// where the limit comes from.
std::string ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit = UINT64_MAX,
                          const std::string& limitSource = "", const InflateLimits& limits = {});

// A file read from start to end, inflated when it is gzip-compressed.
class SequentialFile {
public:
    explicit SequentialFile(const std::filesystem::path& path, const InflateLimits& limits = {});
    ~SequentialFile();
    SequentialFile(const SequentialFile&) = delete;
    SequentialFile& operator=(const SequentialFile&) = delete;

    // Up to `size` bytes; 0 at the end. A damaged or cut compressed file is
    // a FormatError; one that gives more than its limit an InflateLimitError.
    std::size_t Read(char* buffer, std::size_t size);
    // Bytes of the file (compressed) consumed so far, and the file's size.
    std::uint64_t Position() const;
    std::uint64_t FileSize() const { return m_fileSize; }

private:
    std::string m_label;
    void* m_gz = nullptr;
    std::uint64_t m_fileSize = 0;
    std::uint64_t m_limit = 0;
    std::string m_limitWhy;
    std::uint64_t m_given = 0;
};

// The data file of a StarDict or dictd dictionary, read at any offset. A
// dictzip file is read chunk by chunk, keeping only the last chunk inflated,
// so memory stays small however large the dictionary; a gzip file without the
// chunk table is inflated whole. Ranges that overlap the one read before are
// served from what that read inflated, so overlapping entries inflate their
// chunks once. Data larger than the limit is refused when the file is opened,
// and so are reads once all of them together ask for more than the limit.
class DataFile {
public:
    explicit DataFile(const std::filesystem::path& path, const InflateLimits& limits = {});
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Bytes of data (inflated).
    std::uint64_t Size() const { return m_size; }
    // The `length` bytes at `offset`, valid until the next call. Bytes outside
    // the data, or a chunk that does not inflate, are a FormatError naming
    // `entry`.
    std::string_view Read(std::uint64_t offset, std::uint64_t length, std::string_view entry);

    // Inflates the chunks not yet met in order, so that a damaged dictzip file
    // fails its checksum (a FormatError); nothing for other files. Readers call
    // it after their last entry.
    void CheckAll();
    // Dictzip chunks inflated so far, each time one was.
    std::uint64_t Inflations() const { return m_inflations; }

private:
    void OpenDictzip(std::string_view header, std::uint64_t fileSize);
    std::string_view Chunk(std::size_t index, std::string_view entry);
    void Inflate(std::size_t index, std::string_view entry);

    std::string m_label;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_fileSize = 0;
    InflateLimits m_limits;
    std::uint64_t m_given = 0; // bytes handed out by Read so far
    // Bytes of several chunks joined, from m_bufferStart on.
    std::string m_buffer;
    std::uint64_t m_bufferStart = 0;
    // A gzip file without chunks, inflated whole.
    std::string m_whole;
    bool m_isWhole = false;
    // Dictzip: where each chunk's compressed bytes start (one more for the end).
    bool m_isDictzip = false;
    std::uint32_t m_chunkLength = 0;
    std::uint32_t m_lastChunkLength = 0;
    std::uint32_t m_checksum = 0;        // CRC-32 of the data, from the trailer
    std::uint32_t m_runningChecksum = 0; // of the chunks met in order so far
    std::size_t m_checkedChunks = 0;
    std::vector<std::uint64_t> m_chunkStarts;
    std::size_t m_cachedChunk = SIZE_MAX;
    std::uint64_t m_inflations = 0;
    std::string m_chunk;
    std::string m_compressed;
    struct Inflater;
    std::unique_ptr<Inflater> m_inflater;
};

} // namespace formats
