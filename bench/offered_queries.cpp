// SPDX-License-Identifier: GPL-2.0-or-later
#include "offered_queries.h"

#include "affix_forms.h"
#include "platform/code_page.h"

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string_view>
#include <tuple>

namespace offered_queries {

using bench_setup::Language;

namespace {

std::string Utf8OfAnsi(std::string_view ansi) {
    return platform::ToUtf8(platform::FromAnsi(ansi));
}

std::string AnsiOfUtf8(std::string_view utf8) {
    const std::string ansi = platform::ToAnsi(platform::FromUtf8(utf8));
    return ansi.find('?') == std::string::npos ? ansi : std::string();
}

bool Letters(std::string_view key) {
    return key.size() >= 4 &&
           std::all_of(key.begin(), key.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// The Russian dictionary's suffix rules, read on the first Russian use,
// whichever language came first.
const bench_data::AffixForms& RussianForms() {
    static const bench_data::AffixForms forms(forms::kSystemRussianDictionary);
    return forms;
}

} // namespace

const forms::FormFinder& Finder() {
    static const forms::FormFinder finder;
    return finder;
}

const std::vector<std::string>& FiringQueries(Language language, std::size_t count, Kind kind) {
    static std::map<std::tuple<Language, std::size_t, Kind>, std::vector<std::string>> cache;
    auto& queries = cache[{language, count, kind}];
    if (!queries.empty()) {
        return queries;
    }
    static const std::vector<std::string> kEndings = {"ojn", "ajn", "on",    "aj",   "as",
                                                      "is",  "u",   "antaj", "itan", "inte"};
    const std::vector<std::string> headwords = bench_setup::Folder(count).Headwords(language);
    const cIndex& index = bench_setup::LoadedIndex(language, count);
    std::mt19937 random(static_cast<unsigned>(count) + static_cast<unsigned>(kind));
    for (std::size_t tries = 0; queries.size() < kQueries && tries < 400 * kQueries; ++tries) {
        const std::string& word = headwords[random() % headwords.size()];
        std::string query;
        if (kind == Kind::Leading && random() % 2 == 0) {
            query = word.substr(0, word.size() - 1);
        } else if (language == Language::Esperanto) {
            if (!Letters(word) || std::string_view("oai").find(word.back()) == std::string::npos) {
                continue;
            }
            const std::string root = word.substr(0, word.size() - 1);
            query = kind != Kind::Affixed ? root + kEndings[random() % kEndings.size()]
                                          : "mal" + root + "eg" + "ul" + "ejojn";
        } else {
            const std::vector<std::string> forms = RussianForms().Forms(Utf8OfAnsi(word));
            if (forms.empty()) {
                continue;
            }
            query = AnsiOfUtf8(forms[random() % forms.size()]);
        }
        const bool esperanto = language == Language::Esperanto;
        const HeadwordRange range = index.FindPrefix(query);
        if (kind == Kind::Leading) {
            if (query.empty() || range.last == range.first ||
                Finder().BaseFormsFirst(index, esperanto, query).lines.empty()) {
                continue;
            }
        } else if (query.empty() || range.last > range.first ||
                   Finder().Offer(index, esperanto, query).lines.empty()) {
            continue;
        }
        queries.push_back(query);
    }
    if (queries.size() < kQueries) {
        queries.clear();
        throw std::runtime_error("too few queries that fire the rule");
    }
    return queries;
}

} // namespace offered_queries
