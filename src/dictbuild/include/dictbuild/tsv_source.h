// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading a dictionary source: UTF-8 text, one article a line,
// `headword<TAB>article[<TAB>extra|extra…]`, with \n, \t and \\ escapes in the article.

#include <cstddef>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

struct SourceArticle {
    std::size_t line = 0;                    // 1-based line of the source
    std::string headword;                    // UTF-8, as written
    std::string text;                        // UTF-8, escapes resolved
    std::vector<std::string> extraHeadwords; // further headwords for the same article
};

// A fault in the source, naming its line.
class SourceError : public std::runtime_error {
public:
    SourceError(std::size_t line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), m_line(line) {}
    std::size_t Line() const { return m_line; }

private:
    std::size_t m_line;
};

// Resolves \n, \t and \\; any other backslash sequence is an error.
std::string UnescapeArticle(const std::string& escaped, std::size_t line);

// Reads every article; blank lines are skipped. Throws SourceError.
std::vector<SourceArticle> ReadTsvSource(std::istream& in);
// The same, giving each article to `take` as soon as it is read.
void ReadTsvSource(std::istream& in, const std::function<void(SourceArticle&&)>& take);
