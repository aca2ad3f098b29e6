// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/import_writer.h"

#include "articles/provider.h"
#include "dictbuild/dictionary_direction.h"
#include "importing/article_spans.h"
#include "importing/utf8_points.h"
#include "index/x_less.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <type_traits>

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

// Keys that the index's prefix lookup would not find by their own text. The
// Esperanto order ignores hyphens, double quotes and full stops, while the
// lookup also wants the key no longer in bytes than a headword it finds; so a
// key with such marks is missed when a key after it begins with its letters
// yet has fewer bytes ("a...b" before "abc"). The Russian order ignores nothing.
std::set<std::string> UnfindableKeys(Language language,
                                     const std::map<std::string, std::size_t>& keys) {
    std::set<std::string> unfindable;
    if (language != Language::Esperanto) {
        return unfindable;
    }
    const x_less order;
    std::vector<std::string_view> sorted;
    for (const auto& [key, count] : keys) {
        sorted.push_back(key);
    }
    std::sort(sorted.begin(), sorted.end(),
              [&](std::string_view a, std::string_view b) { return order.less(a, b); });
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const std::string_view key = sorted[i];
        if (x_less::StrippedLength(key) == key.size()) {
            continue;
        }
        for (std::size_t j = i + 1; j < sorted.size() && order.compare(key, sorted[j]) == 0; ++j) {
            if (sorted[j].size() < key.size()) {
                unfindable.emplace(key);
                break;
            }
        }
    }
    return unfindable;
}

// Takes the unfindable keys out of the articles; an article left without a
// headword goes.
void LeaveOutUnfindable(Language language, const std::set<std::string>& unfindable,
                        PreparedDirection& prepared) {
    std::set<std::string> reported;
    std::vector<SourceArticle> kept;
    for (SourceArticle& article : prepared.articles) {
        std::vector<std::string> headwords{std::move(article.headword)};
        std::move(article.extraHeadwords.begin(), article.extraHeadwords.end(),
                  std::back_inserter(headwords));
        std::erase_if(headwords, [&](const std::string& headword) {
            if (unfindable.count(HeadwordKey(language, headword)) == 0) {
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

// PrepareDirection over the direction's articles; when they are not const,
// each article's storage is given back as soon as it is prepared, so that an
// import of a million entries does not hold their text twice.
template <typename Direction> PreparedDirection Prepare(Direction& direction) {
    const Language language = direction.language;
    PreparedDirection prepared;
    DirectionReport& report = prepared.report;
    report.language = language;
    report.entries = direction.articles.size();
    prepared.note = SourceForm(language, FitText(direction.note, TextTarget(language), report.fit));

    std::map<std::string, std::size_t> articlesOfKey;
    std::size_t entryNumber = 0;
    for (auto& article : direction.articles) {
        ++entryNumber;
        const std::vector<std::string> pieces = SplitIntoSpans(
            language, SourceForm(language, FitText(article.text, TextTarget(language), report.fit)),
            kMaxArticleBytes);

        // The headwords the index can take, each once.
        std::vector<std::string> headwords;
        std::vector<std::string> keys;
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
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
                continue;
            }
            std::size_t& count = articlesOfKey[key];
            if (count + pieces.size() > 255) {
                LeaveOut(report, headword, "more than 255 articles");
                continue;
            }
            count += pieces.size();
            keys.push_back(std::move(key));
            headwords.push_back(std::move(fitted));
        }
        if constexpr (!std::is_const_v<Direction>) {
            article = ImportedArticle{};
        }
        if (headwords.empty() || pieces.empty()) {
            continue;
        }
        if (pieces.size() > 1) {
            ++report.splitEntries;
        }
        for (const std::string& piece : pieces) {
            SourceArticle source;
            source.line = entryNumber;
            source.headword = headwords.front();
            source.text = piece;
            source.extraHeadwords.assign(headwords.begin() + 1, headwords.end());
            prepared.articles.push_back(std::move(source));
        }
    }
    const std::set<std::string> unfindable = UnfindableKeys(language, articlesOfKey);
    if (!unfindable.empty()) {
        LeaveOutUnfindable(language, unfindable, prepared);
    }
    report.spans = prepared.articles.size();
    return prepared;
}

void Encode(Language language, PreparedDirection prepared, std::vector<DirectionReport>& reports,
            std::vector<EncodedDirection>& encoded) {
    encoded.push_back(EncodeDirection(language, prepared.articles, prepared.note));
    DirectionReport& report = prepared.report;
    report.headwords = encoded.back().summary.headwords;
    report.textBytes = encoded.back().summary.textBytes;
    report.indexBytes = encoded.back().summary.indexBytes;
    reports.push_back(std::move(report));
}

} // namespace

PreparedDirection PrepareDirection(const ImportedDirection& direction) {
    return Prepare(direction);
}

std::vector<DirectionReport>
WriteImportedDirections(const std::vector<ImportedDirection>& directions,
                        const std::filesystem::path& outDir) {
    std::vector<DirectionReport> reports;
    std::vector<EncodedDirection> encoded;
    for (const ImportedDirection& direction : directions) {
        Encode(direction.language, Prepare(direction), reports, encoded);
    }
    WriteDirections(encoded, outDir);
    return reports;
}

std::vector<DirectionReport> WriteImportedDirections(std::vector<ImportedDirection>&& directions,
                                                     const std::filesystem::path& outDir) {
    std::vector<DirectionReport> reports;
    std::vector<EncodedDirection> encoded;
    for (ImportedDirection& direction : directions) {
        PreparedDirection prepared = Prepare(direction);
        std::vector<ImportedArticle>().swap(direction.articles);
        Encode(direction.language, std::move(prepared), reports, encoded);
    }
    WriteDirections(encoded, outDir);
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
