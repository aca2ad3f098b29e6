// SPDX-License-Identifier: GPL-2.0-or-later
#include "bench_dictionary.h"

#include "article_pool.h"
#include "dictbuild/dictionary_direction.h"
#include "index/index_writer.h"
#include "index/my_less.h"
#include "index/x_less.h"
#include "word_lists.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace bench_data {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCompleteMark = "complete";

const char* Tag(Language language) {
    return language == Language::Russian ? "ru" : "eo";
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// 1-3 consecutive articles of the pool per headword, picked by a seeded draw.
std::vector<HeadwordSource> WithReferences(std::vector<std::string> headwords,
                                           const std::vector<ArticleRef>& articles) {
    std::mt19937 random(7);
    std::vector<HeadwordSource> sources;
    sources.reserve(headwords.size());
    for (std::string& text : headwords) {
        const std::size_t first = random() % (articles.size() - 3);
        const std::size_t count = 1 + random() % 3;
        sources.push_back(
            {std::move(text),
             std::vector<ArticleRef>(articles.begin() + first, articles.begin() + first + count)});
    }
    return sources;
}

void Generate(const DictionaryFolder& folder, std::size_t count) {
    std::vector<std::string> ruWords = RussianWords();
    std::vector<std::string> eoWords = EsperantoWords();
    Shuffle(ruWords, 1);
    Shuffle(eoWords, 2);
    for (const Language language : {Language::Russian, Language::Esperanto}) {
        const bool russian = language == Language::Russian;
        const ArticlePool pool = BuildArticlePool(language, ruWords, eoWords);
        WriteFile(folder.TextPath(language), pool.text.data(), pool.text.size());

        std::vector<ArticleRef> longArticles;
        for (std::size_t i = 0; i < pool.articles.size(); i += kLongArticleEvery) {
            longArticles.push_back(pool.articles[i]);
        }
        WriteFile(folder.path + "/long_articles_" + Tag(language) + ".bin", longArticles.data(),
                  longArticles.size() * sizeof(ArticleRef));

        std::vector<std::string> headwords =
            DeriveHeadwords(language, russian ? ruWords : eoWords, count);
        std::string list;
        for (const std::string& headword : headwords) {
            list += headword + '\n';
        }
        WriteFile(folder.path + "/headwords_" + Tag(language) + ".txt", list.data(), list.size());

        const std::vector<HeadwordSource> sources =
            WithReferences(std::move(headwords), pool.articles);
        // Bound to its text, as the index tool writes it, so that a start
        // checks the text as it does the user's.
        const bsi::TextIdentity identity = bsi::IdentityOf(pool.text);
        if (russian) {
            WriteIndexFile(folder.IndexPath(language).c_str(), my_less{}, sources,
                           kDefaultBlockOrder, identity);
        } else {
            WriteIndexFile(folder.IndexPath(language).c_str(), x_less{}, sources,
                           kDefaultBlockOrder, identity);
        }
    }
    WriteFile(folder.path + "/" + kCompleteMark, "", 0);
}

} // namespace

std::string DictionaryFolder::IndexPath(Language language) const {
    return path + "/" + FilesOf(language).index;
}

std::string DictionaryFolder::TextPath(Language language) const {
    return path + "/" + FilesOf(language).text;
}

std::vector<ArticleRef> DictionaryFolder::LongArticles(Language language) const {
    const std::string bytes = ReadFile(path + "/long_articles_" + Tag(language) + ".bin");
    std::vector<ArticleRef> refs(bytes.size() / sizeof(ArticleRef));
    std::copy(bytes.begin(),
              bytes.begin() + static_cast<std::ptrdiff_t>(refs.size() * sizeof(ArticleRef)),
              reinterpret_cast<char*>(refs.data()));
    return refs;
}

std::vector<std::string> DictionaryFolder::Headwords(Language language) const {
    std::ifstream in(path + "/headwords_" + Tag(language) + ".txt", std::ios::binary);
    std::vector<std::string> headwords;
    std::string line;
    while (std::getline(in, line)) {
        headwords.push_back(line);
    }
    return headwords;
}

DictionaryFolder EnsureDictionary(const std::string& cacheRoot, std::size_t count) {
    DictionaryFolder folder{cacheRoot + "/" + std::to_string(count)};
    if (!fs::exists(folder.path + "/" + kCompleteMark)) {
        fs::create_directories(folder.path);
        Generate(folder, count);
    }
    return folder;
}

} // namespace bench_data
