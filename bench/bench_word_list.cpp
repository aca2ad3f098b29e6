// SPDX-License-Identifier: GPL-2.0-or-later
// The word list of 10,000 headwords of a generated dictionary (half of each
// language, fewer when the dictionary is smaller): opening it as the window does (the file read,
// the list sorted, the first translation line of each visible row), the first lines of every word,
// and starring a word (kept and saved to the disk, then no longer).

#include "bench_setup.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "text/index_key.h"
#include "wordlist/word_list.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_translation.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using bench_setup::Language;

constexpr std::size_t kWords = 10'000;
// The rows a list shows at once on a tall screen.
constexpr std::size_t kVisibleRows = 40;

std::string ListFile() {
    return bench_setup::CacheRoot() + "/" + wordlist::kWordListFileName;
}

// Every k-th headword of each direction, written as a list file.
void WriteList(const bench_data::DictionaryFolder& folder) {
    wordlist::WordList list(ListFile());
    std::filesystem::remove(ListFile());
    list.Load();
    std::int64_t added = 1765000000;
    for (const Language language : {Language::Esperanto, Language::Russian}) {
        const std::vector<std::string> headwords = folder.Headwords(language);
        const std::size_t step = std::max<std::size_t>(1, headwords.size() / (kWords / 2));
        for (std::size_t i = 0, kept = 0; i < headwords.size() && kept < kWords / 2; i += step) {
            std::string text;
            append_index_key_utf8(text, headwords[i]);
            kept += list.Add(text, language == Language::Esperanto, added++) ? 1 : 0;
        }
    }
    if (!list.Save() || list.Size() == 0) {
        throw std::runtime_error("the benchmark's word list was not written whole");
    }
}

std::size_t WordCount() {
    wordlist::WordList list(ListFile());
    list.Load();
    return list.Size();
}

struct Opened {
    const bench_data::DictionaryFolder& folder;
    LookupCore core;
};

Opened& Open() {
    static Opened opened = [] {
        const bench_data::DictionaryFolder& folder =
            bench_setup::Folder(static_cast<std::size_t>(bench_setup::SmallSize()));
        WriteList(folder);
        return Opened{folder, LookupCore(folder.path + "/")};
    }();
    return opened;
}

void BM_WordListOpen(benchmark::State& state) {
    LookupCore& core = Open().core;
    std::size_t missing = 0;
    for (auto _ : state) {
        wordlist::WordList list(ListFile());
        list.Load();
        const std::vector<std::size_t> rows = list.Sorted(wordlist::SortOrder::Alphabetical);
        missing = 0;
        for (std::size_t r = 0; r < kVisibleRows && r < rows.size(); ++r) {
            missing += wordlist::WordFirstLine(core, list.Words()[rows[r]]) ? 0 : 1;
        }
        benchmark::DoNotOptimize(rows.data());
    }
    if (missing != 0) {
        state.SkipWithError("a kept headword has no translation");
    }
    state.counters["words"] = static_cast<double>(core.Names().empty() ? 0 : WordCount());
}
BENCHMARK(BM_WordListOpen)->Unit(benchmark::kMillisecond);

void BM_WordListAllFirstLines(benchmark::State& state) {
    LookupCore& core = Open().core;
    wordlist::WordList list(ListFile());
    list.Load();
    for (auto _ : state) {
        for (const wordlist::Word& word : list.Words()) {
            benchmark::DoNotOptimize(wordlist::WordFirstLine(core, word));
        }
    }
    state.counters["words"] = static_cast<double>(list.Size());
}
BENCHMARK(BM_WordListAllFirstLines)->Unit(benchmark::kMillisecond);

// One iteration: a word kept and the list saved (read again under the lock,
// merged, written and put on the disk before it replaces the file); letting
// the word go again between iterations is not timed.
void BM_WordListStar(benchmark::State& state) {
    Open();
    wordlist::WordList list(ListFile());
    list.Load();
    for (auto _ : state) {
        list.Add("stelita", true);
        if (!list.Save()) {
            state.SkipWithError("the list was not saved");
            break;
        }
        state.PauseTiming();
        list.Remove("stelita", true);
        list.Save();
        state.ResumeTiming();
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(ListFile()));
}
BENCHMARK(BM_WordListStar)->Unit(benchmark::kMillisecond);

} // namespace
