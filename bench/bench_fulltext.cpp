// SPDX-License-Identifier: GPL-2.0-or-later
// The full-text index on a real dictionary folder (KELIMBO_FULLTEXT_DIR: one
// holding the Esperanto–Russian direction, e.g. kelimbo-index revo's output
// or the generated 1M dictionary; the folder is only read): the build rate,
// the index's size beside the text, and the first page of a search, snippets
// included, for one word, two words of one article, and a common word (the
// top 1 % of words by the articles that hold them).
#include "articles/dictionary_files.h"
#include "forms/russian_analyser.h"
#include "fulltext/index_file.h"
#include "fulltext/words.h"
#include "index/language_indexes.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path Folder() {
    const char* given = std::getenv("KELIMBO_FULLTEXT_DIR");
    if (given == nullptr || !fs::exists(fs::path(given) / kEsperantoFiles.index)) {
        throw std::runtime_error("set KELIMBO_FULLTEXT_DIR to a dictionary folder");
    }
    return given;
}

// A folder of links to the dictionary's files, where the index is written.
struct Work {
    Work() : source(Folder()), folder(fs::temp_directory_path() / "kelimbo-bench-fulltext") {
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const char* file : {kEsperantoFiles.text, kEsperantoFiles.index}) {
            fs::create_symlink(fs::absolute(source / file), folder / file);
        }
    }
    ~Work() { fs::remove_all(folder); }
    std::string Path(const char* file) const { return (folder / file).string(); }
    fs::path source;
    fs::path folder;
};

Work& TheWork() {
    static Work work;
    return work;
}

void WriteIndex(const Work& work, fulltext::BuildSummary* summary) {
    const forms::RussianAnalyser analyser;
    const fulltext::BuildSummary made =
        fulltext::WriteIndex(work.Path(kEsperantoFiles.text), work.Path(kEsperantoFiles.index),
                             work.Path(kEsperantoFiles.fulltext), true, analyser);
    if (summary != nullptr) {
        *summary = made;
    }
}

void BM_FullTextBuild(benchmark::State& state) {
    const Work& work = TheWork();
    fulltext::BuildSummary summary;
    for (auto _ : state) {
        WriteIndex(work, &summary);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(summary.textBytes) * state.iterations());
    state.counters["text_MB"] = static_cast<double>(summary.textBytes) / 1e6;
    state.counters["index_MB"] = static_cast<double>(summary.indexBytes) / 1e6;
    state.counters["index_to_text"] =
        static_cast<double>(summary.indexBytes) /
        static_cast<double>(fs::file_size(work.source / kEsperantoFiles.text));
}
BENCHMARK(BM_FullTextBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

struct Queries {
    std::vector<std::u16string> one, two, common;
};

// Words by the entries that hold them, from a sample of the articles.
Queries ChooseQueries(const fs::path& folder) {
    cIndexEo index;
    index.Load((folder / kEsperantoFiles.index).string().c_str());
    std::ifstream in(folder / kEsperantoFiles.text, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::unordered_map<std::string, std::size_t> frequency;
    std::vector<std::vector<std::string>> sample;
    const std::uint32_t step = std::max<std::uint32_t>(1, index.Count() / 20000);
    for (std::uint32_t i = 0; i < index.Count(); i += step) {
        std::vector<std::string> words;
        for (const ArticleRef& ref : index.GetRefs(i)) {
            if (ref.end > text.size() || ref.end < ref.start || ref.end - ref.start > 2048) {
                continue;
            }
            fulltext::ForEachWord(
                platform::FromAnsi(std::string_view(text).substr(ref.start, ref.end - ref.start)),
                [&](std::size_t, std::size_t, const std::string& key) { words.push_back(key); });
        }
        std::vector<std::string> distinct(words);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        for (const std::string& word : distinct) {
            ++frequency[word];
        }
        sample.push_back(std::move(words));
    }
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const auto& [word, count] : frequency) {
        ranked.emplace_back(count, word);
    }
    std::sort(ranked.rbegin(), ranked.rend());
    const auto query = [](const std::string& key) { return platform::FromUtf8(key); };
    Queries queries;
    std::mt19937 random(27);
    const std::size_t top = std::max<std::size_t>(1, ranked.size() / 100);
    std::vector<std::string> middle;
    for (const auto& [count, word] : ranked) {
        if (count >= 3 && count <= 300 && word.size() >= 4) {
            middle.push_back(word);
        }
    }
    for (int k = 0; k < 64; ++k) {
        queries.common.push_back(query(ranked[random() % top].second));
        if (!middle.empty()) {
            queries.one.push_back(query(middle[random() % middle.size()]));
        }
    }
    for (int tries = 0; queries.two.size() < 64 && tries < 100000; ++tries) {
        const auto& words = sample[random() % sample.size()];
        if (words.size() < 4) {
            continue;
        }
        const std::string& a = words[random() % words.size()];
        const std::string& b = words[random() % words.size()];
        if (a != b && frequency[a] >= 3 && frequency[b] >= 3) {
            queries.two.push_back(query(a) + u" " + query(b));
        }
    }
    return queries;
}

struct Searching {
    Searching() {
        Work& work = TheWork();
        if (!fs::exists(work.folder / kEsperantoFiles.fulltext)) {
            WriteIndex(work, nullptr);
        }
        queries = ChooseQueries(work.source);
        core.Open({DictionarySource{"bench", work.folder.string() + "/", false, true}});
    }
    LookupCore core;
    Queries queries;
};

Searching& TheSearch() {
    static Searching searching;
    return searching;
}

void FirstPages(benchmark::State& state, const std::vector<std::u16string>& queries) {
    Searching& searching = TheSearch();
    std::size_t k = 0;
    std::size_t hits = 0;
    // Each query's own time, for the median the figures give.
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const FullTextPage page =
            searching.core.FullText().Search(queries[k++ % queries.size()], 0);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (!page.problems.empty()) {
            state.SkipWithError(page.problems.front().message.c_str());
            return;
        }
        hits += page.hits.size();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times.empty() ? 0 : times[times.size() / 2];
    state.counters["hits_per_page"] =
        static_cast<double>(hits) / static_cast<double>(state.iterations());
}

void BM_FullTextOneWord(benchmark::State& state) {
    FirstPages(state, TheSearch().queries.one);
}
void BM_FullTextTwoWords(benchmark::State& state) {
    FirstPages(state, TheSearch().queries.two);
}
void BM_FullTextCommonWord(benchmark::State& state) {
    FirstPages(state, TheSearch().queries.common);
}
BENCHMARK(BM_FullTextOneWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTextTwoWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTextCommonWord)->Unit(benchmark::kMillisecond);

} // namespace
