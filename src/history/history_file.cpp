// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/history_file.h"

#include "errors/checked_io.h"
#include "errors/exc_msg.h"
#include "history/history.h"
#include "platform/ansi_literal.h"
#include "platform/code_page.h"
#include "platform/file_open.h"
#include "platform/file_replace.h"
#include "platform/file_time.h"
#include "platform/little_endian.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <exception>
#include <string>
#include <vector>

namespace {

using platform::GetLe16;
using platform::GetLe32;
using platform::PutLe16;
using platform::PutLe32;

constexpr auto kContext = platform::Ansi(u8"истории");
constexpr auto kWriteError = platform::Ansi(u8"Ошибка при записи файла %s");

HistoryWriteFault g_writeFault = nullptr;

// Whether the test's failing disk refuses the next step.
bool FaultInjected() {
    return g_writeFault != nullptr && g_writeFault();
}

[[noreturn]] void RaiseWriteError() {
    RaiseMsg(kWriteError.c_str(), kContext.c_str());
}

// One field of the file, through the checked write.
void Put(const void* data, std::size_t size, std::size_t count, std::FILE* file) {
    if (FaultInjected()) {
        RaiseWriteError();
    }
    WriteChecked(data, size, count, file, kContext.c_str());
}

void PutByte(std::size_t value, std::FILE* file) {
    const auto byte = static_cast<unsigned char>(value);
    Put(&byte, 1, 1, file);
}

void PutPair(std::uint32_t first, std::uint32_t second, std::FILE* file) {
    unsigned char bytes[8];
    PutLe32(bytes, first);
    PutLe32(bytes + 4, second);
    Put(bytes, 1, sizeof bytes, file);
}

std::uint8_t GetByte(std::FILE* file) {
    unsigned char byte = 0;
    ReadChecked(&byte, 1, 1, file, kContext.c_str());
    return byte;
}

DictionaryStamps GetStamps(std::FILE* file) {
    unsigned char bytes[8];
    ReadChecked(bytes, 1, sizeof bytes, file, kContext.c_str());
    return {GetLe32(bytes), GetLe32(bytes + 4)};
}

// The stamp of one text file: the low half of its last-write time, or 0 when
// it cannot be queried or its path is longer than 255 UTF-16 units, the room
// the stamp's path ever had.
std::uint32_t StampOf(std::string_view path) {
    if (platform::FromUtf8(path).size() > kMaxStampPathUnits) {
        return 0;
    }
    return static_cast<std::uint32_t>(platform::LastWriteFileTime(path).value_or(0));
}

} // namespace

void SetHistoryWriteFault(HistoryWriteFault fault) {
    g_writeFault = fault;
}

DictionaryStamps DictionaryStamp(std::string_view eoTextPath, std::string_view ruTextPath) {
    return {StampOf(eoTextPath), StampOf(ruTextPath)};
}

std::uint32_t AddedStamp(const std::vector<AddedTexts>& texts, std::string_view name,
                         bool esperanto) {
    for (const AddedTexts& dictionary : texts) {
        if (dictionary.name == name) {
            const std::string& path = esperanto ? dictionary.eoTextPath : dictionary.ruTextPath;
            return path.empty() ? 0 : StampOf(path);
        }
    }
    return 0;
}

namespace {

void WriteRefs(const std::vector<ArticleRef>& refs, std::size_t count, std::FILE* file) {
    for (std::size_t i = 0; i < count; ++i) {
        PutPair(refs[i].start, refs[i].end, file);
    }
}

void ReadRefs(std::vector<ArticleRef>& refs, std::size_t count, std::FILE* file) {
    for (std::size_t i = 0; i < count; ++i) {
        unsigned char bytes[8];
        ReadChecked(bytes, 1, sizeof bytes, file, kContext.c_str());
        refs.push_back({GetLe32(bytes), GetLe32(bytes + 4)});
    }
}

void WriteAdded(const std::vector<AddedRefs>& added, std::FILE* file) {
    const std::size_t count = std::min(added.size(), kMaxStoredCount);
    PutByte(count, file);
    for (std::size_t i = 0; i < count; ++i) {
        const AddedRefs& part = added[i];
        const std::size_t nameBytes = std::min(part.name.size(), kMaxStoredCount);
        const std::size_t refCount = std::min(part.refs.size(), kMaxStoredCount);
        PutByte(nameBytes, file);
        Put(part.name.data(), 1, nameBytes, file);
        unsigned char stamp[4];
        PutLe32(stamp, part.stamp);
        Put(stamp, 1, sizeof stamp, file);
        PutByte(refCount, file);
        WriteRefs(part.refs, refCount, file);
    }
}

void ReadAdded(std::vector<AddedRefs>& added, std::FILE* file) {
    const std::uint8_t count = GetByte(file);
    for (std::size_t i = 0; i < count; ++i) {
        AddedRefs& part = added.emplace_back();
        const std::uint8_t nameBytes = GetByte(file);
        part.name.resize(nameBytes);
        ReadChecked(part.name.data(), 1, nameBytes, file, kContext.c_str());
        unsigned char stamp[4];
        ReadChecked(stamp, 1, sizeof stamp, file, kContext.c_str());
        part.stamp = GetLe32(stamp);
        ReadRefs(part.refs, GetByte(file), file);
    }
}

// Whether any entry written keeps an added dictionary's references, so that
// the file needs the version that holds them.
bool NamesAddedDictionaries(const std::deque<HistoryEntry>& entries, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!entries[i].added.empty()) {
            return true;
        }
    }
    return false;
}

} // namespace

void WriteEntry(const HistoryEntry& entry, std::FILE* file, bool withAdded) {
    const std::size_t refCount = std::min(entry.refs.size(), kMaxStoredCount);
    const std::size_t length = std::min(entry.query.size(), kMaxStoredCount);
    PutByte(refCount, file);
    PutByte(length, file);
    PutByte(entry.isEsperanto ? 1 : 0, file);
    WriteRefs(entry.refs, refCount, file);
    unsigned char units[2 * kMaxStoredCount];
    for (std::size_t i = 0; i < length; ++i) {
        PutLe16(units + 2 * i, entry.query[i]);
    }
    Put(units, 2, length, file);
    if (withAdded) {
        WriteAdded(entry.added, file);
    }
}

void ReadEntry(HistoryEntry& entry, std::FILE* file, bool withAdded) {
    const std::uint8_t refCount = GetByte(file);
    const std::uint8_t length = GetByte(file);
    entry.isEsperanto = GetByte(file) != 0;
    ReadRefs(entry.refs, refCount, file);
    unsigned char bytes[2 * kMaxStoredCount];
    ReadChecked(bytes, 2, length, file, kContext.c_str());
    char16_t units[kMaxStoredCount + 1];
    for (std::size_t i = 0; i < length; ++i) {
        units[i] = GetLe16(bytes + 2 * i);
    }
    units[length] = u'\0';
    entry.query = units; // up to the first NUL
    if (withAdded) {
        ReadAdded(entry.added, file);
    }
}

void cHistory::Load(const char* historyFile, const char* eoTextFile, const char* ruTextFile) {
    historyPath = historyFile;
    eoTextPath = eoTextFile;
    ruTextPath = ruTextFile;
    if (!historyPath.empty()) {
        // A save cut short by a kill leaves its new file; nobody else's save
        // takes an hour.
        platform::RemoveStaleTemporaries(historyPath, std::chrono::hours(1));
    }

    platform::FileHandle file = platform::OpenFile(historyPath, "rb");
    if (!file) {
        return;
    }
    try {
        const std::uint8_t version = GetByte(file.get());
        GetByte(file.get()); // reserved
        if (version == HISTORY_FILE_VERSION || version == HISTORY_FILE_VERSION_ADDED) {
            const bool withAdded = version == HISTORY_FILE_VERSION_ADDED;
            const std::uint8_t count = GetByte(file.get());
            GetByte(file.get()); // reserved
            const DictionaryStamps stored = GetStamps(file.get());
            if (stored == DictionaryStamp(eoTextPath, ruTextPath)) {
                std::deque<HistoryEntry> loaded;
                for (std::size_t i = 0; i < count; ++i) {
                    HistoryEntry& entry = loaded.emplace_back();
                    ReadEntry(entry, file.get(), withAdded);
                    // References of a dictionary removed, switched off or
                    // changed since no longer name its articles.
                    std::erase_if(entry.added, [&](const AddedRefs& part) {
                        return part.stamp != AddedStamp(addedTexts, part.name, entry.isEsperanto) ||
                               std::none_of(addedTexts.begin(), addedTexts.end(),
                                            [&](const AddedTexts& texts) {
                                                return texts.name == part.name;
                                            });
                    });
                }
                unsigned char bytes[4];
                ReadChecked(bytes, 1, sizeof bytes, file.get(), kContext.c_str());
                const auto storedCursor = static_cast<std::int32_t>(GetLe32(bytes));
                // The program never writes a cursor outside 0..N: such a file is damaged.
                if (storedCursor >= 0 && storedCursor <= count) {
                    entries = std::move(loaded);
                    cursor = storedCursor;
                } else {
                    entries.clear();
                    cursor = 0;
                }
            }
        }
    } catch (const std::exception&) {
        entries.clear();
        cursor = 0;
    }
}

void cHistory::Save() {
    // The new history is written beside the old one and renamed over it only
    // when it is whole and on the disk, so a failure never costs the old file.
    if (historyPath.empty()) {
        return; // no file was ever named: nothing to replace
    }
    // A fresh file of a random name, never one that is already there: a link
    // planted at a name the program would use is not followed.
    platform::NewFile file;
    if (!file.Create(historyPath)) {
        return;
    }
    try {
        std::FILE* out = file.Stream();
        const std::size_t count = std::min(entries.size(), kMaxStoredCount);
        const DictionaryStamps stamps = DictionaryStamp(eoTextPath, ruTextPath);
        const bool withAdded = NamesAddedDictionaries(entries, count);
        PutByte(withAdded ? HISTORY_FILE_VERSION_ADDED : HISTORY_FILE_VERSION, out);
        PutByte(0, out);
        PutByte(count, out);
        PutByte(0, out);
        PutPair(stamps.eoStamp, stamps.ruStamp, out);
        for (std::size_t i = 0; i < count; ++i) {
            WriteEntry(entries[i], out, withAdded);
        }
        unsigned char bytes[4];
        PutLe32(bytes, static_cast<std::uint32_t>(
                           std::clamp<std::int64_t>(cursor, 0, static_cast<std::int64_t>(count))));
        Put(bytes, 1, sizeof bytes, out);

        if (FaultInjected() || !platform::FlushToDisk(out)) {
            RaiseWriteError();
        }
        const bool refused = FaultInjected();
        if (!file.Finish() || refused) {
            RaiseWriteError();
        }
        if (FaultInjected() || !file.PutInPlace()) {
            RaiseWriteError();
        }
    } catch (const std::exception&) {
        // an unfinished file is removed with `file`
    }
}
