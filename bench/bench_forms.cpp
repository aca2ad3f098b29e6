// SPDX-License-Identifier: GPL-2.0-or-later
// The offered lines: a query that finds no headword, its base forms looked up.
// The queries are inflected forms of the generated dictionary's own headwords
// that no headword begins with and that offer at least one line.

#include "affix_forms.h"
#include "bench_setup.h"
#include "forms/offered_lines.h"
#include "platform/code_page.h"
#include "query/query_rules.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>

namespace {

using bench_setup::Language;

constexpr std::size_t kQueries = 1024;

enum class Kind {
    Inflected, // an ending on a headword: found by the first rules
    Affixed,   // affixes around an Esperanto root: found only by splitting them off
};

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

const forms::FormFinder& Finder() {
    static const forms::FormFinder finder;
    return finder;
}

// Inflected forms made from random headwords, kept when they fire the rule.
std::vector<std::string> FiringQueries(Language language, std::size_t count, Kind kind) {
    static std::map<std::tuple<Language, std::size_t, Kind>, std::vector<std::string>> cache;
    auto& queries = cache[{language, count, kind}];
    if (!queries.empty()) {
        return queries;
    }
    static const std::vector<std::string> kEndings = {"ojn", "ajn", "on",    "aj",   "as",
                                                      "is",  "u",   "antaj", "itan", "inte"};
    static const std::unique_ptr<bench_data::AffixForms> russian =
        language == Language::Russian
            ? std::make_unique<bench_data::AffixForms>(forms::kSystemRussianDictionary)
            : nullptr;
    const std::vector<std::string> headwords = bench_setup::Folder(count).Headwords(language);
    const cIndex& index = bench_setup::LoadedIndex(language, count);
    std::mt19937 random(static_cast<unsigned>(count) + static_cast<unsigned>(kind));
    for (std::size_t tries = 0; queries.size() < kQueries && tries < 400 * kQueries; ++tries) {
        const std::string& word = headwords[random() % headwords.size()];
        std::string query;
        if (language == Language::Esperanto) {
            if (!Letters(word) || std::string_view("oai").find(word.back()) == std::string::npos) {
                continue;
            }
            const std::string root = word.substr(0, word.size() - 1);
            query = kind == Kind::Inflected ? root + kEndings[random() % kEndings.size()]
                                            : "mal" + root + "eg" + "ul" + "ejojn";
        } else {
            const std::vector<std::string> forms = russian->Forms(Utf8OfAnsi(word));
            if (forms.empty()) {
                continue;
            }
            query = AnsiOfUtf8(forms[random() % forms.size()]);
        }
        const HeadwordRange range = index.FindPrefix(query);
        if (query.empty() || range.last > range.first ||
            Finder().Offer(index, language == Language::Esperanto, query).lines.empty()) {
            continue;
        }
        queries.push_back(query);
    }
    if (queries.size() < kQueries) {
        throw std::runtime_error("too few queries that fire the rule");
    }
    return queries;
}

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
