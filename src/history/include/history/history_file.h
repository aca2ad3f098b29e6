// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The history file "historio.bin": the whole navigation history and its cursor,
// stamped with the two dictionary text files, since its article references are
// byte offsets into them. All integers little-endian, no padding:
//
//   version (1 byte, 1) · reserved 0 · entry count N (1 byte) · reserved 0 ·
//   eoStamp (4) · ruStamp (4) · N entry records, oldest first · cursor (4, signed)
//
//   entry record: R (1) · L (1) · direction (1, non-zero = Esperanto) ·
//                 R × (start 4, end 4) · L UTF-16 units, no terminator
//
// A history whose entries name no added dictionary is written as version 1,
// above. One that does is written as version 2: the same layout, each entry
// record followed by
//
//   D (1) · D × (name length B (1) · B name bytes · stamp (4) · R (1) ·
//                R × (start 4, end 4))
//
// naming each added dictionary whose articles the entry showed, the stamp of
// its text file in the entry's direction, and its references. Both versions
// load.
//
// cHistory::Load and cHistory::Save are defined beside these functions.

#include "history/history.h"
#include "history/history_entry.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

// Its name, in the folder that history_location.h chooses.
inline constexpr const char* kHistoryFileName = "historio.bin";

inline constexpr std::uint8_t HISTORY_FILE_VERSION = 1;
inline constexpr std::uint8_t HISTORY_FILE_VERSION_ADDED = 2;

// The counts are one byte each: at most this many entries, references of an
// entry and query units of an entry are stored.
inline constexpr std::size_t kMaxStoredCount = 255;

// Low 32 bits of the last-write times of the two dictionary text files; 0 for
// a file whose time cannot be queried, or whose path is longer than this many
// UTF-16 units.
inline constexpr std::size_t kMaxStampPathUnits = 255;
struct DictionaryStamps {
    std::uint32_t eoStamp = 0;
    std::uint32_t ruStamp = 0;

    friend bool operator==(const DictionaryStamps&, const DictionaryStamps&) = default;
};

DictionaryStamps DictionaryStamp(std::string_view eoTextPath, std::string_view ruTextPath);

// The stamp of the text file of the added dictionary `name` in a direction,
// as `texts` name it; 0 for a dictionary not among them.
std::uint32_t AddedStamp(const std::vector<AddedTexts>& texts, std::string_view name,
                         bool esperanto);

// One entry record, field by field through the checked writes and reads; a
// short write or read raises cExcMsg. An entry with more than 255 references
// or query units is written cut to 255 of each, so that its counts stay true.
// `withAdded`: the version 2 record, with the entry's added dictionaries.
void WriteEntry(const HistoryEntry& entry, std::FILE* file, bool withAdded = false);
// Fills an empty entry; a NUL inside the stored query cuts it there.
void ReadEntry(HistoryEntry& entry, std::FILE* file, bool withAdded = false);

// For tests that need a disk which fails: consulted before every step of Save
// that writes (each field, the flush to disk, the close, the rename); returning
// true makes that step fail. Null, the default, lets every step proceed.
using HistoryWriteFault = bool (*)();
void SetHistoryWriteFault(HistoryWriteFault fault);
