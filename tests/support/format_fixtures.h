// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Dictionaries in other programs' formats, made in code where their binary
// form is easier to write than to keep: gzip and dictzip compression, UTF-16
// text and StarDict files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace format_fixtures {

// One gzip member holding `bytes`.
std::string Gzip(std::string_view bytes);
// A dictzip file: gzip whose extra field lists chunks of `chunkLength` bytes,
// each compressed on its own.
std::string Dictzip(std::string_view bytes, std::uint16_t chunkLength);
// UTF-16LE of UTF-8 text, with the byte-order mark first.
std::string Utf16LeWithBom(std::string_view utf8);

struct StarDictEntry {
    std::string word;
    std::string data;      // the entry's bytes in the .dict
    bool sameData = false; // points at the previous entry's data instead
};
struct StarDictSynonym {
    std::string word;
    std::uint32_t entry;
};
struct StarDictFiles {
    std::string ifo;
    std::string idx;
    std::string dict;
    std::string syn; // empty when there are no synonyms
};
// A StarDict dictionary of the entries in their order; `ifoLines` are added
// to the .ifo after bookname (e.g. "sametypesequence=tm\n").
StarDictFiles MakeStarDict(const std::vector<StarDictEntry>& entries,
                           const std::vector<StarDictSynonym>& synonyms, int offsetBits,
                           const std::string& ifoLines);
// Writes NAME.ifo, .idx, .dict (or .dict.dz when `dictzip`) and .syn; returns the .ifo path.
std::filesystem::path WriteStarDict(const std::filesystem::path& folder, const std::string& name,
                                    const StarDictFiles& files, bool dictzip);

} // namespace format_fixtures
