// The real main window, offscreen: one OnSearchChange from the box's new text
// to the filled list, and start-up to the shown window, on the generated
// dictionaries. Runs the application object as the program does, with the
// modal loop taken over by the benchmark.
//
//   kelimbo-bench-window [Google Benchmark options]
//   kelimbo-bench-window --start-once FOLDER   start up on FOLDER, exit once the window shows

#include "app/kelimbo_app.h"
#include "bench_setup.h"
#include "framework/test_hooks.h"
#include "platform/code_page.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
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
bool RunWindow(const std::string& folder, const std::function<void(CKelimboDlg&)>& drive) {
    fw::testing::MessageBoxCapture boxes;
    fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
        auto& dlg = dynamic_cast<CKelimboDlg&>(d);
        drive(dlg);
        dlg.EndDialog(fw::IDOK);
    });
    ProgramObjects objects;
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

void BM_WindowKeystroke(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Language language = state.range(1) == 0 ? Language::Russian : Language::Esperanto;
    const std::vector<std::u16string> boxes = BoxTexts(language, count);
    std::uint64_t lines = 0;
    const bool started = RunWindow(bench_setup::Folder(count).path, [&](CKelimboDlg& dlg) {
        const fw::Edit box = dlg.GetEdit(IDC_SEARCH);
        std::size_t q = 0;
        for (auto _ : state) {
            state.PauseTiming();
            // The box holds the keystroke's text when it notifies.
            dlg.m_updating = true;
            box.SetWindowText(boxes[q]);
            dlg.m_updating = false;
            q = (q + 1) % boxes.size();
            state.ResumeTiming();
            dlg.OnSearchChange();
            state.PauseTiming();
            lines += static_cast<std::uint64_t>(dlg.m_list.GetCount());
            state.ResumeTiming();
        }
    });
    if (!started) {
        state.SkipWithError("the program did not start on the dictionary");
        return;
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    state.SetLabel(bench_setup::Label(language, count));
}
BENCHMARK(BM_WindowKeystroke)
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
        const bool started = RunWindow(folder, [&](CKelimboDlg&) { shown = Clock::now(); });
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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--start-once") == 0) {
        return RunWindow(argv[2], [](CKelimboDlg&) {}) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
