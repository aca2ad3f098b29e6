// SPDX-License-Identifier: GPL-2.0-or-later
// Prints where a program in the folder given as the argument keeps its
// history, as this process sees it; tests run it as another user. With a
// query it then runs a session as start-up does: loads the history from that
// place, prints how many entries it found, adds the query and saves it.
#include "history/history.h"
#include "history/history_file.h"
#include "history/history_location.h"
#include "platform/code_page.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fputs("usage: history_location_probe FOLDER/ [QUERY]\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string path = HistoryFilePath(folder, kHistoryFileName);
    std::printf("%s\n", path.c_str());
    if (argc == 3) {
        cHistory history;
        history.Load(path.c_str(), (folder + "EoRu_kelimbo.txt").c_str(),
                     (folder + "tarnesk_rusa_esperanto.txt").c_str());
        std::printf("%zu\n", history.entries.size());
        history.Push(platform::FromUtf8(argv[2]), {}, true);
        history.Save();
    }
    return 0;
}
