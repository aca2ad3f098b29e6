// SPDX-License-Identifier: GPL-2.0-or-later
// The offered lines: a query that finds no headword, its base forms looked up.
// The queries are inflected forms of the generated dictionary's own headwords
// that no headword begins with and that offer at least one line.

#include "bench_setup.h"
#include "forms/offered_lines.h"
#include "offered_queries.h"
#include "platform/code_page.h"
#include "lookup/query_rules.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using bench_setup::Language;
using offered_queries::Finder;
using offered_queries::FiringQueries;
using offered_queries::Kind;

Language LanguageArg(const benchmark::State& state) {
    return state.range(1) == 0 ? Language::Russian : Language::Esperanto;
}

void Args(benchmark::internal::Benchmark* b) {
    for (const std::int64_t count : bench_setup::Sizes()) {
        b->Args({count, 0, 0});
        b->Args({count, 1, 0});
        b->Args({count, 1, 1});
    }
    b->ArgNames({"headwords", "eo", "affixed"});
}

void Label(benchmark::State& state, std::size_t lines, std::size_t forms) {
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.counters["base_forms"] =
        benchmark::Counter(static_cast<double>(forms), benchmark::Counter::kAvgIterations);
    state.SetLabel(
        bench_setup::Label(LanguageArg(state), static_cast<std::size_t>(state.range(0))) +
        (state.range(2) != 0 ? " affixed" : ""));
}

void BM_OfferedLines(benchmark::State& state) {
    const Language language = LanguageArg(state);
    const auto count = static_cast<std::size_t>(state.range(0));
    const cIndex& index = bench_setup::LoadedIndex(language, count);
    const std::vector<std::string> queries =
        FiringQueries(language, count, state.range(2) != 0 ? Kind::Affixed : Kind::Inflected);
    std::size_t q = 0, lines = 0, forms = 0;
    for (auto _ : state) {
        const forms::Offered offered =
            Finder().Offer(index, language == Language::Esperanto, queries[q]);
        lines += offered.lines.size();
        forms += offered.forms.size();
        benchmark::DoNotOptimize(offered.lines.data());
        q = (q + 1) % queries.size();
    }
    Label(state, lines, forms);
}
BENCHMARK(BM_OfferedLines)->Apply(Args);

// The keystroke path of the search window without the widgets, when the rule
// fires: the box converted, the query made, the language rule, the empty
// lookup, the offered lines, and the list lines made from them.
void BM_KeystrokeOffered(benchmark::State& state) {
    const Language language = LanguageArg(state);
    const auto count = static_cast<std::size_t>(state.range(0));
    const cIndex& ru = bench_setup::LoadedIndex(Language::Russian, count);
    const cIndex& eo = bench_setup::LoadedIndex(Language::Esperanto, count);
    std::vector<std::u16string> boxes;
    for (const std::string& query :
         FiringQueries(language, count, state.range(2) != 0 ? Kind::Affixed : Kind::Inflected)) {
        boxes.push_back(from_index_key(query)); // as typed: accented letters
    }
    std::vector<std::u16string> list;
    list.reserve(MAX_LIST_LINES);
    std::size_t q = 0, lines = 0, forms = 0;
    for (auto _ : state) {
        char16_t area[256];
        const std::size_t read = std::min<std::size_t>(boxes[q].size(), 255);
        std::copy_n(boxes[q].data(), read, area);
        std::size_t start = read, end = read;
        const std::size_t shown = x_to_accented_in_place(area, read, &start, &end);
        const std::string query = to_index_key(std::u16string_view(area, shown));
        const bool esperanto = IsEsperantoQuery(query);
        const cIndex& index = esperanto ? eo : ru;
        list.clear();
        const HeadwordRange range = index.FindPrefix(query);
        if (range.last == range.first) {
            const forms::Offered offered = Finder().Offer(index, esperanto, query);
            for (const forms::OfferedLine& line : offered.lines) {
                list.push_back(from_index_key(index.HeadwordText(line.position)));
            }
            forms += offered.forms.size();
        }
        lines += list.size();
        benchmark::DoNotOptimize(list.data());
        q = (q + 1) % boxes.size();
    }
    Label(state, lines, forms);
}
BENCHMARK(BM_KeystrokeOffered)->Apply(Args);

// The first Russian query that needs base forms in a running program: a new
// finder, so the Hunspell dictionary is read inside the timed call (its files
// are in the page cache after the first iteration).
void BM_FirstRussianOffer(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const cIndex& index = bench_setup::LoadedIndex(Language::Russian, count);
    const std::vector<std::string> queries =
        FiringQueries(Language::Russian, count, Kind::Inflected);
    std::size_t q = 0, lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto finder = std::make_unique<forms::FormFinder>();
        state.ResumeTiming();
        lines += finder->Offer(index, false, queries[q]).lines.size();
        state.PauseTiming();
        finder.reset();
        state.ResumeTiming();
        q = (q + 1) % queries.size();
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(Language::Russian, count));
}
// At the largest size only.
BENCHMARK(BM_FirstRussianOffer)
    ->Apply([](benchmark::internal::Benchmark* b) { b->Arg(bench_setup::Sizes().back()); })
    ->ArgName("headwords")
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

} // namespace
