// SPDX-License-Identifier: GPL-2.0-or-later
#include "formats/data_file.h"

#include "formats/dictionary_reader.h"
#include "platform/source_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <zlib.h>

namespace formats {
namespace {

// Opens a regular file for reading (a FIFO or a device is refused without
// waiting for it); FormatError otherwise. Returns its size.
int OpenRegular(const std::string& label, const std::filesystem::path& path, std::uint64_t& size) {
    std::string why;
    platform::SourceFile file(path, platform::Links::Follow, why);
    if (!file.IsOpen()) {
        throw FormatError(label, "",
                          why.ends_with("not a regular file") ? why : "cannot open: " + why);
    }
    size = file.Size();
    return file.Release();
}

// Reads exactly `size` bytes at `offset`; false when the file ends first.
bool ReadAt(int fd, std::uint64_t offset, char* buffer, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, buffer, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        buffer += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

std::uint16_t Little16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::string Range(std::uint64_t offset, std::uint64_t length) {
    return "bytes " + std::to_string(offset) + "+" + std::to_string(length);
}

} // namespace

std::string FileLabel(const std::filesystem::path& path) {
    return path.string();
}

std::uint64_t InflateLimits::For(std::uint64_t fileSize) const {
    const std::uint64_t relative =
        ratio != 0 && fileSize > UINT64_MAX / ratio ? UINT64_MAX : fileSize * ratio;
    return std::min(absolute, std::max(relative, minimum));
}

std::string InflateLimits::Explain(std::uint64_t fileSize) const {
    const std::uint64_t limit = For(fileSize);
    if (limit == absolute) {
        return "the limit of " + std::to_string(absolute) + " bytes for any file";
    }
    if (limit == minimum) {
        return "the limit of " + std::to_string(minimum) + " bytes for a small file";
    }
    return std::to_string(ratio) + " times its size of " + std::to_string(fileSize) + " bytes";
}

std::string ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit,
                          const std::string& limitSource, const InflateLimits& limits) {
    // The file refuses to give more than `limits` allow itself; `limit` is
    // what the format allows.
    SequentialFile file(path, limits);
    std::string content;
    char buffer[65536];
    while (const std::size_t got = file.Read(buffer, sizeof buffer)) {
        if (content.size() + got > limit) {
            throw FormatError(FileLabel(path), "",
                              "larger than " + std::to_string(limit) + " bytes" +
                                  (limitSource.empty() ? "" : " (" + limitSource + ")"));
        }
        content.append(buffer, got);
    }
    return content;
}

SequentialFile::SequentialFile(const std::filesystem::path& path, const InflateLimits& limits)
    : m_label(FileLabel(path)) {
    const int fd = OpenRegular(m_label, path, m_fileSize);
    m_limit = limits.For(m_fileSize);
    m_limitWhy = limits.Explain(m_fileSize);
    m_gz = ::gzdopen(fd, "rb");
    if (m_gz == nullptr) {
        ::close(fd);
        throw FormatError(m_label, "", "cannot open");
    }
    ::gzbuffer(static_cast<gzFile>(m_gz), 65536);
}

SequentialFile::~SequentialFile() {
    ::gzclose(static_cast<gzFile>(m_gz));
}

std::size_t SequentialFile::Read(char* buffer, std::size_t size) {
    const auto gz = static_cast<gzFile>(m_gz);
    // Everything up to the limit is given; at the limit, one byte more shows
    // that the file goes beyond it, and nothing more is inflated.
    const std::uint64_t allowed = m_given < m_limit ? m_limit - m_given : 1;
    size = static_cast<std::size_t>(std::min<std::uint64_t>({size, allowed, 1u << 30}));
    const int got = ::gzread(gz, buffer, static_cast<unsigned>(size));
    int code = Z_OK;
    const char* message = ::gzerror(gz, &code);
    if (got < 0 || (code != Z_OK && code != Z_STREAM_END)) {
        throw FormatError(m_label, "",
                          std::string("damaged compressed data: ") +
                              (message != nullptr ? message : "unknown error"));
    }
    m_given += static_cast<std::uint64_t>(got);
    if (m_given > m_limit) {
        throw InflateLimitError(m_label, "",
                                "gives more than " + std::to_string(m_limit) + " bytes (" +
                                    m_limitWhy + ")");
    }
    return static_cast<std::size_t>(got);
}

std::uint64_t SequentialFile::Position() const {
    const z_off_t offset = ::gzoffset(static_cast<gzFile>(m_gz));
    return offset < 0 ? 0 : static_cast<std::uint64_t>(offset);
}

struct DataFile::Inflater {
    z_stream stream{};
    Inflater() {
        if (::inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~Inflater() { ::inflateEnd(&stream); }
};

DataFile::DataFile(const std::filesystem::path& path, const InflateLimits& limits)
    : m_label(FileLabel(path)), m_limits(limits) {
    std::uint64_t fileSize = 0;
    m_fd = OpenRegular(m_label, path, fileSize);
    m_fileSize = fileSize;
    m_size = fileSize;
    try {
        char magic[2] = {};
        if (fileSize < 18 || !ReadAt(m_fd, 0, magic, 2) || magic[0] != '\x1f' ||
            magic[1] != '\x8b') {
            return; // plain data
        }
        // The gzip header with its extra field is at most 12 + 65535 bytes.
        std::string header(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, 12 + 65535)),
                           '\0');
        if (!ReadAt(m_fd, 0, header.data(), header.size())) {
            throw FormatError(m_label, "", "cannot read");
        }
        OpenDictzip(header, fileSize);
        if (!m_isDictzip) {
            m_whole = ReadWholeFile(path, UINT64_MAX, "", m_limits);
            m_isWhole = true;
            m_size = m_whole.size();
        } else if (m_size > m_limits.For(fileSize)) {
            // The chunk table and the trailer give the data's size before
            // anything is inflated.
            throw InflateLimitError(m_label, "",
                                    "its chunks hold " + std::to_string(m_size) +
                                        " bytes, more than " +
                                        std::to_string(m_limits.For(fileSize)) + " (" +
                                        m_limits.Explain(fileSize) + ")");
        }
    } catch (...) {
        ::close(m_fd);
        throw;
    }
}

DataFile::~DataFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

// Reads the dictzip chunk table from the gzip header's extra field ("RA");
// leaves m_isDictzip false for a gzip file without one.
void DataFile::OpenDictzip(std::string_view header, std::uint64_t fileSize) {
    constexpr unsigned char kExtra = 4, kName = 8, kComment = 16, kHeaderCrc = 2;
    const auto flags = static_cast<unsigned char>(header[3]);
    if (header[2] != 8 || (flags & kExtra) == 0) {
        return;
    }
    const std::size_t extraLength = Little16(header, 10);
    if (12 + extraLength > header.size()) {
        throw FormatError(m_label, "", "the gzip header runs past the end of the file");
    }
    const std::string_view extra = header.substr(12, extraLength);
    std::string_view table;
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const std::size_t length = Little16(extra, at + 2);
        if (at + 4 + length > extra.size()) {
            throw FormatError(m_label, "", "damaged gzip extra field");
        }
        if (extra[at] == 'R' && extra[at + 1] == 'A') {
            table = extra.substr(at + 4, length);
        }
        at += 4 + length;
    }
    if (table.size() < 6 || Little16(table, 0) != 1) {
        return; // not a dictzip table of a version we know: inflate the file whole
    }
    m_chunkLength = Little16(table, 2);
    const std::size_t chunkCount = Little16(table, 4);
    if (table.size() < 6 + 2 * chunkCount || (m_chunkLength == 0 && chunkCount > 0)) {
        throw FormatError(m_label, "", "damaged dictzip chunk table");
    }
    // The compressed data follows the header's optional name, comment and CRC.
    std::size_t start = 12 + extraLength;
    for (const unsigned char field : {kName, kComment}) {
        if ((flags & field) != 0) {
            const std::size_t end = header.find('\0', start);
            if (end == std::string_view::npos) {
                throw FormatError(m_label, "", "damaged gzip header");
            }
            start = end + 1;
        }
    }
    if ((flags & kHeaderCrc) != 0) {
        start += 2;
    }
    m_chunkStarts.reserve(chunkCount + 1);
    std::uint64_t at = start;
    m_chunkStarts.push_back(at);
    for (std::size_t i = 0; i < chunkCount; ++i) {
        at += Little16(table, 6 + 2 * i);
        m_chunkStarts.push_back(at);
    }
    // The 8-byte gzip trailer follows the last chunk.
    if (at + 8 > fileSize) {
        throw FormatError(m_label, "",
                          "the dictzip chunk table promises " + std::to_string(at + 8) +
                              " bytes, the file holds " + std::to_string(fileSize));
    }
    m_isDictzip = true;
    m_inflater = std::make_unique<Inflater>();
    // The trailer gives the data's checksum and its size (modulo 2^32), which
    // fixes the last chunk's length.
    char trailer[8];
    if (!ReadAt(m_fd, fileSize - 8, trailer, 8)) {
        throw FormatError(m_label, "", "cannot read the gzip trailer");
    }
    const std::string_view tail(trailer, 8);
    m_checksum = Little16(tail, 0) | (std::uint32_t{Little16(tail, 2)} << 16);
    const std::uint32_t sizeLow = Little16(tail, 4) | (std::uint32_t{Little16(tail, 6)} << 16);
    m_size = 0;
    if (chunkCount > 0) {
        const std::uint64_t before = static_cast<std::uint64_t>(chunkCount - 1) * m_chunkLength;
        m_lastChunkLength = static_cast<std::uint32_t>(sizeLow - before);
        if (m_lastChunkLength == 0 || m_lastChunkLength > m_chunkLength) {
            throw FormatError(m_label, "", "the gzip trailer's size does not match the chunks");
        }
        m_size = before + m_lastChunkLength;
    } else if (sizeLow != 0) {
        throw FormatError(m_label, "", "the gzip trailer's size does not match the chunks");
    }
}

std::string_view DataFile::Chunk(std::size_t index, std::string_view entry) {
    if (index != m_cachedChunk) {
        Inflate(index, entry);
    }
    // Chunks met in order add up to the checksum of the whole data.
    if (index == m_checkedChunks) {
        m_runningChecksum = static_cast<std::uint32_t>(
            ::crc32(m_runningChecksum, reinterpret_cast<const Bytef*>(m_chunk.data()),
                    static_cast<uInt>(m_chunk.size())));
        if (++m_checkedChunks == m_chunkStarts.size() - 1 && m_runningChecksum != m_checksum) {
            throw FormatError(m_label, std::string(entry), "the data do not match their checksum");
        }
    }
    return m_chunk;
}

void DataFile::CheckAll() {
    if (m_isDictzip) {
        for (std::size_t index = m_checkedChunks; index + 1 < m_chunkStarts.size(); ++index) {
            Chunk(index, "");
        }
    }
}

void DataFile::Inflate(std::size_t index, std::string_view entry) {
    m_cachedChunk = SIZE_MAX;
    ++m_inflations;
    const std::uint64_t start = m_chunkStarts[index];
    const std::size_t compressedSize = m_chunkStarts[index + 1] - start;
    m_compressed.resize(compressedSize);
    if (!ReadAt(m_fd, start, m_compressed.data(), compressedSize)) {
        throw FormatError(m_label, std::string(entry), "cannot read dictzip chunk");
    }
    // One byte more than a chunk holds shows a chunk that inflates too far.
    m_chunk.resize(std::size_t{m_chunkLength} + 1);
    z_stream& stream = m_inflater->stream;
    ::inflateReset(&stream);
    stream.next_in = reinterpret_cast<Bytef*>(m_compressed.data());
    stream.avail_in = static_cast<uInt>(compressedSize);
    stream.next_out = reinterpret_cast<Bytef*>(m_chunk.data());
    stream.avail_out = static_cast<uInt>(m_chunk.size());
    const int result = ::inflate(&stream, Z_SYNC_FLUSH);
    const std::size_t produced = m_chunk.size() - stream.avail_out;
    const bool isLast = index + 2 == m_chunkStarts.size();
    // A chunk ends where a compressed block ends (dictzip flushes after each),
    // and every chunk but the last holds exactly a chunk's length.
    constexpr int kAtBlockEnd = 128;
    const bool atEnd = result == Z_STREAM_END || ((result == Z_OK || result == Z_BUF_ERROR) &&
                                                  (stream.data_type & kAtBlockEnd) != 0);
    if (!atEnd || stream.avail_in != 0 ||
        produced != (isLast ? m_lastChunkLength : m_chunkLength)) {
        throw FormatError(m_label, std::string(entry),
                          "dictzip chunk " + std::to_string(index) + " does not inflate");
    }
    m_chunk.resize(produced);
    m_cachedChunk = index;
}

std::string_view DataFile::Read(std::uint64_t offset, std::uint64_t length,
                                std::string_view entry) {
    if (offset > m_size || length > m_size - offset) {
        throw FormatError(m_label, std::string(entry),
                          Range(offset, length) + " lie outside the data (" +
                              std::to_string(m_size) + " bytes)");
    }
    if (length == 0) {
        return {};
    }
    // Entries that overlap, or repeat a range, would otherwise make the
    // readers' articles many times larger than the data.
    m_given += length;
    if (m_given > m_limits.For(m_fileSize)) {
        throw InflateLimitError(m_label, std::string(entry),
                                "the entries so far ask for " + std::to_string(m_given) +
                                    " bytes, more than " +
                                    std::to_string(m_limits.For(m_fileSize)) + " (" +
                                    m_limits.Explain(m_fileSize) + ")");
    }
    if (m_isWhole) {
        return std::string_view(m_whole).substr(offset, length);
    }
    if (!m_isDictzip) {
        m_buffer.resize(length);
        if (!ReadAt(m_fd, offset, m_buffer.data(), length)) {
            throw FormatError(m_label, std::string(entry), "cannot read " + Range(offset, length));
        }
        return m_buffer;
    }
    const std::uint64_t end = offset + length;
    const std::uint64_t bufferEnd = m_bufferStart + m_buffer.size();
    if (offset >= m_bufferStart && end <= bufferEnd) {
        return std::string_view(m_buffer).substr(offset - m_bufferStart, length);
    }
    const std::size_t first = offset / m_chunkLength;
    const std::size_t last = (end - 1) / m_chunkLength;
    const std::size_t within = offset % m_chunkLength;
    if (first == last) {
        const std::string_view chunk = Chunk(first, entry);
        if (within + length > chunk.size()) {
            throw FormatError(m_label, std::string(entry), "cannot read " + Range(offset, length));
        }
        return chunk.substr(within, length);
    }
    // A range that begins inside the joined chunks of the read before keeps
    // them and inflates only the chunks after them; the bytes before it go
    // once they are most of the buffer, so that keeping costs no more than
    // the copying it spares.
    std::uint64_t from = offset;
    if (offset >= m_bufferStart && offset < bufferEnd && bufferEnd % m_chunkLength == 0) {
        if (offset - m_bufferStart > m_buffer.size() / 2) {
            m_buffer.erase(0, offset - m_bufferStart);
            m_bufferStart = offset;
        }
        from = bufferEnd;
    } else {
        m_buffer.clear();
        m_bufferStart = offset;
    }
    for (std::size_t index = from / m_chunkLength; index <= last; ++index) {
        const std::string_view chunk = Chunk(index, entry);
        const std::size_t skip = index == from / m_chunkLength ? from % m_chunkLength : 0;
        if (skip > chunk.size()) {
            throw FormatError(m_label, std::string(entry), "cannot read " + Range(offset, length));
        }
        // Whole chunks are kept, so that the next range may go on from here.
        m_buffer.append(chunk.substr(skip));
    }
    if (end > m_bufferStart + m_buffer.size()) {
        throw FormatError(m_label, std::string(entry), "cannot read " + Range(offset, length));
    }
    return std::string_view(m_buffer).substr(offset - m_bufferStart, length);
}

} // namespace formats
