// SPDX-License-Identifier: GPL-2.0-or-later
// The real main window, offscreen: one OnSearchChange from the box's new text
// to the filled list (with the range's headwords, or with the offered lines of
// base forms; also while a full-text search runs), start-up to the shown
// window, and the word list opened and starred, on the generated
// dictionaries. Runs the application object as the program does, with the
// modal loop taken over by the benchmark.
//
//   kelimbo-bench-window [Google Benchmark options]
//   kelimbo-bench-window --start-once FOLDER   start up on FOLDER, exit once the window shows
//   kelimbo-bench-window --start-timed FOLDER  the same, printing the in-process time from
//                                              the start of the run to the shown window
//                                              (as BM_StartUpToWindow times it), in ms

#include "app/kelimbo_app.h"
#include "bench_setup.h"
#include "framework/test_hooks.h"
#include "lookup/fulltext_search.h"
#include "offered_queries.h"
#include "platform/code_page.h"
#include "text/index_key.h"
#include "ui/kelimbo_dlg.h"
#include "ui/legilo_dlg.h"
#include "ui/program_objects.h"
#include "ui/resource_ids.h"
#include "ui/word_list_view.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench_setup::Language;
using Clock = std::chrono::steady_clock;

// The program's path inside a dictionary folder: start-up finds the files beside it.
std::string ProgramIn(const std::string& folder) {
    return folder + "/kelimbo";
}

// Runs the program on `folder` with `drive` in place of the modal loop; false
// when start-up reported an error.
bool RunWindow(const std::string& folder,
               const std::function<void(CKelimboDlg&, ProgramObjects&)>& drive) {
    fw::testing::MessageBoxCapture boxes;
    ProgramObjects objects;
    fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
        auto& dlg = dynamic_cast<CKelimboDlg&>(d);
        drive(dlg, objects);
        dlg.EndDialog(fw::IDOK);
    });
    CKelimboApp app;
    app.Run(objects, ProgramIn(folder));
    return boxes.Calls().empty();
}

std::vector<std::u16string> BoxTexts(Language language, std::size_t count) {
    std::vector<std::u16string> texts;
    for (const std::string& query : bench_setup::RandomPrefixes(language, count, 1024)) {
        texts.push_back(platform::FromAnsi(query));
    }
    return texts;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Puts a text in the search box without its notification: the benchmark
// times the notification's work itself.
void SetBoxQuietly(CKelimboDlg& dlg, const std::u16string& text) {
    dlg.m_updating = true;
    dlg.GetEdit(IDC_SEARCH).SetWindowText(text);
    dlg.m_updating = false;
}

// Each iteration: the box given the next text quietly (untimed), then one
// OnSearchChange, from the text change to the filled list.
void TypeEach(benchmark::State& state, CKelimboDlg& dlg, const std::vector<std::u16string>& boxes,
              std::uint64_t& lines) {
    std::size_t q = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The box holds the keystroke's text when it notifies.
        SetBoxQuietly(dlg, boxes[q]);
        q = (q + 1) % boxes.size();
        state.ResumeTiming();
        dlg.OnSearchChange();
        state.PauseTiming();
        lines += static_cast<std::uint64_t>(dlg.m_list.GetCount());
        state.ResumeTiming();
    }
}

// The real window on the generated folder of COUNT headwords, each iteration
// one text of BOXES typed (TypeEach); the lines filled per keystroke are a
// counter. Queries that find no headword may need base forms, so the Russian
// dictionary and analyser are read before the timing starts, as a running
// program has them after its first such query.
void TypeInWindow(benchmark::State& state, std::size_t count,
                  const std::vector<std::u16string>& boxes, const std::string& label,
                  const std::string& folder = {}) {
    std::uint64_t lines = 0;
    const bool started = RunWindow(folder.empty() ? bench_setup::Folder(count).path : folder,
                                   [&](CKelimboDlg& dlg, ProgramObjects& objects) {
                                       objects.lookup.Forms().Russian().Stems("a");
                                       // "дом" in Windows-1251
                                       objects.lookup.Forms().Analyser().Lemmas("\xe4\xee\xec");
                                       TypeEach(state, dlg, boxes, lines);
                                   });
    if (!started) {
        state.SkipWithError("the program did not start on the dictionary");
        return;
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.SetLabel(label);
}

void BM_WindowKeystroke(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Language language = state.range(1) == 0 ? Language::Russian : Language::Esperanto;
    const std::vector<std::u16string> boxes = BoxTexts(language, count);
    TypeInWindow(state, count, boxes, bench_setup::Label(language, count));
}
BENCHMARK(BM_WindowKeystroke)
    ->ArgsProduct({bench_setup::Sizes(), {0, 1}})
    ->ArgNames({"headwords", "eo"})
    ->Unit(benchmark::kMicrosecond);

// The generated folder of COUNT headwords five times over: its own pair and
// four added dictionaries whose files are links to the same files, so that
// every headword is in all five. Made beside it on first use.
std::string FiveDictionaries(std::size_t count) {
    namespace fs = std::filesystem;
    const fs::path one = fs::absolute(bench_setup::Folder(count).path);
    const fs::path five = one.parent_path() / (one.filename().string() + "-five");
    const char* const files[] = {"EoRu_kelimbo.txt", "EoRu_kelimbo.bsi",
                                 "tarnesk_rusa_esperanto.txt", "tarnesk_rusa_esperanto.bsi"};
    fs::remove_all(five);
    for (const char* added :
         {"", "dictionaries/d2", "dictionaries/d3", "dictionaries/d4", "dictionaries/d5"}) {
        fs::create_directories(five / added);
        for (const char* file : files) {
            fs::create_symlink(one / file, five / added / file);
        }
    }
    return five.string();
}

// BM_WindowKeystroke over five dictionaries: each keystroke's list merged from all five.
void BM_WindowKeystrokeFive(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Language language = state.range(1) == 0 ? Language::Russian : Language::Esperanto;
    const std::vector<std::u16string> boxes = BoxTexts(language, count);
    TypeInWindow(state, count, boxes, bench_setup::Label(language, count) + ", 5 dictionaries",
                 FiveDictionaries(count));
}
BENCHMARK(BM_WindowKeystrokeFive)
    ->ArgsProduct({bench_setup::Sizes(), {0, 1}})
    ->ArgNames({"headwords", "eo"})
    ->Unit(benchmark::kMicrosecond);
// The keystroke when the rule fires: the box given an inflected form that no
// headword begins with (typed with accented letters), then one OnSearchChange,
// which finds the empty range and fills the list with the offered lines; kind
// 2, a query that is no headword but begins some, the offered lines then the
// prefix lines. The Russian dictionary is read before the timing starts.
void BM_WindowKeystrokeOffered(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Language language = state.range(1) == 0 ? Language::Russian : Language::Esperanto;
    const offered_queries::Kind kind = static_cast<offered_queries::Kind>(state.range(2));
    std::vector<std::u16string> boxes;
    for (const std::string& query : offered_queries::FiringQueries(language, count, kind)) {
        boxes.push_back(from_index_key(query));
    }
    const char* kinds[] = {"", " affixed", " leading"};
    TypeInWindow(state, count, boxes,
                 bench_setup::Label(language, count) + kinds[static_cast<int>(kind)]);
}
BENCHMARK(BM_WindowKeystrokeOffered)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (const std::int64_t count : bench_setup::Sizes()) {
            b->Args({count, 0, 0});
            b->Args({count, 1, 0});
            b->Args({count, 1, 1});
            b->Args({count, 0, 2});
            b->Args({count, 1, 2});
        }
    })
    ->ArgNames({"headwords", "eo", "kind"})
    ->Unit(benchmark::kMicrosecond);

// The first Russian keystroke that fires the rule in a fresh run: the program
// started (untimed), then one OnSearchChange, timed on a steady clock, which
// reads the morphological analyser (and the Hunspell dictionary when the
// analyser does not know the word; both in the page cache after the first
// iteration) and fills the list. Fails when start-up has already read either.
void BM_WindowFirstRussianOffer(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<std::string>& queries =
        offered_queries::FiringQueries(Language::Russian, count, offered_queries::Kind::Inflected);
    std::size_t q = 0;
    std::uint64_t lines = 0;
    std::uint64_t analysed = 0; // the runs whose timed call read the analyser
    double cpu = 0;
    for (auto _ : state) {
        bool loadedAtStart = false;
        Clock::duration took{};
        const bool started = RunWindow(
            bench_setup::Folder(count).path, [&](CKelimboDlg& dlg, ProgramObjects& objects) {
                loadedAtStart = objects.lookup.Forms().Russian().Loaded() ||
                                objects.lookup.Forms().Analyser().Loaded();
                SetBoxQuietly(dlg, platform::FromAnsi(queries[q]));
                const auto start = Clock::now();
                const double cpuStart = ThreadCpuSeconds();
                dlg.OnSearchChange();
                cpu += ThreadCpuSeconds() - cpuStart;
                took = Clock::now() - start;
                lines += static_cast<std::uint64_t>(dlg.m_list.GetCount());
                analysed += objects.lookup.Forms().Analyser().Loaded() ? 1 : 0;
            });
        if (!started || loadedAtStart) {
            state.SkipWithError(started ? "start-up read the Russian dictionary or analyser"
                                        : "the program did not start on the dictionary");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        q = (q + 1) % queries.size();
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    // The timed call's own CPU time, which a loaded machine inflates less than the wall time.
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
    state.counters["analyser_read"] =
        benchmark::Counter(static_cast<double>(analysed), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(Language::Russian, count));
}
// At the largest size only.
BENCHMARK(BM_WindowFirstRussianOffer)
    ->Apply([](benchmark::internal::Benchmark* b) { b->Arg(bench_setup::Sizes().back()); })
    ->ArgName("headwords")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// The most frequent word of four letters or more in the articles of the
// first lines of `boxes`: a query whose full-text search has many results.
std::u16string CommonWord(LookupCore& lookup, const std::vector<std::u16string>& boxes) {
    auto letter = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
               (c >= u'\u0100' && c <= u'\u017F') || (c >= u'\u0400' && c <= u'\u04FF');
    };
    std::map<std::u16string, int> counts;
    for (std::size_t k = 0; k < boxes.size() && k < 64; ++k) {
        const ListResult listed = lookup.List(boxes[k]);
        if (listed.LineCount() == 0) {
            continue;
        }
        const std::u16string text = lookup.Article(listed, 0);
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && letter(text[i])) {
                continue;
            }
            if (i - start >= 4) {
                ++counts[text.substr(start, i - start)];
            }
            start = i + 1;
        }
    }
    std::u16string best;
    int most = 0;
    for (const auto& [word, count] : counts) {
        if (count > most) {
            best = word;
            most = count;
        }
    }
    return best;
}

// One keystroke while a full-text search runs. Before timing, the generated
// folder gets its full-text indexes (when it has none) and the Russian base
// forms are read; then another thread searches the same index for a common
// word over and over, so that every keystroke meets a search in progress.
// Each iteration (untimed) puts the common word into the box and starts the
// window's own full-text search on its thread (Ctrl+Shift+F), then gives
// the box a typed prefix; timed: the OnSearchChange that drops the search
// and fills the headword list. Counters: the searches the other thread
// finished per keystroke, and the common word's first-page results.
void BM_WindowKeystrokeDuringFullText(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Language language = state.range(1) == 0 ? Language::Russian : Language::Esperanto;
    const std::vector<std::u16string> boxes = BoxTexts(language, count);
    std::uint64_t searches = 0;
    std::size_t hits = 0;
    const bool started =
        RunWindow(bench_setup::Folder(count).path, [&](CKelimboDlg& dlg, ProgramObjects& objects) {
            FullTextSearch& fullText = objects.lookup.FullText();
            for (const FullTextStatus& index : fullText.Statuses()) {
                if (index.state != FullTextState::Ready) {
                    fullText.Rebuild(index.dictionary, index.esperanto);
                }
            }
            objects.lookup.Forms().Russian().Stems("a");
            objects.lookup.Forms().Analyser().Lemmas("\xe4\xee\xec");
            const std::u16string common = CommonWord(objects.lookup, boxes);
            hits = fullText.Search(common, 0).hits.size();

            std::atomic<bool> stop = false;
            std::atomic<std::uint64_t> done = 0;
            std::thread other([&] {
                while (!stop) {
                    fullText.Search(common, 0, &stop);
                    ++done;
                }
            });
            std::size_t q = 0;
            for (auto _ : state) {
                state.PauseTiming();
                SetBoxQuietly(dlg, common);
                dlg.OnFullText();
                SetBoxQuietly(dlg, boxes[q]);
                q = (q + 1) % boxes.size();
                state.ResumeTiming();
                dlg.OnSearchChange();
            }
            stop = true;
            other.join();
            searches = done;
        });
    if (!started) {
        state.SkipWithError("the program did not start on the dictionary");
        return;
    }
    state.counters["other_searches"] =
        benchmark::Counter(static_cast<double>(searches), benchmark::Counter::kAvgIterations);
    state.counters["common_hits"] = static_cast<double>(hits);
    state.SetLabel(bench_setup::Label(language, count));
}
BENCHMARK(BM_WindowKeystrokeDuringFullText)
    ->ArgsProduct({bench_setup::Sizes(), {0, 1}})
    ->ArgNames({"headwords", "eo"})
    ->Unit(benchmark::kMicrosecond);

// In-process: from the start of the run (indexes and history loaded, windows
// built and shown) to the moment the modal loop would begin.
void BM_StartUpToWindow(benchmark::State& state) {
    const std::string folder = bench_setup::Folder(static_cast<std::size_t>(state.range(0))).path;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto shown = start;
        const bool started =
            RunWindow(folder, [&](CKelimboDlg&, ProgramObjects&) { shown = Clock::now(); });
        if (!started) {
            state.SkipWithError("the program did not start on the dictionary");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}
BENCHMARK(BM_StartUpToWindow)
    ->ArgsProduct({bench_setup::Sizes()})
    ->ArgName("headwords")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// A word list of `n` headwords of the generated folder, half of them
// Esperanto, half Russian, spread over the index, each kept a second after
// the one before.
void KeepHeadwords(wordlist::WordList& words, std::size_t count, std::size_t n) {
    for (const Language language : {Language::Esperanto, Language::Russian}) {
        const cIndex& index = bench_setup::LoadedIndex(language, count);
        const std::uint32_t step =
            std::max<std::uint32_t>(1, index.Count() / static_cast<std::uint32_t>(n / 2));
        for (std::uint32_t i = 0, kept = 0; i < index.Count() && kept < n / 2; i += step) {
            const std::string text = platform::ToUtf8(from_index_key(index.GetHeadword(i)));
            kept += words.Add(text, language == Language::Esperanto,
                              static_cast<std::int64_t>(words.Size()))
                        ? 1
                        : 0;
        }
    }
}

// The word list opened in the search window (Ctrl+Shift+S): from the command
// to the list of WORDS words filled, the first lines showing the first line
// of their translations, looked up anew (each opening looks them up again, as
// the dictionaries may have changed). The rest follow from the event loop;
// the counter all_ms is the time until every line shows its translation.
// Leaving the list is untimed.
void BM_WindowWordListOpen(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(bench_setup::SmallSize());
    const auto n = static_cast<std::size_t>(state.range(0));
    std::uint64_t lines = 0;
    double all = 0;
    const bool started =
        RunWindow(bench_setup::Folder(count).path, [&](CKelimboDlg& dlg, ProgramObjects& objects) {
            objects.words = wordlist::WordList();
            KeepHeadwords(objects.words, count, n);
            for (auto _ : state) {
                const auto start = Clock::now();
                dlg.SendMessage(fw::Msg::Command, ID_WORD_LIST);
                const auto filled = Clock::now();
                dlg.WordList().FinishTranslations();
                all += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                lines += static_cast<std::uint64_t>(dlg.m_list.GetCount());
                dlg.SendMessage(fw::Msg::Command, ID_WORD_LIST);
                state.SetIterationTime(std::chrono::duration<double>(filled - start).count());
            }
        });
    if (!started) {
        state.SkipWithError("the program did not start on the dictionary");
        return;
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.counters["all_ms"] = benchmark::Counter(all, benchmark::Counter::kAvgIterations);
    state.SetLabel(std::to_string(count) + " headwords");
}
BENCHMARK(BM_WindowWordListOpen)
    ->Arg(10'000)
    ->ArgName("words")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The reader's star pressed on a list of WORDS words, twice an iteration (the
// word kept, then taken out again): each press changes the list and saves it
// to its file, merged under the file's lock, before it returns.
void BM_WindowStar(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(bench_setup::SmallSize());
    const auto n = static_cast<std::size_t>(state.range(0));
    // A file of the benchmark's own, in a fresh folder.
    std::string folder = (std::filesystem::temp_directory_path() / "kelimbo-star-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path file = std::filesystem::path(folder) / "vortlisto.tsv";
    ProgramObjects objects;
    objects.words = wordlist::WordList(file.string());
    KeepHeadwords(objects.words, count, n);
    if (!objects.words.Save()) {
        state.SkipWithError("the word list could not be saved");
        return;
    }
    CLegiloDlg reader(objects, nullptr);
    reader.m_headword = u"stelo-de-la-benchmark";
    reader.m_esperanto = true;
    for (auto _ : state) {
        reader.OnKeep();
        reader.OnKeep();
    }
    if (objects.words.Contains("stelo-de-la-benchmark", true) || objects.words.Unsaved()) {
        state.SkipWithError("the presses did not keep and save");
    }
    state.SetItemsProcessed(state.iterations() * 2);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WindowStar)->Arg(10'000)->ArgName("words")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--start-once") == 0) {
        return RunWindow(argv[2], [](CKelimboDlg&, ProgramObjects&) {}) ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--start-timed") == 0) {
        const auto start = Clock::now();
        auto shown = start;
        if (!RunWindow(argv[2], [&](CKelimboDlg&, ProgramObjects&) { shown = Clock::now(); })) {
            return 1;
        }
        std::printf("%.3f\n", std::chrono::duration<double, std::milli>(shown - start).count());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
