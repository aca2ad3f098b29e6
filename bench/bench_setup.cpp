// SPDX-License-Identifier: GPL-2.0-or-later
#include "bench_setup.h"

#include "dictbuild/dictionary_direction.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <random>

namespace bench_setup {
namespace {

// Length in bytes of the first `chars` characters of an x-system word.
std::size_t PrefixBytes(Language language, const std::string& word, std::size_t chars) {
    std::size_t bytes = 0;
    for (std::size_t c = 0; c < chars && bytes < word.size(); ++c) {
        ++bytes;
        if (language == Language::Esperanto && bytes < word.size() &&
            (word[bytes] == 'x' || word[bytes] == 'X')) {
            ++bytes;
        }
    }
    return bytes;
}

} // namespace

std::vector<std::int64_t> Sizes() {
    if (const char* count = std::getenv("KELIMBO_BENCH_HEADWORDS")) {
        return {std::stoll(count)};
    }
    return {kSmall, kLarge};
}

std::int64_t SmallSize() {
    return Sizes().front();
}

std::string CacheRoot() {
    if (const char* root = std::getenv("KELIMBO_BENCH_DATA")) {
        return root;
    }
    return KELIMBO_BENCH_CACHE;
}

const bench_data::DictionaryFolder& Folder(std::size_t count) {
    static std::map<std::size_t, bench_data::DictionaryFolder> folders;
    auto it = folders.find(count);
    if (it == folders.end()) {
        it = folders.emplace(count, bench_data::EnsureDictionary(CacheRoot(), count)).first;
    }
    return it->second;
}

const cIndex& LoadedIndex(Language language, std::size_t count) {
    static std::map<std::pair<Language, std::size_t>, std::unique_ptr<cIndex>> indexes;
    auto& index = indexes[{language, count}];
    if (!index) {
        index = MakeIndex(language);
        index->Load(Folder(count).IndexPath(language).c_str());
    }
    return *index;
}

std::vector<std::string> RandomPrefixes(Language language, std::size_t count, std::size_t n) {
    const std::vector<std::string> headwords = Folder(count).Headwords(language);
    const cIndex& index = LoadedIndex(language, count);
    std::mt19937 random(static_cast<unsigned>(count) + (language == Language::Russian ? 0 : 1));
    std::vector<std::string> queries;
    queries.reserve(n);
    while (queries.size() < n) {
        const std::string& word = headwords[random() % headwords.size()];
        std::string query = word.substr(0, PrefixBytes(language, word, 1 + random() % 8));
        if (queries.size() % 8 == 7) {
            // A miss: the prefix made to continue in a way no headword does.
            query = query.substr(0, PrefixBytes(language, query, 5)) + "qjq";
            if (index.FindPrefix(query).last != 0) {
                continue;
            }
        }
        queries.push_back(std::move(query));
    }
    return queries;
}

std::string Label(Language language, std::size_t count) {
    return std::string(language == Language::Russian ? "ru/" : "eo/") + std::to_string(count);
}

} // namespace bench_setup
