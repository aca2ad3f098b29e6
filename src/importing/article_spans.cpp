// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/article_spans.h"

#include "importing/utf8_points.h"

namespace {

// Collects pieces: text is added in parts that each fit, and a piece is closed
// when the next part would not fit behind it.
class PieceBuilder {
public:
    PieceBuilder(Language language, std::size_t maxBytes) : m_language(language), m_max(maxBytes) {}

    // Adds a part that fits alone, after `separator` when the piece is not empty.
    void Add(std::string_view part, std::size_t partBytes, char separator) {
        if (!m_current.empty() && m_bytes + 1 + partBytes > m_max) {
            Close();
        }
        if (!m_current.empty()) {
            m_current += separator;
            ++m_bytes;
        }
        m_current += part;
        m_bytes += partBytes;
    }
    // A line: added whole when it fits, else word by word as pieces of its own.
    void AddLine(std::string_view line) {
        const std::size_t bytes = EncodedSize(m_language, line);
        if (bytes <= m_max) {
            Add(line, bytes, '\n');
            return;
        }
        Close();
        std::size_t begin = 0;
        while (begin <= line.size()) {
            std::size_t end = line.find(' ', begin);
            if (end == std::string_view::npos) {
                end = line.size();
            }
            AddWord(line.substr(begin, end - begin));
            begin = end + 1;
        }
        Close();
    }
    std::vector<std::string> Finish() {
        Close();
        return std::move(m_pieces);
    }

private:
    void AddWord(std::string_view word) {
        const std::size_t bytes = EncodedSize(m_language, word);
        if (bytes <= m_max) {
            Add(word, bytes, ' ');
            return;
        }
        // Character by character: only a run of text without spaces gets here.
        Close();
        for (std::size_t pos = 0; pos < word.size();) {
            const std::size_t start = pos;
            NextCodePoint(word, pos);
            const std::string_view c = word.substr(start, pos - start);
            const std::size_t cBytes = EncodedSize(m_language, c);
            if (m_bytes + cBytes > m_max) {
                Close();
            }
            m_current += c;
            m_bytes += cBytes;
        }
        Close();
    }
    void Close() {
        if (!m_current.empty()) {
            m_pieces.push_back(std::move(m_current));
        }
        m_current.clear();
        m_bytes = 0;
    }

    Language m_language;
    std::size_t m_max;
    std::vector<std::string> m_pieces;
    std::string m_current;
    std::size_t m_bytes = 0;
};

} // namespace

std::size_t EncodedSize(Language language, std::string_view utf8) {
    return EncodeArticle(language, utf8).size();
}

std::vector<std::string> SplitIntoSpans(Language language, std::string_view entry,
                                        std::size_t maxBytes) {
    if (EncodedSize(language, entry) <= maxBytes) {
        return {std::string(entry)};
    }
    PieceBuilder builder(language, maxBytes);
    std::size_t begin = 0;
    while (begin <= entry.size()) {
        std::size_t end = entry.find('\n', begin);
        if (end == std::string_view::npos) {
            end = entry.size();
        }
        builder.AddLine(entry.substr(begin, end - begin));
        begin = end + 1;
    }
    return builder.Finish();
}
