// SPDX-License-Identifier: GPL-2.0-or-later
// Loading a .bsi file into a cIndex. Nothing in the file is trusted: every
// block must lie inside the file, and every headword record must point inside
// the text block and the reference table.
//
// Nothing is copied whole. The index keeps the file open and reads it a page
// at a time as lookups reach it (platform::PagedFile): a one-query process
// reads a few dozen pages of one index instead of two whole indexes (73 MB at
// a million headwords each), and a long-running one holds only the pages its
// lookups have touched. A read-only mapping of the file would save the copy of
// each page, but a mapping raises SIGBUS when the file is cut short under it,
// shows bytes written over it at any moment, and on this system maps a fresh
// file's page cache up to 2 MB at a fault, so one lookup made 4 MB resident.
//
// Load checks the header and that every block lies inside the file, not the
// records: reading a whole headword table (8 MB at a million headwords) cost
// a one-query run with five dictionaries most of its time. Each record is
// checked when a lookup reads it (cIndex::Record), with the same read error.
//
// An index that ends in the identity of its text has it read and checked here
// too: a damaged identity block is a damaged index.
#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "index/bsi_format.h"
#include "index/headword_index.h"
#include "platform/ansi_literal.h"
#include "platform/file_open.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

constexpr auto kOpenError = platform::Ansi(u8"Ошибка при открытии файла индекса:\n%s");
constexpr auto kVersionError = platform::Ansi(u8"Неподходящая версия индексного файла");
constexpr auto kReadError = platform::Ansi(u8"Ошибка при чтении файла %s");
constexpr auto kNoMemory = platform::Ansi(u8"Недостаточно памяти");
constexpr auto kContextWord = platform::Ansi(u8"индекса:\n \"");

[[noreturn]] void RaiseReadError(const std::string& context) {
    RaiseMsg(kReadError.c_str(), context.c_str());
}

// Whether a table of `count` 8-byte records fits 32 bits of bytes, the most
// the format's tables may hold in memory.
bool TableFits(std::uint32_t count) {
    return std::uint64_t{count} * bsi::kRecordSize <= UINT32_MAX;
}

} // namespace

void cIndex::Load(const char* path) {
    m_count = 0;
    m_file = {};
    m_path.clear();
    m_identity.reset();
    m_refCount = m_textSize = 0;

    platform::FileHandle file = platform::OpenFile(path, "rb");
    if (!file) {
        RaiseMsg(kOpenError.c_str(), platform::AnsiPath(path).c_str());
    }

    // Named before the first read, so that any read error, the version
    // byte's included, names this file rather than the one read before it.
    const std::string context = kContextWord.c_str() + platform::AnsiPath(path) + '"';
    bsi::HeaderBytes bytes{};
    ReadChecked(bytes.data(), 1, 1, file.get(), context.c_str());
    if (bytes[0] != bsi::kVersion) {
        RaiseMsg(kVersionError.c_str());
    }

    std::size_t at = 1;
    for (const std::size_t size : bsi::kHeaderItemSizes) {
        ReadChecked(bytes.data() + at, size, 1, file.get(), context.c_str());
        at += size;
    }
    const bsi::Header header = bsi::DecodeHeader(bytes);
    platform::PagedFile paged;
    if (!paged.Open(::fileno(file.get()))) {
        if (errno == ENOMEM) {
            RaiseMsg(kNoMemory.c_str());
        }
        RaiseReadError(context);
    }
    std::uint64_t fileSize = paged.Size();
    std::optional<bsi::TextIdentity> identity;
    if (fileSize >= bsi::kHeaderSize + bsi::kIdentitySize) {
        // An identity block ends the file, and the blocks lie before it.
        bsi::IdentityBytes block{};
        if (!paged.ReadAt(fileSize - bsi::kIdentitySize, block.data(), block.size())) {
            RaiseReadError(context);
        }
        if (bsi::ClaimsIdentity(block)) {
            identity = bsi::DecodeIdentity(block);
            if (!identity) {
                RaiseReadError(context);
            }
            fileSize -= bsi::kIdentitySize;
        }
    }
    if (!bsi::BlockInside(header.headwordOffset, header.headwordCount, bsi::kRecordSize,
                          fileSize) ||
        !bsi::BlockInside(header.refOffset, header.refCount, bsi::kRecordSize, fileSize) ||
        !bsi::BlockInside(header.textOffset, header.textSize, 1, fileSize)) {
        RaiseReadError(context);
    }
    if (!TableFits(header.headwordCount) || !TableFits(header.refCount)) {
        RaiseMsg(kNoMemory.c_str());
    }

    // A file written or cut while it was read: what was read is not the file.
    if (!paged.Unchanged()) {
        RaiseReadError(context);
    }

    file.reset(); // closed before the context is cleared
    m_file = std::move(paged);
    m_headwordOffset = header.headwordOffset;
    m_refOffset = header.refOffset;
    m_textOffset = header.textOffset;
    m_refCount = header.refCount;
    m_textSize = header.textSize;
    m_context = context;
    m_path = path;
    m_identity = identity;
    m_count = header.headwordCount;
}

void cIndex::CheckFile() const {
    if (!m_file.Unchanged()) {
        RaiseDamaged();
    }
}

void cIndex::RaiseDamaged() const {
    RaiseMsg(kReadError.c_str(), m_context.c_str());
}
