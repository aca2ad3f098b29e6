// SPDX-License-Identifier: GPL-2.0-or-later
// The index: its loading, the prefix lookup, and the whole path of one
// keystroke in the search window without the widgets.

#include "bench_setup.h"
#include "counting_new.h"
#include "dictbuild/dictionary_direction.h"
#include "lookup/lookup_core.h"
#include "lookup/query_rules.h"
#include "platform/code_page.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

namespace {

using bench_setup::Language;

constexpr std::size_t kQueries = 4096;

Language LanguageArg(const benchmark::State& state) {
    return state.range(1) == 0 ? Language::Russian : Language::Esperanto;
}

std::size_t CountArg(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0));
}

void BothSizesAndLanguages(benchmark::internal::Benchmark* b) {
    for (const std::int64_t count : bench_setup::Sizes()) {
        for (const std::int64_t language : {0, 1}) {
            b->Args({count, language});
        }
    }
    b->ArgNames({"headwords", "eo"});
}

void BM_FindPrefix(benchmark::State& state) {
    const Language language = LanguageArg(state);
    const std::size_t count = CountArg(state);
    const cIndex& index = bench_setup::LoadedIndex(language, count);
    const std::vector<std::string> queries = bench_setup::RandomPrefixes(language, count, kQueries);
    std::size_t q = 0;
    std::uint64_t found = 0;
    for (auto _ : state) {
        const HeadwordRange range = index.FindPrefix(queries[q]);
        benchmark::DoNotOptimize(range);
        found += range.last - range.first;
        q = (q + 1) % queries.size();
    }
    state.counters["matches/query"] =
        benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(language, count));
}
BENCHMARK(BM_FindPrefix)->Apply(BothSizesAndLanguages);

// What the search box holds after a keystroke: the query as typed, x-system
// pairs not yet turned into accented letters, the caret at its end.
std::vector<std::u16string> BoxTexts(const std::vector<std::string>& queries) {
    std::vector<std::u16string> texts;
    for (const std::string& query : queries) {
        texts.push_back(platform::FromAnsi(query));
    }
    return texts;
}

void BM_KeystrokeWithoutWidgets(benchmark::State& state) {
    const std::size_t count = CountArg(state);
    const Language typed = LanguageArg(state);
    const cIndex& ru = bench_setup::LoadedIndex(Language::Russian, count);
    const cIndex& eo = bench_setup::LoadedIndex(Language::Esperanto, count);
    const std::vector<std::u16string> boxes =
        BoxTexts(bench_setup::RandomPrefixes(typed, count, kQueries));
    std::vector<std::u16string> list;
    list.reserve(MAX_LIST_LINES);
    std::size_t q = 0;
    std::uint64_t lines = 0;
    std::uint64_t resultAllocations = 0;
    const std::uint64_t allocationsBefore = bench_alloc::Count();
    for (auto _ : state) {
        // The box is read into an area of its size and converted there.
        const std::u16string& box = boxes[q];
        char16_t area[kMaxBoxUnits];
        const std::size_t read = std::min(box.size(), kMaxBoxUnits);
        std::copy_n(box.data(), read, area);
        std::size_t start = read;
        std::size_t end = read;
        const std::size_t shown = x_to_accented_in_place(area, read, &start, &end);
        benchmark::DoNotOptimize(start + end);
        const std::string query = to_index_key(std::u16string_view(area, shown));
        list.clear();
        if (!query.empty()) {
            const cIndex& index = IsEsperantoQuery(query) ? eo : ru;
            const HeadwordRange range = index.FindPrefix(query);
            for (std::uint32_t p = range.first; p < range.last && p < range.first + MAX_LIST_LINES;
                 ++p) {
                const std::uint64_t before = bench_alloc::Count();
                list.push_back(from_index_key(index.HeadwordText(p)));
                resultAllocations += bench_alloc::Count() - before;
            }
        }
        lines += list.size();
        benchmark::DoNotOptimize(list.data());
        q = (q + 1) % boxes.size();
    }
    const double allocations = static_cast<double>(bench_alloc::Count() - allocationsBefore);
    state.counters["allocs"] = benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
    state.counters["allocs_beyond_list"] = benchmark::Counter(
        allocations - static_cast<double>(resultAllocations), benchmark::Counter::kAvgIterations);
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(typed, count));
}
BENCHMARK(BM_KeystrokeWithoutWidgets)->Apply(BothSizesAndLanguages);

// The lookup core's list for a keystroke, over one dictionary or five. The
// five are the same folder five times: every headword is in all of them, the
// merge's most work per line.
void BM_CoreList(benchmark::State& state) {
    const std::size_t count = CountArg(state);
    const Language typed = LanguageArg(state);
    const auto dictionaries = static_cast<std::size_t>(state.range(2));
    const std::string folder = bench_setup::Folder(count).path + "/";
    std::vector<DictionarySource> sources;
    for (std::size_t d = 0; d < dictionaries; ++d) {
        sources.push_back({"d" + std::to_string(d), folder});
    }
    LookupCore core(std::move(sources));
    const std::vector<std::u16string> boxes =
        BoxTexts(bench_setup::RandomPrefixes(typed, count, kQueries));
    core.List(boxes.front()); // the indexes loaded
    std::size_t q = 0;
    std::uint64_t lines = 0;
    for (auto _ : state) {
        const ListResult list = core.List(boxes[q]);
        lines += list.LineCount();
        benchmark::DoNotOptimize(list.lines.data());
        q = (q + 1) % boxes.size();
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(typed, count) + ", " + std::to_string(dictionaries) +
                   " dictionaries");
}
BENCHMARK(BM_CoreList)->Apply([](benchmark::internal::Benchmark* b) {
    for (const std::int64_t count : bench_setup::Sizes()) {
        for (const std::int64_t language : {0, 1}) {
            for (const std::int64_t dictionaries : {1, 5}) {
                b->Args({count, language, dictionaries});
            }
        }
    }
    b->ArgNames({"headwords", "eo", "dictionaries"});
});

void BM_IndexLoad(benchmark::State& state) {
    const Language language = LanguageArg(state);
    const std::size_t count = CountArg(state);
    const std::string path = bench_setup::Folder(count).IndexPath(language);
    const std::unique_ptr<cIndex> index = MakeIndex(language);
    index->Load(path.c_str()); // into the page cache
    for (auto _ : state) {
        index->Load(path.c_str());
        benchmark::DoNotOptimize(index->Count());
    }
    state.SetLabel(bench_setup::Label(language, count));
}
BENCHMARK(BM_IndexLoad)->Apply(BothSizesAndLanguages)->Unit(benchmark::kMillisecond);

} // namespace
