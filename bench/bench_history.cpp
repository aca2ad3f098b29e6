// SPDX-License-Identifier: GPL-2.0-or-later
// The history file: Save and Load of the largest history the file can hold,
// 255 entries of 255 references and 255 query units each.

#include "bench_setup.h"
#include "history/history.h"
#include "history/history_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using bench_setup::Language;

constexpr std::size_t kLimit = kMaxStoredCount;

cHistory LargestHistory(const bench_data::DictionaryFolder& folder, const std::string& file) {
    cHistory history;
    history.historyPath = file;
    history.eoTextPath = folder.TextPath(Language::Esperanto);
    history.ruTextPath = folder.TextPath(Language::Russian);
    for (std::size_t e = 0; e < kLimit; ++e) {
        HistoryEntry entry;
        for (std::size_t r = 0; r < kLimit; ++r) {
            const auto start = static_cast<std::uint32_t>(e * 100000 + r * 300);
            entry.refs.push_back({start, start + 250});
        }
        for (std::size_t u = 0; u < kLimit; ++u) {
            entry.query.push_back(static_cast<char16_t>(u'\u0430' + (e + u) % 32));
        }
        entry.isEsperanto = e % 2 == 1;
        history.entries.push_back(std::move(entry));
    }
    history.cursor = static_cast<std::int32_t>(kLimit / 2);
    return history;
}

std::string HistoryFile() {
    return bench_setup::CacheRoot() + "/" + kHistoryFileName;
}

void BM_HistorySave(benchmark::State& state) {
    const bench_data::DictionaryFolder& folder =
        bench_setup::Folder(static_cast<std::size_t>(bench_setup::SmallSize()));
    cHistory history = LargestHistory(folder, HistoryFile());
    for (auto _ : state) {
        history.Save();
    }
    state.counters["file_bytes"] =
        static_cast<double>(std::filesystem::file_size(history.historyPath));
}
BENCHMARK(BM_HistorySave)->Unit(benchmark::kMicrosecond);

void BM_HistoryLoad(benchmark::State& state) {
    const bench_data::DictionaryFolder& folder =
        bench_setup::Folder(static_cast<std::size_t>(bench_setup::SmallSize()));
    const cHistory saved = LargestHistory(folder, HistoryFile());
    cHistory written = LargestHistory(folder, HistoryFile());
    written.Save();
    const std::string eo = folder.TextPath(Language::Esperanto);
    const std::string ru = folder.TextPath(Language::Russian);
    std::size_t entries = 0;
    for (auto _ : state) {
        cHistory history;
        history.Load(HistoryFile().c_str(), eo.c_str(), ru.c_str());
        entries = history.entries.size();
        benchmark::DoNotOptimize(history.cursor);
    }
    if (entries != saved.entries.size()) {
        state.SkipWithError("the history did not load whole");
    }
}
BENCHMARK(BM_HistoryLoad)->Unit(benchmark::kMicrosecond);

} // namespace
