// SPDX-License-Identifier: GPL-2.0-or-later
// dictd: the .index (one line per headword: word, base-64 offset and length,
// optionally the headword as written) and the .dict or .dict.dz data. The
// 00database… entries describe the dictionary and are not headwords. Entries
// that share one data range become one article; an entry that repeats an
// earlier one's word and data is a duplicate.
#include "formats/article_text.h"
#include "formats/data_file.h"
#include "formats/dictd_number.h"
#include "formats/dictionary_reader.h"

#include <algorithm>
#include <unordered_map>

namespace formats {
namespace {

namespace fs = std::filesystem;

// The index is addressed with 32-bit positions.
constexpr std::uint64_t kIndexLimit = UINT32_MAX;

// Case folding for matching a folded index word against the article's first
// line: Latin, Greek and Cyrillic capitals.
char32_t Fold(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    if (((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && c % 2 == 0) {
        return c + 1;
    }
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && c % 2 == 1) {
        return c + 1;
    }
    return c;
}

bool IsAsciiAlphanumeric(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// dictd folds its index words (lower case, punctuation dropped). The headword
// as written is the start of the article's first line that folds to the word:
// its byte length there, or 0 when the line does not start with it.
std::size_t WrittenHeadwordLength(std::string_view word, std::string_view line) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (j < word.size()) {
        if (i >= line.size()) {
            return 0;
        }
        std::size_t nextI = i;
        std::size_t nextJ = j;
        const char32_t c = NextCodePoint(line, nextI);
        const char32_t d = NextCodePoint(word, nextJ);
        const bool punctuation =
            (c < 0x80 && c != ' ' && !IsAsciiAlphanumeric(c)) || (c >= 0x2000 && c <= 0x206F);
        if (Fold(c) == Fold(d)) {
            i = nextI;
            j = nextJ;
        } else if (punctuation || (c == ' ' && (j == 0 || word[j - 1] == ' '))) {
            i = nextI; // punctuation that the index leaves out, and the spaces it joins
        } else {
            return 0;
        }
    }
    if (i < line.size()) {
        std::size_t next = i;
        const char32_t c = NextCodePoint(line, next);
        if (c >= 0x80 || IsAsciiAlphanumeric(c)) {
            return 0; // the line's word goes on
        }
    }
    while (i < line.size() && line[i] == '-') {
        ++i; // an affix's closing hyphen
    }
    return i;
}

std::string BasePath(const fs::path& source) {
    const std::string_view path = source.native();
    for (const std::string_view suffix : {".index", ".dict.dz", ".dict"}) {
        if (path.ends_with(suffix)) {
            return std::string(path.substr(0, path.size() - suffix.size()));
        }
    }
    return std::string(path);
}

class DictdReader final : public DictionaryReader {
public:
    DictdReader(const fs::path& source, const InflateLimits& limits);
    bool Next(ImportedArticle& article) override;

private:
    struct Entry {
        std::uint64_t offset;
        std::uint32_t length;
        std::uint32_t word; // position in m_index
        std::uint32_t wordLength;
        std::uint32_t written; // the headword as written, when the line gives it
        std::uint32_t writtenLength;
        bool repeated; // its word is on a neighbouring line too
    };

    std::string_view Word(const Entry& e) const {
        return std::string_view(m_index).substr(e.word, e.wordLength);
    }
    std::string Metadata(std::string_view key, std::uint64_t offset, std::uint64_t length);
    bool IsDuplicate(std::size_t first, std::string_view data);

    // Text as UTF-8; in a dictionary not marked as UTF-8, text that is not
    // valid UTF-8 is Latin-1.
    std::string Decode(std::string_view bytes) const {
        if (m_utf8 || IsValidUtf8(bytes)) {
            return ValidUtf8(bytes);
        }
        std::string text;
        for (const char byte : bytes) {
            AppendUtf8(text, static_cast<unsigned char>(byte));
        }
        return text;
    }

    bool m_utf8 = false; // the dictionary has a 00databaseutf8 entry
    std::string m_indexLabel;
    std::string m_index;
    std::vector<Entry> m_entries;
    std::unique_ptr<DataFile> m_data;
    std::size_t m_next = 0;
    struct Seen {
        std::uint64_t check;
        std::size_t entry;
    };
    std::unordered_multimap<std::size_t, Seen> m_seen; // hash of the data → entry
};

DictdReader::DictdReader(const fs::path& source, const InflateLimits& limits) {
    m_info.format = Format::Dictd;
    m_info.sourceFile = source.filename().string();
    const std::string base = BasePath(source);
    m_indexLabel = base + ".index";
    m_index =
        ReadWholeFile(m_indexLabel, kIndexLimit, "the largest index this reader takes", limits);
    const std::string dict = fs::exists(base + ".dict.dz") ? base + ".dict.dz" : base + ".dict";
    m_data = std::make_unique<DataFile>(dict, limits);

    struct Place {
        std::string key;
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
    };
    Place shortName;
    Place info;
    std::size_t lineNumber = 0;
    for (std::size_t at = 0; at < m_index.size();) {
        std::size_t end = m_index.find('\n', at);
        end = end == std::string::npos ? m_index.size() : end;
        std::string_view line(m_index.data() + at, end - at);
        const std::size_t lineStart = at;
        at = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        std::string_view fields[4];
        std::size_t count = 0;
        for (std::size_t from = 0; count < 4;) {
            const std::size_t tab = line.find('\t', from);
            fields[count++] = line.substr(from, tab - from);
            if (tab == std::string_view::npos) {
                break;
            }
            from = tab + 1;
        }
        const std::string name = "line " + std::to_string(lineNumber) + " (" +
                                 CleanHeadword(fields[0].substr(0, 64)) + ")";
        if (count < 3) {
            throw FormatError(m_indexLabel, name, "fewer than three fields");
        }
        const auto offset = DecodeDictdNumber(fields[1]);
        const auto length = DecodeDictdNumber(fields[2]);
        if (!offset || !length) {
            throw FormatError(m_indexLabel, name, "not a base-64 number");
        }
        if (*offset > m_data->Size() || *length > m_data->Size() - *offset ||
            *length > UINT32_MAX) {
            throw FormatError(FileLabel(dict), name,
                              "bytes " + std::to_string(*offset) + "+" + std::to_string(*length) +
                                  " lie outside the data (" + std::to_string(m_data->Size()) +
                                  " bytes)");
        }
        const std::string_view word = fields[0];
        if (word.starts_with("00database") || word.starts_with("00-database-")) {
            ++m_skipped.metadata;
            m_utf8 = m_utf8 || word == "00databaseutf8" || word == "00-database-utf8";
            if (word == "00databaseshort" || word == "00-database-short") {
                shortName = {std::string(word), *offset, *length};
            } else if (word == "00databaseinfo" || word == "00-database-info") {
                info = {std::string(word), *offset, *length};
            }
            continue;
        }
        const auto position = [&](std::string_view field) {
            return static_cast<std::uint32_t>(field.data() - m_index.data());
        };
        const std::string_view written = count == 4 ? fields[3] : std::string_view();
        const bool repeated = !m_entries.empty() && Word(m_entries.back()) == word;
        if (repeated) {
            m_entries.back().repeated = true;
        }
        m_entries.push_back({*offset, static_cast<std::uint32_t>(*length),
                             static_cast<std::uint32_t>(lineStart),
                             static_cast<std::uint32_t>(word.size()), position(written),
                             static_cast<std::uint32_t>(written.size()), repeated});
    }
    const std::string name = Metadata(shortName.key, shortName.offset, shortName.length);
    m_info.name = CleanHeadword(name.substr(0, name.find('\n')));
    m_info.description = Metadata(info.key, info.offset, info.length);
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        return a.offset != b.offset ? a.offset < b.offset : a.length < b.length;
    });
    m_total = m_entries.size();
}

// The text of a 00database… entry, without the line that repeats its key and
// without the indentation common to its lines.
std::string DictdReader::Metadata(std::string_view key, std::uint64_t offset,
                                  std::uint64_t length) {
    ArticleText text;
    text.Literal(Decode(m_data->Read(offset, length, key)));
    const std::string body = text.Take();
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at <= body.size();) {
        const std::size_t end = std::min(body.find('\n', at), body.size());
        lines.push_back(std::string_view(body).substr(at, end - at));
        at = end + 1;
    }
    if (!lines.empty() && (lines.front().find("00-database-") != std::string_view::npos ||
                           lines.front().find("00database") != std::string_view::npos)) {
        lines.erase(lines.begin());
    }
    std::size_t indent = std::string_view::npos;
    for (const std::string_view line : lines) {
        if (!line.empty()) {
            indent = std::min(indent, line.find_first_not_of(' '));
        }
    }
    std::string out;
    for (const std::string_view line : lines) {
        if (!out.empty() || !line.empty()) {
            out += line.substr(std::min(indent, line.size()));
            out.push_back('\n');
        }
    }
    while (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

// FNV-1a, a second hash independent of std::hash: the two together stand for
// the bytes, so a duplicate is found without reading the earlier entry again.
std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037u) {
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return hash;
}

// True when an earlier entry had the same word and the same data bytes
// (the same length and two independent 64-bit hashes).
bool DictdReader::IsDuplicate(std::size_t first, std::string_view data) {
    const Entry& entry = m_entries[first];
    const std::size_t hash = std::hash<std::string_view>()(data);
    const std::uint64_t check = Fnv1a(data, Fnv1a(Word(entry)));
    const auto [from, to] = m_seen.equal_range(hash);
    for (auto it = from; it != to; ++it) {
        const Entry& earlier = m_entries[it->second.entry];
        if (it->second.check == check && Word(earlier) == Word(entry) &&
            earlier.length == entry.length) {
            return true;
        }
    }
    m_seen.emplace(hash, Seen{check, first});
    return false;
}

bool DictdReader::Next(ImportedArticle& article) {
    while (m_next < m_entries.size()) {
        const std::size_t first = m_next;
        std::size_t end = first + 1;
        while (end < m_entries.size() && m_entries[end].offset == m_entries[first].offset &&
               m_entries[end].length == m_entries[first].length) {
            ++end;
        }
        m_done += end - first;
        m_next = end;
        const Entry& entry = m_entries[first];
        const std::string_view data = m_data->Read(entry.offset, entry.length, Word(entry));
        if (end == first + 1 && entry.repeated && IsDuplicate(first, data)) {
            ++m_skipped.duplicates;
            continue;
        }
        ArticleText text;
        text.Literal(Decode(data));
        const std::string body = text.Take();
        const std::string_view firstLine = std::string_view(body).substr(0, body.find('\n'));
        // Headwords found at the start of the text come first: the shown one
        // is then the one the headword line names.
        article.headwords.clear();
        std::size_t named = 0;
        for (std::size_t i = first; i < end; ++i) {
            const Entry& e = m_entries[i];
            std::string shown;
            std::size_t length = 0;
            if (e.writtenLength > 0) {
                shown = CleanHeadword(
                    Decode(std::string_view(m_index).substr(e.written, e.writtenLength)));
            } else {
                const std::string word = Decode(Word(e));
                length = WrittenHeadwordLength(word, firstLine);
                shown = CleanHeadword(length > 0 ? firstLine.substr(0, length) : word);
            }
            if (!shown.empty() && std::find(article.headwords.begin(), article.headwords.end(),
                                            shown) == article.headwords.end()) {
                const auto at =
                    length > 0 ? article.headwords.begin() + named++ : article.headwords.end();
                article.headwords.insert(at, std::move(shown));
            }
        }
        if (article.headwords.empty() || body.empty()) {
            ++m_skipped.empty;
            continue;
        }
        article.text = ComposeArticle(article.headwords.front(), body);
        return true;
    }
    m_data->CheckAll();
    return false;
}

} // namespace

std::unique_ptr<DictionaryReader> OpenDictd(const std::filesystem::path& source,
                                            const InflateLimits& limits) {
    return std::make_unique<DictdReader>(source, limits);
}

} // namespace formats
