// Prints where a program in the folder given as the argument keeps its
// history, as this process sees it; tests run it as another user.
#include "history/history_location.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: history_location_probe FOLDER/\n", stderr);
        return 2;
    }
    std::printf("%s\n", HistoryFilePath(argv[1], "historio.bin").c_str());
    return 0;
}
