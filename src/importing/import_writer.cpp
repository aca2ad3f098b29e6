// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/import_writer.h"

#include "articles/provider.h"
#include "importing/article_spans.h"
#include "importing/utf8_points.h"

#include <algorithm>
#include <map>
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

} // namespace

PreparedDirection PrepareDirection(const ImportedDirection& direction) {
    const Language language = direction.language;
    PreparedDirection prepared;
    DirectionReport& report = prepared.report;
    report.language = language;
    report.entries = direction.articles.size();
    prepared.note = SourceForm(language, FitText(direction.note, TextTarget(language), report.fit));

    std::map<std::string, std::size_t> articlesOfKey;
    std::size_t entryNumber = 0;
    for (const ImportedArticle& article : direction.articles) {
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
    report.spans = prepared.articles.size();
    return prepared;
}

std::vector<DirectionReport>
WriteImportedDirections(const std::vector<ImportedDirection>& directions,
                        const std::filesystem::path& outDir) {
    std::vector<DirectionReport> reports;
    std::vector<EncodedDirection> encoded;
    for (const ImportedDirection& direction : directions) {
        PreparedDirection prepared = PrepareDirection(direction);
        encoded.push_back(EncodeDirection(direction.language, prepared.articles, prepared.note));
        DirectionReport& report = prepared.report;
        report.headwords = encoded.back().summary.headwords;
        report.textBytes = encoded.back().summary.textBytes;
        report.indexBytes = encoded.back().summary.indexBytes;
        reports.push_back(std::move(report));
    }
    WriteDirections(encoded, outDir);
    return reports;
}
