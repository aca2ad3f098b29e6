// SPDX-License-Identifier: GPL-2.0-or-later
#include "word_lists.h"

#include "platform/code_page.h"
#include "text/esperanto_x.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

namespace bench_data {
namespace {

using platform::FromUtf8;

// Windows-1251 bytes, or empty when a character has no place in that code page.
std::string ToAnsi(std::u16string_view wide) {
    std::string bytes = platform::ToAnsi(wide);
    return bytes.find('?') == std::string::npos ? bytes : std::string();
}

std::vector<std::string> ReadLines(const char* path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error(std::string("cannot read the word list ") + path);
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

void SortUnique(std::vector<std::string>& words) {
    std::erase_if(words, [](const std::string& w) { return w.empty() || w.size() > 40; });
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
}

} // namespace

std::vector<std::string> EsperantoWords(const char* path) {
    std::vector<std::string> words;
    for (const std::string& line : ReadLines(path)) {
        // Elided forms ("bon'") and anything beyond the letters are left out.
        if (line.find_first_of("' ") != std::string::npos) {
            continue;
        }
        words.push_back(ToAnsi(accented_to_x(FromUtf8(line))));
    }
    SortUnique(words);
    return words;
}

std::vector<std::string> RussianWords(const char* path) {
    std::vector<std::string> words;
    bool first = true;
    for (const std::string& line : ReadLines(path)) {
        if (first) { // the entry count
            first = false;
            continue;
        }
        const std::string stem = line.substr(0, line.find('/'));
        if (stem.find_first_of(" \t") != std::string::npos) {
            continue;
        }
        words.push_back(ToAnsi(FromUtf8(stem)));
    }
    SortUnique(words);
    return words;
}

void Shuffle(std::vector<std::string>& words, unsigned seed) {
    std::mt19937 random(seed);
    for (std::size_t i = words.size(); i > 1; --i) {
        const std::size_t k = random() % i;
        std::swap(words[i - 1], words[k]);
    }
}

} // namespace bench_data
