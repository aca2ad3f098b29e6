// Reading a .bsi file into a cIndex. Nothing in the file is trusted: every
// block must lie inside the file before memory is taken for it, and every
// headword record must point inside the text block and the reference table.

#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "index/bsi_format.h"
#include "index/headword_index.h"
#include "platform/ansi_literal.h"
#include "platform/file_open.h"
#include "platform/large_block.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr auto kOpenError = platform::Ansi(u8"Ошибка при открытии файла индекса:\n%s");
constexpr auto kVersionError = platform::Ansi(u8"Неподходящая версия индексного файла");
constexpr auto kReadError = platform::Ansi(u8"Ошибка при чтении файла %s");
constexpr auto kNoMemory = platform::Ansi(u8"Недостаточно памяти");
constexpr auto kContextWord = platform::Ansi(u8"индекса:\n \"");

[[noreturn]] void RaiseReadError() {
    RaiseMsg(kReadError.c_str(), fileContext.c_str());
}

std::uint64_t FileSize(std::FILE* file) {
    SeekChecked(file, 0, SEEK_END);
    const long size = std::ftell(file);
    if (size < 0) {
        RaiseReadError();
    }
    return static_cast<std::uint64_t>(size);
}

// A table of 8-byte records, or null when memory is short or the table would
// not fit 32 bits of bytes.
template <typename Record> platform::LargeBlock<Record> AllocateRecords(std::uint32_t count) {
    static_assert(sizeof(Record) == bsi::kRecordSize);
    if (std::uint64_t{count} * sizeof(Record) > UINT32_MAX) {
        return nullptr;
    }
    return platform::MakeLargeBlock<Record>(count);
}

void ReadBlock(std::FILE* file, std::uint32_t offset, void* into, std::size_t size,
               std::uint32_t count) {
    SeekChecked(file, static_cast<std::int32_t>(offset), SEEK_SET);
    ReadChecked(into, size, count, file);
}

} // namespace

void cIndex::Load(const char* path) {
    m_count = 0;
    platform::FileHandle file = platform::OpenFile(path, "rb");
    if (!file) {
        RaiseMsg(kOpenError.c_str(), platform::AnsiPath(path).c_str());
    }

    bsi::HeaderBytes bytes{};
    ReadChecked(bytes.data(), 1, 1, file.get());
    if (bytes[0] != bsi::kVersion) {
        RaiseMsg(kVersionError.c_str());
    }
    SetFileContext((kContextWord.c_str() + platform::AnsiPath(path) + '"').c_str());

    std::size_t at = 1;
    for (const std::size_t size : bsi::kHeaderItemSizes) {
        ReadChecked(bytes.data() + at, size, 1, file.get());
        at += size;
    }
    const bsi::Header header = bsi::DecodeHeader(bytes);

    const std::uint64_t fileSize = FileSize(file.get());
    if (!bsi::BlockInside(header.headwordOffset, header.headwordCount, bsi::kRecordSize,
                          fileSize) ||
        !bsi::BlockInside(header.refOffset, header.refCount, bsi::kRecordSize, fileSize) ||
        !bsi::BlockInside(header.textOffset, header.textSize, 1, fileSize)) {
        RaiseReadError();
    }

    m_headwords = AllocateRecords<HeadwordEntry>(header.headwordCount);
    m_refs = AllocateRecords<ArticleRef>(header.refCount);
    m_text = platform::MakeLargeBlock<char>(header.textSize);
    if (!m_headwords || !m_refs || !m_text) {
        RaiseMsg(kNoMemory.c_str());
    }

    ReadBlock(file.get(), header.headwordOffset, m_headwords.get(), bsi::kRecordSize,
              header.headwordCount);
    ReadBlock(file.get(), header.refOffset, m_refs.get(), bsi::kRecordSize, header.refCount);
    ReadBlock(file.get(), header.textOffset, m_text.get(), 1, header.textSize);
    bsi::FromFileOrder(m_headwords.get(), header.headwordCount);
    bsi::FromFileOrder(m_refs.get(), header.refCount);

    for (std::uint32_t k = 0; k < header.headwordCount; ++k) {
        if (!bsi::RecordInside(m_headwords[k], header.textSize, header.refCount)) {
            RaiseReadError();
        }
    }

    file.reset(); // closed before the context is cleared
    SetFileContext("");
    m_count = header.headwordCount;
}
