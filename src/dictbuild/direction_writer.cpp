// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/direction_writer.h"

#include "index/index_writer.h"
#include "index/my_less.h"
#include "index/x_less.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <stdexcept>

namespace {

constexpr std::uint32_t kNone = UINT32_MAX;

const pro_less& OrderOf(Language language) {
    static const my_less russian;
    static const x_less esperanto;
    return language == Language::Esperanto ? static_cast<const pro_less&>(esperanto) : russian;
}

// An article that would start where the reader cannot seek.
std::string TooFarMessage(std::string_view headword, std::uint64_t start) {
    return "the article of \"" + std::string(headword) + "\" would start at byte " +
           std::to_string(start) + ", beyond " + std::to_string(kMaxArticleOffset) +
           ", the last offset the program can read";
}

std::runtime_error WriteFailure(const platform::NewFile& file) {
    return std::runtime_error("cannot write " + file.Path() + ": " + std::strerror(errno));
}

// Reads a file front to back, skipping what is not asked for.
class ForwardReader {
public:
    explicit ForwardReader(const std::string& path) : m_in(path, std::ios::binary) {
        if (!m_in) {
            throw std::runtime_error("cannot read back " + path);
        }
        m_path = path;
    }
    void Read(std::uint64_t offset, std::size_t length, std::string& into) {
        if (offset != m_at) {
            m_in.seekg(static_cast<std::streamoff>(offset));
        }
        into.resize(length);
        m_in.read(into.data(), static_cast<std::streamsize>(length));
        if (!m_in) {
            throw std::runtime_error("cannot read back " + m_path);
        }
        m_at = offset + length;
    }

private:
    std::ifstream m_in;
    std::string m_path;
    std::uint64_t m_at = 0;
};

} // namespace

DirectionWriter::DirectionWriter(Language language, StagedFiles& staged, std::string_view preamble)
    : m_language(language), m_staged(staged), m_slots(1024, 0) {
    const std::filesystem::path target = staged.Folder() / FilesOf(language).text;
    if (!m_text.Create(target.string())) {
        throw std::runtime_error("cannot create a new " + target.string() + ": " +
                                 std::strerror(errno));
    }
    if (!preamble.empty()) {
        try {
            Put(EncodeArticle(language, preamble));
        } catch (const std::runtime_error& e) {
            throw SourceError(0, std::string("the note before the articles: ") + e.what());
        }
    }
    m_preambleSize = static_cast<std::size_t>(m_size);
}

std::string_view DirectionWriter::Key(std::uint32_t key) const {
    const std::uint32_t start = key == 0 ? 0 : m_keyEnd[key - 1];
    return std::string_view(m_keyBytes).substr(start, m_keyEnd[key] - start);
}

std::uint32_t DirectionWriter::KeyOf(std::string_view key) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(key)&mask;
    for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        if (Key(m_slots[slot] - 1) == key) {
            return m_slots[slot] - 1;
        }
    }
    if (m_keyBytes.size() + key.size() > UINT32_MAX) {
        throw std::runtime_error("the headwords are too many for one index");
    }
    const auto number = static_cast<std::uint32_t>(m_keyEnd.size());
    m_keyBytes += key;
    m_keyEnd.push_back(static_cast<std::uint32_t>(m_keyBytes.size()));
    m_refCount.push_back(0);
    m_firstSeen.push_back(kNone);
    m_slots[slot] = number + 1;
    if (m_keyEnd.size() * 2 > m_slots.size()) { // at most half full: short probes
        std::vector<std::uint32_t>(m_slots.size() * 2, 0).swap(m_slots);
        const std::size_t wider = m_slots.size() - 1;
        for (std::uint32_t k = 0; k < m_keyEnd.size(); ++k) {
            std::size_t s = std::hash<std::string_view>{}(Key(k)) & wider;
            while (m_slots[s] != 0) {
                s = (s + 1) & wider;
            }
            m_slots[s] = k + 1;
        }
    }
    return number;
}

void DirectionWriter::Put(std::string_view bytes) {
    if (!m_text.Write(bytes)) {
        throw WriteFailure(m_text);
    }
    m_hash.Add(bytes);
    m_size += bytes.size();
}

ArticleRef DirectionWriter::WriteArticle(std::size_t line, std::string_view headword,
                                         std::string_view text) {
    std::string bytes;
    try {
        bytes = EncodeArticle(m_language, text);
    } catch (const std::runtime_error& e) {
        throw SourceError(line, e.what());
    }
    if (bytes.size() > kMaxArticleBytes) {
        throw SourceError(line, "the article is longer than " + std::to_string(kMaxArticleBytes) +
                                    " bytes (" + std::to_string(bytes.size()) + ")");
    }
    const std::uint64_t start = m_size == 0 ? 0 : m_size + 2;
    if (start > kMaxArticleOffset) {
        throw SourceError(line, TooFarMessage(headword, start));
    }
    if (m_size != 0) {
        Put("\n\n");
    }
    Put(bytes);
    return {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(m_size)};
}

void DirectionWriter::Record(std::size_t line, const ArticleRef& span,
                             std::span<const std::uint32_t> keys) {
    for (const std::uint32_t key : keys) {
        if (m_refCount[key] == kMaxHeadwordRefs) {
            throw SourceError(line, "a headword has more than " + std::to_string(kMaxHeadwordRefs) +
                                        " articles");
        }
        if (m_refCount[key]++ == 0) {
            m_firstSeen[key] = m_seen++;
        }
        m_articleKeys.push_back(key);
    }
    m_spans.push_back(span);
    m_keysEnd.push_back(static_cast<std::uint32_t>(m_articleKeys.size()));
}

void DirectionWriter::Add(std::size_t line, std::string_view headword, std::string_view text,
                          std::span<const std::uint32_t> keys) {
    Record(line, WriteArticle(line, headword, text), keys);
}

void DirectionWriter::Add(const SourceArticle& article) {
    const ArticleRef span = WriteArticle(article.line, article.headword, article.text);
    std::vector<std::uint32_t> keys;
    keys.reserve(1 + article.extraHeadwords.size());
    auto take = [&](const std::string& headword) {
        std::string key;
        try {
            key = HeadwordKey(m_language, headword);
        } catch (const std::runtime_error& e) {
            throw SourceError(article.line, e.what());
        }
        if (key.empty()) {
            throw SourceError(article.line, "the headword is empty once its marks are removed");
        }
        if (key.size() > kMaxHeadwordBytes) {
            throw SourceError(article.line, "a headword is longer than " +
                                                std::to_string(kMaxHeadwordBytes) + " bytes");
        }
        keys.push_back(KeyOf(key));
    };
    take(article.headword);
    for (const std::string& extra : article.extraHeadwords) {
        take(extra);
    }
    Record(article.line, span, keys);
}

BuildSummary DirectionWriter::Finish(const std::vector<bool>& dropped) {
    auto isDropped = [&](std::uint32_t key) { return key < dropped.size() && dropped[key]; };
    Put("\n");
    // The swap frees the table: nothing is looked up from here on.
    std::vector<std::uint32_t>().swap(m_slots);

    // An article stays while one of its keys does; the first that stays is
    // then its own headword.
    const std::size_t articles = m_spans.size();
    std::size_t kept = 0;
    for (std::size_t a = 0; a < articles; ++a) {
        const std::uint32_t first = a == 0 ? 0 : m_keysEnd[a - 1];
        bool stays = false;
        for (std::uint32_t p = first; p < m_keysEnd[a] && !stays; ++p) {
            stays = !isDropped(m_articleKeys[p]);
        }
        if (stays) {
            ++kept;
        } else {
            m_spans[a] = {kNone, kNone};
        }
    }

    platform::NewFile text = std::move(m_text);
    bsi::TextIdentity identity;
    identity.size = m_size;
    if (kept != articles) {
        // The kept articles are copied from the first file into a second,
        // their spans moved to their new places.
        if (std::fflush(text.Stream()) != 0) {
            throw WriteFailure(text);
        }
        ForwardReader first(text.Path());
        platform::NewFile copy;
        const std::filesystem::path target = text.Target();
        if (!copy.Create(target.string())) {
            throw std::runtime_error("cannot create a new " + target.string() + ": " +
                                     std::strerror(errno));
        }
        bsi::TextHasher hash;
        std::uint64_t size = 0;
        auto put = [&](std::string_view bytes) {
            if (!copy.Write(bytes)) {
                throw WriteFailure(copy);
            }
            hash.Add(bytes);
            size += bytes.size();
        };
        std::string bytes;
        first.Read(0, m_preambleSize, bytes);
        put(bytes);
        for (ArticleRef& span : m_spans) {
            if (span.start == kNone) {
                continue;
            }
            first.Read(span.start, span.end - span.start, bytes);
            if (size != 0) {
                put("\n\n");
            }
            span = {static_cast<std::uint32_t>(size),
                    static_cast<std::uint32_t>(size + bytes.size())};
            put(bytes);
        }
        put("\n");
        identity.size = size;
        identity.hash = hash.Hash();
        text = std::move(copy); // the first file goes with the object it leaves
    } else {
        identity.hash = m_hash.Hash();
    }
    if (!text.Finish()) {
        throw WriteFailure(text);
    }
    {
        ForwardReader back(text.Path());
        std::string sampled;
        std::string piece;
        for (const bsi::Span& span : bsi::FingerprintSpans(identity.size)) {
            back.Read(span.offset, span.length, piece);
            sampled += piece;
        }
        identity.fingerprint = bsi::Fingerprint(identity.size, sampled);
    }

    // The headwords in the order of their first article; each one's own
    // articles before those that name it as an extra headword, each group in
    // the order of the text.
    std::vector<std::uint32_t> keyAt(m_seen, kNone);
    for (std::uint32_t k = 0; k < m_firstSeen.size(); ++k) {
        if (m_firstSeen[k] != kNone && !isDropped(k)) {
            keyAt[m_firstSeen[k]] = k;
        }
    }
    std::vector<std::uint32_t>().swap(m_firstSeen);
    std::vector<std::uint8_t> own(m_keyEnd.size(), 0);
    std::vector<std::uint8_t> all(m_keyEnd.size(), 0);
    // Calls visit(article, key, own) for each kept key of each kept article,
    // in the order of the text; `own` for the article's first kept key.
    const auto forEachKeptKey = [&](const auto& visit) {
        for (std::size_t a = 0; a < articles; ++a) {
            if (m_spans[a].start == kNone) {
                continue;
            }
            bool first = true;
            for (std::uint32_t p = a == 0 ? 0 : m_keysEnd[a - 1]; p < m_keysEnd[a]; ++p) {
                const std::uint32_t key = m_articleKeys[p];
                if (!isDropped(key)) {
                    visit(a, key, first);
                    first = false;
                }
            }
        }
    };
    forEachKeptKey([&](std::size_t, std::uint32_t key, bool isOwn) {
        if (isOwn) {
            ++own[key];
        }
        ++all[key];
    });
    HeadwordTable table;
    std::vector<std::uint32_t> nextOwn(m_keyEnd.size(), 0);
    std::vector<std::uint32_t> nextExtra(m_keyEnd.size(), 0);
    std::uint32_t refs = 0;
    for (const std::uint32_t key : keyAt) {
        if (key == kNone) {
            continue;
        }
        table.text += Key(key);
        table.textEnd.push_back(static_cast<std::uint32_t>(table.text.size()));
        nextOwn[key] = refs;
        nextExtra[key] = refs + own[key];
        refs += all[key];
        table.refEnd.push_back(refs);
    }
    std::vector<std::uint8_t>().swap(own);
    std::vector<std::uint8_t>().swap(all);
    table.refs.resize(refs);
    forEachKeptKey([&](std::size_t a, std::uint32_t key, bool isOwn) {
        table.refs[isOwn ? nextOwn[key]++ : nextExtra[key]++] = m_spans[a];
    });
    std::vector<std::uint32_t>().swap(nextOwn);
    std::vector<std::uint32_t>().swap(nextExtra);
    std::vector<ArticleRef>().swap(m_spans);
    std::vector<std::uint32_t>().swap(m_keysEnd);
    std::vector<std::uint32_t>().swap(m_articleKeys);

    const std::string index =
        BuildTableIndex(OrderOf(m_language), table, kDefaultBlockOrder, identity);
    const BuildSummary summary{kept, table.size(), static_cast<std::size_t>(identity.size),
                               index.size()};
    m_staged.Add(std::move(text));
    m_staged.Write(FilesOf(m_language).index, index);
    return summary;
}
