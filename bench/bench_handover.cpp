// SPDX-License-Identifier: GPL-2.0-or-later
// How long a later start of the window program takes to hand its word to the
// running one and end: a copy of PROGRAM beside the dictionary of
// DATA_FOLDER is started once as the running program (offscreen, with a
// runtime folder of its own), then `PROGRAM WORD` is run RUNS times, each
// timed from its spawn to its exit on a steady clock (microseconds).
//
//   kelimbo-bench-handover PROGRAM DATA_FOLDER [RUNS]
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0); // the offscreen notes
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A file of the data folder in the copy's folder: a link where one can be made.
void Place(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error) {
        fs::copy_file(from, to);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM DATA_FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;
    char folderName[] = "/tmp/kelimbo-handover-XXXXXX";
    char runtimeName[] = "/tmp/kelimbo-runtime-XXXXXX"; // mkdtemp makes it for the owner only
    if (mkdtemp(folderName) == nullptr || mkdtemp(runtimeName) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = folderName;
    const fs::path runtime = runtimeName;
    fs::copy_file(argv[1], folder / "kelimbo");
    for (const char* name : {"tarnesk_rusa_esperanto.bsi", "tarnesk_rusa_esperanto.txt",
                             "EoRu_kelimbo.bsi", "EoRu_kelimbo.txt"}) {
        Place(fs::path(argv[2]) / name, folder / name);
    }
    setenv("XDG_RUNTIME_DIR", runtimeName, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string program = (folder / "kelimbo").string();

    const pid_t primary = Spawn({program});
    int status = 1;
    const auto patience = Clock::now() + std::chrono::seconds(30);
    while (!(fs::exists(runtime / "kelimbo.lock") && fs::exists(runtime / "kelimbo.socket")) &&
           Clock::now() < patience) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (Wait(Spawn({program})) == 0) { // a first start with no word: it serves
        const char* words[] = {"sxipo", "hundo", "kato", "собака", "bona", "ĉapelo"};
        std::vector<double> micros;
        status = 0;
        for (int i = 0; i < runs && status == 0; ++i) {
            const auto start = Clock::now();
            status = Wait(Spawn({program, words[i % std::size(words)]}));
            micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
        std::sort(micros.begin(), micros.end());
        std::printf("handover of a word, spawn to exit: n %zu  median %.0f us  p90 %.0f us  "
                    "min %.0f us  max %.0f us\n",
                    micros.size(), micros[micros.size() / 2], micros[micros.size() * 9 / 10],
                    micros.front(), micros.back());
    }
    if (status != 0) {
        std::fprintf(stderr, "a later start did not hand its word over (status %d)\n", status);
    }
    kill(primary, SIGTERM);
    Wait(primary);
    fs::remove_all(folder);
    fs::remove_all(runtime);
    return status == 0 ? 0 : 1;
}
