// SPDX-License-Identifier: GPL-2.0-or-later
// DSL: a text file (UTF-16 with its byte-order mark, UTF-8 or Windows-1251,
// plain or gzip-compressed) of #HEADERS, then cards. A card is one or more
// headword lines at column 0 followed by indented body lines with [tags].
#include "formats/article_text.h"
#include "formats/data_file.h"
#include "formats/dictionary_reader.h"

#include <algorithm>

namespace formats {
namespace {

namespace fs = std::filesystem;

enum class Encoding { Utf16Le, Utf16Be, Utf8, Cp1251 };

// The file's lines, decoded to UTF-8, read a block at a time.
class DslLines {
public:
    DslLines(const fs::path& path, const InflateLimits& limits) : m_file(path, limits) {
        Fill();
        DetectEncoding();
    }

    // The next line without its line end; false at the end of the file.
    bool Next(std::string& line) {
        const bool wide = m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be;
        for (;;) {
            std::size_t end = std::string::npos;
            if (wide) {
                // A line feed byte at a unit's place, with a zero byte beside it.
                const bool little = m_encoding == Encoding::Utf16Le;
                for (std::size_t at = m_scan; at < m_raw.size();) {
                    const std::size_t found = m_raw.find('\n', at);
                    if (found == std::string::npos) {
                        break;
                    }
                    const std::size_t unit = found - ((found - m_start) % 2);
                    if (unit + 1 < m_raw.size() && m_raw[unit + (little ? 1 : 0)] == '\0' &&
                        unit + (little ? 0 : 1) == found) {
                        end = unit;
                        break;
                    }
                    at = found + 1;
                }
            } else {
                end = m_raw.find('\n', m_scan);
            }
            if (end != std::string::npos) {
                Decode(std::string_view(m_raw).substr(m_start, end - m_start), line);
                m_start = m_scan = end + (wide ? 2 : 1);
                return true;
            }
            if (m_atEnd) {
                if (m_start >= m_raw.size()) {
                    return false;
                }
                Decode(std::string_view(m_raw).substr(m_start), line);
                m_start = m_scan = m_raw.size();
                return true;
            }
            // The search goes on at the first unit not yet complete.
            m_scan = m_start + ((m_raw.size() - m_start) & ~std::size_t{wide ? 1u : 0u});
            Fill();
        }
    }

    std::uint64_t Position() const { return m_file.Position(); }
    std::uint64_t FileSize() const { return m_file.FileSize(); }

private:
    void Fill() {
        if (m_start > 0) {
            m_raw.erase(0, m_start);
            m_scan -= m_start;
            m_start = 0;
        }
        char block[65536];
        const std::size_t got = m_file.Read(block, sizeof block);
        m_raw.append(block, got);
        m_atEnd = got == 0;
    }

    void DetectEncoding() {
        const std::string_view raw = m_raw;
        if (raw.starts_with("\xFF\xFE")) {
            m_encoding = Encoding::Utf16Le;
            m_start = m_scan = 2;
        } else if (raw.starts_with("\xFE\xFF")) {
            m_encoding = Encoding::Utf16Be;
            m_start = m_scan = 2;
        } else if (raw.starts_with("\xEF\xBB\xBF")) {
            m_encoding = Encoding::Utf8;
            m_start = m_scan = 3;
        } else {
            // Without a mark: text in UTF-16 has a zero byte in most of its
            // units; otherwise UTF-8 when its bytes are valid UTF-8.
            const std::string_view sample = raw.substr(0, 4096);
            std::size_t zeroOdd = 0;
            std::size_t zeroEven = 0;
            for (std::size_t at = 0; at < sample.size(); ++at) {
                if (sample[at] == '\0') {
                    (at % 2 == 1 ? zeroOdd : zeroEven) += 1;
                }
            }
            // The first block's whole lines (a character may be cut at its end).
            const std::size_t lines = raw.rfind('\n');
            const std::string_view whole =
                lines == std::string_view::npos ? raw : raw.substr(0, lines);
            if (zeroOdd > sample.size() / 8) {
                m_encoding = Encoding::Utf16Le;
            } else if (zeroEven > sample.size() / 8) {
                m_encoding = Encoding::Utf16Be;
            } else {
                m_encoding = IsValidUtf8(whole) ? Encoding::Utf8 : Encoding::Cp1251;
            }
        }
    }

    void Decode(std::string_view bytes, std::string& line) const {
        switch (m_encoding) {
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            line = Utf16ToUtf8(bytes, m_encoding == Encoding::Utf16Be);
            break;
        case Encoding::Utf8:
            line = ValidUtf8(bytes);
            break;
        case Encoding::Cp1251:
            line = Cp1251ToUtf8(bytes);
            break;
        }
        if (line.ends_with('\r')) {
            line.pop_back();
        }
    }

    SequentialFile m_file;
    std::string m_raw;
    std::size_t m_start = 0; // where the next line begins
    std::size_t m_scan = 0;  // where the search for its end goes on
    bool m_atEnd = false;
    Encoding m_encoding = Encoding::Utf8;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

// The characters that mean something in a body line.
bool IsBodySpecial(char c) {
    return c == '\\' || c == '[' || c == '<' || c == '>' || c == '~';
}

// Removes {{comments}}, which may span lines; `open` carries an unclosed one
// to the next line. Escaped braces do not open or close one.
std::string WithoutComments(std::string_view line, bool& open) {
    if (!open && line.find("{{") == std::string_view::npos) {
        return std::string(line);
    }
    std::string out;
    out.reserve(line.size());
    for (std::size_t at = 0; at < line.size();) {
        if (open) {
            const std::size_t close = line.find("}}", at);
            if (close == std::string_view::npos) {
                return out;
            }
            open = false;
            at = close + 2;
        } else if (line[at] == '\\' && at + 1 < line.size()) {
            out.append(line.substr(at, 2));
            at += 2;
        } else if (line.compare(at, 2, "{{") == 0) {
            open = true;
            at += 2;
        } else {
            out.push_back(line[at++]);
        }
    }
    return out;
}

struct Headword {
    std::string shown;
    std::string key;
};

// A headword line: \ escapes a character, {…} parts are shown but left out
// of the key, [tags] go.
Headword ParseHeadword(std::string_view line) {
    std::string shown;
    std::string key;
    bool unsorted = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        char c = line[at];
        if (c == '\\' && at + 1 < line.size()) {
            c = line[++at];
        } else if (c == '{' || c == '}') {
            unsorted = c == '{';
            continue;
        } else if (c == '[') {
            const std::size_t close = line.find(']', at);
            if (close != std::string_view::npos) {
                at = close;
                continue;
            }
        }
        shown.push_back(c);
        if (!unsorted) {
            key.push_back(c);
        }
    }
    return {CleanHeadword(shown), CleanHeadword(key)};
}

class DslReader final : public DictionaryReader {
public:
    DslReader(const fs::path& source, const InflateLimits& limits);
    bool Next(ImportedArticle& article) override;

private:
    // The next line with comments removed; false at the end.
    bool NextLine(std::string& line);
    void BodyLine(std::string_view line, const std::string& tilde, ArticleText& text);

    DslLines m_lines;
    bool m_inComment = false;
    bool m_commentInBody = false;
    std::string m_pending; // a headword line read ahead
    bool m_hasPending = false;
    std::string m_raw;
};

DslReader::DslReader(const fs::path& source, const InflateLimits& limits)
    : m_lines(source, limits) {
    m_info.format = Format::Dsl;
    m_info.sourceFile = source.filename().string();
    m_total = m_lines.FileSize();
    // Headers, then the first headword line; body lines before it belong to
    // no card and are left out.
    std::string line;
    bool inHeaders = true;
    while (NextLine(line)) {
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        if (IsSpace(line.front())) {
            inHeaders = false;
            continue;
        }
        if (line.front() != '#' || !inHeaders) {
            m_pending = std::move(line);
            m_hasPending = true;
            break;
        }
        const std::size_t space = line.find_first_of(" \t");
        const std::string name = line.substr(0, space);
        std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        value = CleanHeadword(value);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (name == "#NAME") {
            m_info.name = value;
        } else if (name == "#INDEX_LANGUAGE") {
            m_info.fromLanguage = value;
        } else if (name == "#CONTENTS_LANGUAGE") {
            m_info.toLanguage = value;
        }
    }
}

bool DslReader::NextLine(std::string& line) {
    if (!m_lines.Next(m_raw)) {
        return false;
    }
    // What follows a comment that began on a body line stays in the body.
    const bool continued = m_inComment;
    if (!continued) {
        m_commentInBody = !m_raw.empty() && IsSpace(m_raw.front());
    }
    line = WithoutComments(m_raw, m_inComment);
    if (continued && m_commentInBody && !line.empty() && !IsSpace(line.front())) {
        std::string indented(1, '\t');
        indented += line;
        line.swap(indented);
    }
    return true;
}

void DslReader::BodyLine(std::string_view line, const std::string& tilde, ArticleText& text) {
    std::string out;
    int level = -1;
    int skipping = 0; // inside [s] or [video]
    const std::size_t first = line.find_first_not_of(" \t");
    line.remove_prefix(first == std::string_view::npos ? line.size() : first);
    if (line.starts_with('@')) {
        line.remove_prefix(1); // a sub-entry's headword, shown as a line of the card
    }
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '\\') {
            if (at + 1 < line.size() && skipping == 0) {
                out.push_back(line[at + 1]);
            }
            ++at;
        } else if (c == '[') {
            const std::size_t close = line.find(']', at);
            if (close == std::string_view::npos) {
                if (skipping == 0) {
                    out.push_back(c);
                }
                continue;
            }
            std::string_view tag = line.substr(at + 1, close - at - 1);
            at = close;
            const bool closing = tag.starts_with('/');
            if (closing) {
                tag.remove_prefix(1);
            }
            tag = tag.substr(0, tag.find_first_of(" \t="));
            if (tag.size() <= 2 && tag.starts_with('m')) {
                if (!closing && level < 0) {
                    level = tag.size() == 2 && tag[1] >= '1' && tag[1] <= '9' ? tag[1] - '0' : 1;
                }
            } else if (tag == "s" || tag == "video") {
                if (!closing) {
                    m_skipped.media += skipping == 0 ? 1 : 0;
                    ++skipping;
                } else if (skipping > 0) {
                    --skipping;
                }
            } else if (tag == "ref" && !closing && skipping == 0) {
                out += "→ ";
            }
        } else if (skipping > 0) {
            continue;
        } else if (!IsBodySpecial(c)) {
            // Plain text up to the next character that means something.
            std::size_t end = at;
            while (end < line.size() && !IsBodySpecial(line[end])) {
                ++end;
            }
            out.append(line.substr(at, end - at));
            at = end - 1;
        } else if (line.compare(at, 2, "<<") == 0) {
            out += "→ ";
            ++at;
        } else if (line.compare(at, 2, ">>") == 0) {
            ++at;
        } else if (c == '~') {
            out += tilde;
        } else {
            out.push_back(c);
        }
    }
    text.Indent(level < 0 ? 1 : level);
    text.Flowing(out);
    text.Break();
}

bool DslReader::Next(ImportedArticle& article) {
    std::string line;
    while (m_hasPending) {
        std::vector<Headword> headwords;
        headwords.push_back(ParseHeadword(m_pending));
        m_hasPending = false;
        ArticleText text;
        std::vector<std::string> body;
        bool inBody = false;
        while (NextLine(line)) {
            if (line.find_first_not_of(" \t") == std::string::npos) {
                continue;
            }
            if (!IsSpace(line.front())) {
                if (inBody) {
                    m_pending = std::move(line);
                    m_hasPending = true;
                    break;
                }
                headwords.push_back(ParseHeadword(line));
            } else {
                inBody = true;
                body.push_back(std::move(line));
            }
        }
        m_done = std::min(m_lines.Position(), m_total);
        const Headword& head = headwords.front();
        for (const std::string& bodyLine : body) {
            BodyLine(bodyLine, head.key, text);
        }
        article.headwords.clear();
        const auto add = [&](const std::string& word) {
            if (!word.empty() && std::find(article.headwords.begin(), article.headwords.end(),
                                           word) == article.headwords.end()) {
                article.headwords.push_back(word);
            }
        };
        // Only keys are looked up: the shown headword, {…} parts and all, is
        // the text's first line.
        for (const Headword& headword : headwords) {
            add(headword.key);
        }
        const std::string shownBody = text.Take();
        if (head.shown.empty() || head.key.empty() || shownBody.empty()) {
            ++m_skipped.empty;
            continue;
        }
        article.text = ComposeArticle(head.shown, shownBody);
        return true;
    }
    m_done = m_total;
    return false;
}

} // namespace

std::unique_ptr<DictionaryReader> OpenDsl(const std::filesystem::path& source,
                                          const InflateLimits& limits) {
    return std::make_unique<DslReader>(source, limits);
}

} // namespace formats
