// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Fitting imported text to what a dictionary file can hold and show.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What fitting replaced or dropped, by character.
class FitTally {
public:
    void Replaced(char32_t c) { ++m_replaced[c]; }
    void Dropped(char32_t c) { ++m_dropped[c]; }
    void Merge(const FitTally& other);

    std::size_t ReplacedCount() const;
    std::size_t DroppedCount() const;
    // The characters with their counts, most frequent first, at most `n`.
    std::vector<std::pair<char32_t, std::size_t>> MostReplaced(std::size_t n) const;
    std::vector<std::pair<char32_t, std::size_t>> MostDropped(std::size_t n) const;

private:
    std::map<char32_t, std::size_t> m_replaced;
    std::map<char32_t, std::size_t> m_dropped;
};

enum class FitTarget {
    // The Esperanto file: Windows-1251 plus the six Esperanto letters, where a
    // slash and a grave accent are marks that its reader hides.
    EsperantoFile,
    // Windows-1251 alone, as the Russian index keys are; a stress mark (U+0301)
    // stays, since the key leaves it out.
    Cp1251,
    // The Russian file, UTF-8: every character but control characters.
    Utf8File,
};

// The text with every character the target cannot hold or show replaced by an
// ASCII spelling (× → x, α → alpha, é → e, ≤ → <=, a slash in the Esperanto
// file → |) or dropped when it has none (letters of other scripts, combining
// marks), each counted in `tally`. Line feeds and kMorphemeMark stay; other
// control characters are dropped (a tab becomes a space).
std::string FitText(std::string_view utf8, FitTarget target, FitTally& tally);

// "U+00D7 ×" for a summary line.
std::string DescribeCharacter(char32_t c);
