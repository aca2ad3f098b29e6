// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The word-list file "vortlisto.tsv": the learner's kept words as UTF-8 text,
// one a line, so that the list survives a new import or a changed dictionary
// (nothing in it points into a dictionary's files) and a person can read it:
//
//   kelimbo-vortlisto<TAB>VERSION<TAB>COUNT
//   WORD<TAB>DIRECTION<TAB>ADDED<TAB>LOOKUPS
//   ...
//
// COUNT is the number of word lines that follow (read when present), so that
// a file cut at the end of a line is known to be cut; every line, the last
// too, ends in LF, so that one cut inside a line is known too.
// WORD is the headword as the reader names it (accented letters, no tab, no
// control character, at most kMaxWordUnits UTF-16 units); DIRECTION is "eo"
// (an Esperanto headword, the Esperanto–Russian dictionary) or "ru"; ADDED the
// time it was kept, in seconds since 1970-01-01 UTC; LOOKUPS how many times
// the reader has opened it since, in decimal. Lines end in LF (a CR before it
// is tolerated). This file is the format's one reader and writer.

#include "wordlist/word.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wordlist {

// Its name, in the folder that word_list_location.h chooses: Esperanto like
// "historio.bin", and ".tsv" because it is tab-separated text.
inline constexpr const char* kWordListFileName = "vortlisto.tsv";
// The first field of the first line, and the version this program writes.
inline constexpr std::string_view kWordListMagic = "kelimbo-vortlisto";
inline constexpr unsigned kWordListVersion = 1;
// A file larger than this is not read at all (a list of 100,000 words takes
// about 3 MB).
inline constexpr std::uint64_t kMaxWordListBytes = 64u << 20;

// What reading a file's bytes gave.
struct ParsedWordList {
    std::vector<Word> words; // in the file's order; a word given twice is kept once
    unsigned version = 0;    // the version line's number; 0 when the line is damaged
    std::size_t damagedLines = 0;
    std::size_t duplicates = 0;
    bool Future() const { return version > kWordListVersion; }
    bool Damaged() const { return version == 0 || damagedLines > 0; }
};

// Reads a file's bytes: every line that holds a word in the layout above is
// kept, every other one counted as damaged. A file of a later version is read
// the same way, as far as its lines look like these.
// A file that has fewer lines than its COUNT, or a last line without its
// end, is damaged.
ParsedWordList ParseWordList(std::string_view bytes);

// The bytes of a file holding `words`, in their order.
std::string FormatWordList(const std::vector<Word>& words);

// Whether a text can be kept as a word: valid UTF-8, not empty, no control
// character, at most kMaxWordUnits UTF-16 units.
bool ValidWordText(std::string_view text);

} // namespace wordlist
