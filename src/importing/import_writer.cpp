// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/import_writer.h"

#include "articles/provider.h"
#include "dictbuild/dictionary_direction.h"
#include "importing/article_spans.h"
#include "importing/utf8_points.h"
#include "index/x_less.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <stdexcept>

namespace {

bool IsEsperantoBase(char c) {
    switch (c) {
    case 'C':
    case 'G':
    case 'H':
    case 'J':
    case 'S':
    case 'U':
    case 'c':
    case 'g':
    case 'h':
    case 'j':
    case 's':
    case 'u':
        return true;
    default:
        return false;
    }
}

// A fitted text in the direction's source form: the file's own marks in place
// of kMorphemeMark, and in the Esperanto file a grave accent between a base
// letter and a following x, which the reader would otherwise join into one
// letter.
std::string SourceForm(Language language, std::string_view fitted) {
    std::string out;
    out.reserve(fitted.size() + fitted.size() / 16);
    char previous = 0;
    for (const char c : fitted) {
        if (c == kMorphemeMark) {
            if (language == Language::Esperanto) {
                out += '/';
            }
            continue; // a mark does not part a base letter from its x
        }
        if (language == Language::Esperanto && (c == 'x' || c == 'X') &&
            IsEsperantoBase(previous)) {
            out += '`';
        }
        out += c;
        previous = c;
    }
    return out;
}

FitTarget TextTarget(Language language) {
    return language == Language::Esperanto ? FitTarget::EsperantoFile : FitTarget::Utf8File;
}

FitTarget HeadwordTarget(Language language) {
    return language == Language::Esperanto ? FitTarget::EsperantoFile : FitTarget::Cp1251;
}

void LeaveOut(DirectionReport& report, const std::string& headword, const std::string& why) {
    if (report.leftOut.size() < DirectionReport::kMaxListed) {
        report.leftOut.push_back("\"" + headword + "\": " + why);
    }
    ++report.leftOutCount;
}

// Keys that the index's prefix lookup would not find by their own text, marked
// by their place in `keys` (given in byte order). The Esperanto order ignores
// hyphens, double quotes and full stops, while the lookup also wants the key
// no longer in bytes than a headword it finds; so a key with such marks is
// missed when a key after it begins with its letters yet has fewer bytes
// ("a...b" before "abc"). The Russian order ignores nothing.
std::vector<bool> UnfindableKeys(Language language, const std::vector<std::string_view>& keys) {
    std::vector<bool> unfindable;
    if (language != Language::Esperanto) {
        return unfindable;
    }
    unfindable.resize(keys.size());
    const x_less order;
    std::vector<std::uint32_t> sorted(keys.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    std::sort(sorted.begin(), sorted.end(),
              [&](std::uint32_t a, std::uint32_t b) { return order.less(keys[a], keys[b]); });
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const std::string_view key = keys[sorted[i]];
        if (x_less::StrippedLength(key) == key.size()) {
            continue;
        }
        for (std::size_t j = i + 1; j < sorted.size() && order.compare(key, keys[sorted[j]]) == 0;
             ++j) {
            if (keys[sorted[j]].size() < key.size()) {
                unfindable[sorted[i]] = true;
                break;
            }
        }
    }
    return unfindable;
}

// Takes the unfindable keys out of the articles; an article left without a
// headword goes.
void LeaveOutUnfindable(Language language, const std::set<std::string, std::less<>>& unfindable,
                        PreparedDirection& prepared) {
    std::set<std::string> reported;
    std::vector<SourceArticle> kept;
    for (SourceArticle& article : prepared.articles) {
        std::vector<std::string> headwords{std::move(article.headword)};
        std::move(article.extraHeadwords.begin(), article.extraHeadwords.end(),
                  std::back_inserter(headwords));
        std::erase_if(headwords, [&](const std::string& headword) {
            if (!unfindable.contains(HeadwordKey(language, headword))) {
                return false;
            }
            if (reported.insert(headword).second) {
                LeaveOut(prepared.report, headword,
                         "its own text would not find it in the index's order");
            }
            return true;
        });
        if (headwords.empty()) {
            continue;
        }
        article.headword = std::move(headwords.front());
        article.extraHeadwords.assign(std::make_move_iterator(headwords.begin() + 1),
                                      std::make_move_iterator(headwords.end()));
        kept.push_back(std::move(article));
    }
    prepared.articles = std::move(kept);
}

// "(U+00D7 × 35, …)": the most frequent characters, an ellipsis when there are more.
std::string CharacterList(std::vector<std::pair<char32_t, std::size_t>> characters) {
    constexpr std::size_t kShown = 8;
    const bool more = characters.size() > kShown;
    characters.resize(std::min(characters.size(), kShown));
    std::string list;
    for (const auto& [c, n] : characters) {
        list += (list.empty() ? " (" : ", ") + DescribeCharacter(c) + " " + std::to_string(n);
    }
    return list.empty() ? list : list + (more ? ", \u2026)" : ")");
}

// An imported entry fitted to the direction's file: its spans, and the
// headwords the index takes, each once, with their keys.
struct PreparedEntry {
    std::vector<std::string> pieces;
    std::vector<std::string> headwords;
    std::vector<std::string> keys;
};

// Fits an entry, leaving out (and reporting) the headwords the index cannot
// take. `admit(key, spans)` counts the spans under the key, or answers false
// when the key would have more than 255 articles.
template <typename Admit>
PreparedEntry PrepareEntry(Language language, const ImportedArticle& article,
                           DirectionReport& report, Admit&& admit) {
    PreparedEntry entry;
    entry.pieces = SplitIntoSpans(
        language, SourceForm(language, FitText(article.text, TextTarget(language), report.fit)),
        kMaxArticleBytes);
    for (const std::string& headword : article.headwords) {
        std::string fitted = FitText(headword, HeadwordTarget(language), report.fit);
        std::erase(fitted, kMorphemeMark);
        std::string key;
        try {
            key = HeadwordKey(language, fitted);
        } catch (const std::runtime_error& e) {
            LeaveOut(report, headword, e.what());
            continue;
        }
        if (key.empty()) {
            LeaveOut(report, headword, "nothing is left to look up");
            continue;
        }
        if (key.size() > 255) {
            LeaveOut(report, headword, "longer than 255 bytes");
            continue;
        }
        if (std::find(entry.keys.begin(), entry.keys.end(), key) != entry.keys.end()) {
            continue;
        }
        if (!admit(key, entry.pieces.size())) {
            LeaveOut(report, headword, "more than 255 articles");
            continue;
        }
        entry.keys.push_back(std::move(key));
        entry.headwords.push_back(std::move(fitted));
    }
    return entry;
}

// PrepareDirection over the direction's articles, all held.
PreparedDirection Prepare(const ImportedDirection& direction) {
    const Language language = direction.language;
    PreparedDirection prepared;
    DirectionReport& report = prepared.report;
    report.language = language;
    report.entries = direction.articles.size();
    prepared.note = SourceForm(language, FitText(direction.note, TextTarget(language), report.fit));

    std::map<std::string, std::size_t, std::less<>> articlesOfKey;
    std::size_t entryNumber = 0;
    for (const ImportedArticle& article : direction.articles) {
        ++entryNumber;
        PreparedEntry entry =
            PrepareEntry(language, article, report, [&](const std::string& key, std::size_t n) {
                std::size_t& count = articlesOfKey[key];
                if (count + n > 255) {
                    return false;
                }
                count += n;
                return true;
            });
        if (entry.headwords.empty() || entry.pieces.empty()) {
            continue;
        }
        if (entry.pieces.size() > 1) {
            ++report.splitEntries;
        }
        for (std::string& piece : entry.pieces) {
            SourceArticle source;
            source.line = entryNumber;
            source.headword = entry.headwords.front();
            source.text = std::move(piece);
            source.extraHeadwords.assign(entry.headwords.begin() + 1, entry.headwords.end());
            prepared.articles.push_back(std::move(source));
        }
    }
    std::vector<std::string_view> keys;
    for (const auto& [key, count] : articlesOfKey) {
        keys.push_back(key);
    }
    const std::vector<bool> marked = UnfindableKeys(language, keys);
    std::set<std::string, std::less<>> unfindable;
    for (std::size_t k = 0; k < marked.size(); ++k) {
        if (marked[k]) {
            unfindable.emplace(keys[k]);
        }
    }
    if (!unfindable.empty()) {
        LeaveOutUnfindable(language, unfindable, prepared);
    }
    report.spans = prepared.articles.size();
    return prepared;
}

} // namespace

PreparedDirection PrepareDirection(const ImportedDirection& direction) {
    return Prepare(direction);
}

DirectionImport::DirectionImport(Language language, std::string_view note, StagedFiles& staged)
    : m_language(language), m_writer(language, staged, [&] {
          m_report.language = language;
          return SourceForm(language, FitText(note, TextTarget(language), m_report.fit));
      }()) {}

void DirectionImport::Add(const ImportedArticle& article) {
    ++m_report.entries;
    std::vector<std::uint32_t> numbers;
    PreparedEntry entry =
        PrepareEntry(m_language, article, m_report, [&](const std::string& key, std::size_t n) {
            const std::uint32_t number = m_writer.KeyOf(key);
            if (m_writer.ArticlesOf(number) + n > 255) {
                return false;
            }
            numbers.push_back(number);
            return true;
        });
    if (entry.headwords.empty() || entry.pieces.empty()) {
        return;
    }
    if (entry.pieces.size() > 1) {
        ++m_report.splitEntries;
    }
    for (const std::string& piece : entry.pieces) {
        m_writer.Add(m_report.entries, entry.headwords.front(), piece, numbers);
    }
    // Only keys with marks the order ignores can be unfindable; their
    // headwords are kept to be named if they are.
    for (std::size_t h = 0; h < entry.keys.size(); ++h) {
        if (m_language == Language::Esperanto &&
            x_less::StrippedLength(entry.keys[h]) != entry.keys[h].size()) {
            m_marked.push_back({std::move(entry.headwords[h]), numbers[h]});
        }
    }
}

DirectionReport DirectionImport::Finish() {
    // The keys in byte order, as the search for unfindable ones wants them.
    std::vector<std::uint32_t> byBytes(m_writer.KeyCount());
    std::iota(byBytes.begin(), byBytes.end(), 0u);
    std::vector<bool> dropped;
    if (m_language == Language::Esperanto && !m_marked.empty()) {
        std::sort(byBytes.begin(), byBytes.end(), [&](std::uint32_t a, std::uint32_t b) {
            return m_writer.Key(a) < m_writer.Key(b);
        });
        std::vector<std::string_view> keys;
        keys.reserve(byBytes.size());
        for (const std::uint32_t k : byBytes) {
            keys.push_back(m_writer.Key(k));
        }
        const std::vector<bool> marked = UnfindableKeys(m_language, keys);
        dropped.resize(byBytes.size());
        for (std::size_t i = 0; i < marked.size(); ++i) {
            dropped[byBytes[i]] = marked[i];
        }
    }
    std::vector<std::uint32_t>().swap(byBytes);
    std::set<std::string, std::less<>> reported;
    for (const auto& [headword, key] : m_marked) {
        if (key < dropped.size() && dropped[key] && reported.insert(headword).second) {
            LeaveOut(m_report, headword, "its own text would not find it in the index's order");
        }
    }
    const BuildSummary summary = m_writer.Finish(dropped);
    m_report.spans = summary.articles;
    m_report.headwords = summary.headwords;
    m_report.textBytes = summary.textBytes;
    m_report.indexBytes = summary.indexBytes;
    return std::move(m_report);
}

std::vector<DirectionReport>
WriteImportedDirections(const std::vector<ImportedDirection>& directions,
                        const std::filesystem::path& outDir) {
    std::vector<DirectionReport> reports;
    StagedFiles staged(outDir);
    for (const ImportedDirection& direction : directions) {
        DirectionImport writer(direction.language, direction.note, staged);
        for (const ImportedArticle& article : direction.articles) {
            writer.Add(article);
        }
        reports.push_back(writer.Finish());
    }
    staged.Commit();
    return reports;
}

std::vector<DirectionReport> WriteImportedDirections(std::vector<ImportedDirection>&& directions,
                                                     const std::filesystem::path& outDir) {
    std::vector<DirectionReport> reports;
    StagedFiles staged(outDir);
    for (ImportedDirection& direction : directions) {
        DirectionImport writer(direction.language, direction.note, staged);
        for (ImportedArticle& article : direction.articles) {
            writer.Add(article);
            article = ImportedArticle{};
        }
        std::vector<ImportedArticle>().swap(direction.articles);
        reports.push_back(writer.Finish());
    }
    staged.Commit();
    return reports;
}

std::string DescribeDirection(const DirectionReport& report) {
    // Named by the files, since an import may fill a direction with another
    // language's translations.
    std::string text = report.language == Language::Esperanto ? "Esperanto" : "Russian";
    text += std::string(" headwords, ") + FilesOf(report.language).text + ": ";
    text += std::to_string(report.headwords) + " headwords; " + std::to_string(report.entries) +
            " entries written as " + std::to_string(report.spans) + " articles (" +
            std::to_string(report.splitEntries) + " cut into several); text " +
            std::to_string(report.textBytes) + " bytes, index " +
            std::to_string(report.indexBytes) + " bytes\n";
    text += "  characters replaced: " + std::to_string(report.fit.ReplacedCount()) +
            CharacterList(report.fit.MostReplaced(9)) +
            "\n  characters dropped: " + std::to_string(report.fit.DroppedCount()) +
            CharacterList(report.fit.MostDropped(9)) + "\n";
    if (report.leftOutCount > 0) {
        text += "  headwords left out: " + std::to_string(report.leftOutCount) + "\n";
        for (const std::string& why : report.leftOut) {
            text += "    " + why + "\n";
        }
    }
    return text;
}
