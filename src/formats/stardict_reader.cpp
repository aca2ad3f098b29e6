// SPDX-License-Identifier: GPL-2.0-or-later
// StarDict: the .ifo header, the .idx word list (32- or 64-bit offsets), the
// .dict or .dict.dz data and the optional .syn synonyms. Entries that share
// one data range become one article with several headwords; articles come in
// the order of the data, which reads a dictzip file chunk after chunk.
#include "formats/article_text.h"
#include "formats/data_file.h"
#include "formats/dictionary_reader.h"
#include "formats/markup_text.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace formats {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kIfoMagic = "StarDict's dict ifo file";
constexpr std::uint64_t kIfoLimit = 1 << 20;
constexpr std::string_view kTypes = "mltgxykwhnrWPX";

std::optional<std::uint64_t> ParseDecimal(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::uint64_t BigEndian(std::string_view bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int k = 0; k < size; ++k) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    }
    return value;
}

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsLetter(char c) {
    return IsLower(c) || (c >= 'A' && c <= 'Z');
}

// A word of the .idx or .syn for a message: up to its terminator, at most 64 bytes.
std::string EntryName(std::string_view bytes) {
    return CleanHeadword(bytes.substr(0, std::min<std::size_t>(bytes.find('\0'), 64)));
}

// The path without the suffix of any StarDict file.
std::string BasePath(const fs::path& source) {
    const std::string_view path = source.native();
    for (const std::string_view suffix : {".ifo", ".idx.gz", ".idx", ".dict.dz", ".dict", ".syn"}) {
        if (path.ends_with(suffix)) {
            return std::string(path.substr(0, path.size() - suffix.size()));
        }
    }
    return std::string(path);
}

class StarDictReader final : public DictionaryReader {
public:
    StarDictReader(const fs::path& source, const InflateLimits& limits);
    bool Next(ImportedArticle& article) override;

private:
    struct Entry {
        std::uint64_t offset;
        std::uint32_t size;
        std::uint32_t ordinal; // place in the .idx
        std::size_t word;      // where its word starts in m_idx
    };
    struct Synonym {
        std::uint32_t ordinal;
        std::size_t word; // where it starts in m_syn
    };

    void ReadIfo(const std::string& path);
    void ReadIdx(const std::string& base);
    void ReadSyn(const std::string& path);
    std::string_view Word(std::size_t at) const { return m_idx.c_str() + at; }
    void AppendData(std::string_view data, const std::string& entry, ArticleText& text);
    void AppendField(char type, std::string_view field, ArticleText& text);

    InflateLimits m_limits;
    std::string m_ifoLabel;
    std::uint64_t m_wordCount = 0;
    std::uint64_t m_idxFileSize = 0;
    std::optional<std::uint64_t> m_synWordCount;
    int m_offsetBytes = 4;
    std::string m_types; // sametypesequence
    std::string m_idx;
    std::string m_syn;
    std::vector<Entry> m_entries;
    std::vector<Synonym> m_synonyms;
    std::unique_ptr<DataFile> m_data;
    std::size_t m_next = 0;
};

StarDictReader::StarDictReader(const fs::path& source, const InflateLimits& limits)
    : m_limits(limits) {
    m_info.format = Format::StarDict;
    m_info.sourceFile = source.filename().string();
    const std::string base = BasePath(source);
    ReadIfo(base + ".ifo");
    ReadIdx(base);
    if (fs::exists(base + ".syn")) {
        ReadSyn(base + ".syn");
    }
    const std::string dict = fs::exists(base + ".dict.dz") ? base + ".dict.dz" : base + ".dict";
    m_data = std::make_unique<DataFile>(dict, m_limits);
    for (const Entry& entry : m_entries) {
        if (entry.offset > m_data->Size() || entry.size > m_data->Size() - entry.offset) {
            throw FormatError(FileLabel(dict), EntryName(Word(entry.word)),
                              "bytes " + std::to_string(entry.offset) + "+" +
                                  std::to_string(entry.size) + " lie outside the data (" +
                                  std::to_string(m_data->Size()) + " bytes)");
        }
    }
    // One article per data range, its words in .idx order.
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        return a.offset != b.offset ? a.offset < b.offset
               : a.size != b.size   ? a.size < b.size
                                    : a.ordinal < b.ordinal;
    });
    m_total = m_entries.size();
}

void StarDictReader::ReadIfo(const std::string& path) {
    m_ifoLabel = path;
    std::string content = ReadWholeFile(path, kIfoLimit, "", m_limits);
    if (content.starts_with("\xEF\xBB\xBF")) {
        content.erase(0, 3);
    }
    std::map<std::string, std::string, std::less<>> fields;
    std::size_t at = 0;
    bool first = true;
    while (at < content.size()) {
        std::size_t end = content.find('\n', at);
        end = end == std::string::npos ? content.size() : end;
        std::string_view line(content.data() + at, end - at);
        at = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (first) {
            if (line != kIfoMagic) {
                throw FormatError(path, "", "not a StarDict .ifo file");
            }
            first = false;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            fields.emplace(std::string(line.substr(0, equals)),
                           std::string(line.substr(equals + 1)));
        }
    }
    if (first) {
        throw FormatError(path, "", "not a StarDict .ifo file");
    }
    const auto field = [&](std::string_view key) -> std::optional<std::string_view> {
        const auto found = fields.find(key);
        return found == fields.end() ? std::nullopt
                                     : std::optional<std::string_view>(found->second);
    };
    const auto number = [&](std::string_view key) -> std::optional<std::uint64_t> {
        const auto value = field(key);
        if (!value) {
            return std::nullopt;
        }
        const auto parsed = ParseDecimal(*value);
        if (!parsed) {
            throw FormatError(path, std::string(key), "not a number: " + ValidUtf8(*value));
        }
        return parsed;
    };
    const auto version = field("version");
    if (!version || (*version != "2.4.2" && *version != "3.0.0")) {
        throw FormatError(path, "version",
                          version ? "unsupported version " + ValidUtf8(*version) : "missing");
    }
    const auto wordCount = number("wordcount");
    const auto idxFileSize = number("idxfilesize");
    if (!wordCount || !idxFileSize) {
        throw FormatError(path, wordCount ? "idxfilesize" : "wordcount", "missing");
    }
    m_wordCount = *wordCount;
    m_idxFileSize = *idxFileSize;
    m_synWordCount = number("synwordcount");
    if (const auto bits = field("idxoffsetbits")) {
        if (*bits == "64" && *version == "3.0.0") {
            m_offsetBytes = 8;
        } else if (*bits != "32") {
            throw FormatError(path, "idxoffsetbits",
                              ValidUtf8(*bits) + " with version " + std::string(*version));
        }
    }
    if (const auto types = field("sametypesequence")) {
        for (const char type : *types) {
            if (kTypes.find(type) == std::string_view::npos) {
                throw FormatError(path, "sametypesequence",
                                  "unknown type " + ValidUtf8(std::string_view(&type, 1)));
            }
        }
        m_types = *types;
    }
    m_info.name = CleanHeadword(field("bookname").value_or(""));
    // The description breaks its lines with <br>.
    const std::string description = ValidUtf8(field("description").value_or(""));
    for (std::size_t from = 0; from < description.size();) {
        const std::size_t br = std::min(description.find("<br>", from), description.size());
        m_info.description.append(description, from, br - from);
        if (br < description.size()) {
            m_info.description.push_back('\n');
        }
        from = br + 4;
    }
}

void StarDictReader::ReadIdx(const std::string& base) {
    const std::string path = fs::exists(base + ".idx") ? base + ".idx" : base + ".idx.gz";
    m_idx = ReadWholeFile(path, m_idxFileSize, "idxfilesize in " + m_ifoLabel, m_limits);
    if (m_idx.size() != m_idxFileSize) {
        throw FormatError(path, "",
                          "idxfilesize promises " + std::to_string(m_idxFileSize) +
                              " bytes, the file holds " + std::to_string(m_idx.size()));
    }
    const std::size_t fieldBytes = static_cast<std::size_t>(m_offsetBytes) + 4;
    // Each entry takes at least its terminator and its two numbers.
    m_entries.reserve(std::min<std::uint64_t>(m_wordCount, m_idx.size() / (fieldBytes + 1)));
    std::size_t at = 0;
    while (at < m_idx.size()) {
        const std::size_t end = m_idx.find('\0', at);
        if (end == std::string::npos || m_idx.size() - end - 1 < fieldBytes) {
            throw FormatError(path, EntryName(std::string_view(m_idx).substr(at)),
                              "entry " + std::to_string(m_entries.size() + 1) + " is cut short");
        }
        if (m_entries.size() == m_wordCount) {
            throw FormatError(path, "",
                              "holds more entries than wordcount (" + std::to_string(m_wordCount) +
                                  ") in " + m_ifoLabel);
        }
        const std::uint64_t offset = BigEndian(m_idx, end + 1, m_offsetBytes);
        const auto size = static_cast<std::uint32_t>(BigEndian(m_idx, end + 1 + m_offsetBytes, 4));
        m_entries.push_back({offset, size, static_cast<std::uint32_t>(m_entries.size()), at});
        at = end + 1 + fieldBytes;
    }
    if (m_entries.size() != m_wordCount) {
        throw FormatError(path, "",
                          "wordcount promises " + std::to_string(m_wordCount) +
                              " entries, the file holds " + std::to_string(m_entries.size()));
    }
}

void StarDictReader::ReadSyn(const std::string& path) {
    // Each synonym takes at least five bytes: its terminator and its number.
    m_syn = ReadWholeFile(path, UINT64_MAX, "", m_limits);
    std::size_t at = 0;
    while (at < m_syn.size()) {
        const std::size_t end = m_syn.find('\0', at);
        if (end == std::string::npos || m_syn.size() - end - 1 < 4) {
            throw FormatError(path, EntryName(std::string_view(m_syn).substr(at)),
                              "synonym " + std::to_string(m_synonyms.size() + 1) + " is cut short");
        }
        const std::uint64_t ordinal = BigEndian(m_syn, end + 1, 4);
        if (ordinal >= m_entries.size()) {
            throw FormatError(path, EntryName(std::string_view(m_syn).substr(at)),
                              "points at entry " + std::to_string(ordinal) + " of " +
                                  std::to_string(m_entries.size()));
        }
        m_synonyms.push_back({static_cast<std::uint32_t>(ordinal), at});
        at = end + 5;
    }
    if (m_synWordCount && *m_synWordCount != m_synonyms.size()) {
        throw FormatError(path, "",
                          "synwordcount promises " + std::to_string(*m_synWordCount) +
                              " synonyms, the file holds " + std::to_string(m_synonyms.size()));
    }
    std::stable_sort(m_synonyms.begin(), m_synonyms.end(),
                     [](const Synonym& a, const Synonym& b) { return a.ordinal < b.ordinal; });
}

void StarDictReader::AppendField(char type, std::string_view field, ArticleText& text) {
    text.Break();
    text.Indent(0);
    switch (type) {
    case 'l':
        text.Literal(IsValidUtf8(field) ? std::string(field) : Cp1251ToUtf8(field));
        break;
    case 't':
        text.Literal("[");
        text.Literal(ValidUtf8(field));
        text.Literal("]");
        break;
    case 'g':
    case 'k':
        AppendPango(ValidUtf8(field), text);
        break;
    case 'x':
        AppendXdxfMarkup(ValidUtf8(field), text, m_skipped);
        break;
    case 'h':
        AppendHtml(ValidUtf8(field), text, m_skipped);
        break;
    case 'r':
        // A list of resource files, one a line.
        for (std::size_t at = 0; at < field.size();) {
            std::size_t end = field.find('\n', at);
            end = end == std::string_view::npos ? field.size() : end;
            m_skipped.resources += end > at ? 1 : 0;
            at = end + 1;
        }
        break;
    default:
        if (IsLower(type)) {
            text.Literal(ValidUtf8(field));
        } else {
            ++m_skipped.resources; // pictures, sounds and other binary fields
        }
        break;
    }
}

void StarDictReader::AppendData(std::string_view data, const std::string& entry,
                                ArticleText& text) {
    const bool same = !m_types.empty();
    for (std::size_t k = 0; same ? k < m_types.size() : !data.empty(); ++k) {
        char type = 0;
        if (same) {
            type = m_types[k];
        } else {
            type = data.front();
            data.remove_prefix(1);
            if (!IsLetter(type)) {
                throw FormatError(m_ifoLabel, entry,
                                  "unknown field type " +
                                      std::to_string(static_cast<unsigned char>(type)));
            }
        }
        // With sametypesequence the last field runs to the end of the entry.
        const bool last = same && k + 1 == m_types.size();
        std::string_view field;
        if (IsLower(type)) {
            const std::size_t end = last ? std::string_view::npos : data.find('\0');
            field = data.substr(0, end);
            data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
            if (last) {
                field = field.substr(0, field.find('\0'));
            }
        } else if (last) {
            field = data;
            data = {};
        } else {
            if (data.size() < 4 || BigEndian(data, 0, 4) > data.size() - 4) {
                throw FormatError(m_ifoLabel, entry, "a field's size runs past the entry");
            }
            field = data.substr(4, BigEndian(data, 0, 4));
            data.remove_prefix(4 + field.size());
        }
        AppendField(type, field, text);
    }
}

bool StarDictReader::Next(ImportedArticle& article) {
    while (m_next < m_entries.size()) {
        const Entry& first = m_entries[m_next];
        std::size_t end = m_next + 1;
        while (end < m_entries.size() && m_entries[end].offset == first.offset &&
               m_entries[end].size == first.size) {
            ++end;
        }
        article.headwords.clear();
        const auto add = [&](std::string_view word) {
            std::string clean = CleanHeadword(word);
            if (!clean.empty() && std::find(article.headwords.begin(), article.headwords.end(),
                                            clean) == article.headwords.end()) {
                article.headwords.push_back(std::move(clean));
            }
        };
        for (std::size_t i = m_next; i < end; ++i) {
            add(Word(m_entries[i].word));
        }
        for (std::size_t i = m_next; i < end; ++i) {
            auto synonym = std::lower_bound(
                m_synonyms.begin(), m_synonyms.end(), m_entries[i].ordinal,
                [](const Synonym& s, std::uint32_t ordinal) { return s.ordinal < ordinal; });
            for (; synonym != m_synonyms.end() && synonym->ordinal == m_entries[i].ordinal;
                 ++synonym) {
                add(m_syn.c_str() + synonym->word);
            }
        }
        const std::string entry = EntryName(Word(first.word));
        m_done += end - m_next;
        m_next = end;
        ArticleText text;
        AppendData(m_data->Read(first.offset, first.size, entry), entry, text);
        const std::string body = text.Take();
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

std::unique_ptr<DictionaryReader> OpenStarDict(const std::filesystem::path& source,
                                               const InflateLimits& limits) {
    return std::make_unique<StarDictReader>(source, limits);
}

} // namespace formats
