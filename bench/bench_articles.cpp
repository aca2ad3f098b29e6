// SPDX-License-Identifier: GPL-2.0-or-later
// The article providers: GetArticles of 1 and of 10 articles of about 2 KB.

#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "bench_setup.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using bench_setup::Language;

void BM_GetArticles(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Language language = state.range(1) == 0 ? Language::Russian : Language::Esperanto;
    const auto articles = static_cast<std::size_t>(state.range(2));
    const bench_data::DictionaryFolder& folder = bench_setup::Folder(count);
    std::unique_ptr<cKelimboProv> provider;
    if (language == Language::Russian) {
        provider = std::make_unique<cKelimboProvRu>();
    } else {
        provider = std::make_unique<cKelimboProvEo>();
    }
    provider->path = folder.TextPath(language);
    const std::vector<ArticleRef> longArticles = folder.LongArticles(language);

    // Successive calls read different articles, as a reader going from one
    // headword to the next would.
    std::size_t next = 0;
    std::u16string out;
    std::uint64_t bytes = 0;
    std::uint64_t units = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ArticleRef> refs;
        for (std::size_t k = 0; k < articles; ++k) {
            refs.push_back(longArticles[next]);
            bytes += longArticles[next].end - longArticles[next].start;
            next = (next + 1) % longArticles.size();
        }
        state.ResumeTiming();
        provider->GetArticles(out, refs);
        units += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes/article"] =
        benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(articles),
                           benchmark::Counter::kAvgIterations);
    state.counters["units_shown"] =
        benchmark::Counter(static_cast<double>(units), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(language, count));
}
BENCHMARK(BM_GetArticles)
    ->ArgsProduct({bench_setup::Sizes(), {0, 1}, {1, 10}})
    ->ArgNames({"headwords", "eo", "refs"})
    ->Unit(benchmark::kMicrosecond);

} // namespace
