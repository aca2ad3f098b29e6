// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-bench-data: the benchmark dictionaries outside the benchmarks.
//
//   kelimbo-bench-data CACHE COUNT
//       makes sure CACHE/COUNT holds the generated dictionary; prints its folder
//   kelimbo-bench-data CACHE COUNT --stardict FOLDER NAME
//       also writes its Russian direction as a StarDict dictionary
//   kelimbo-bench-data CACHE COUNT --import-sources FOLDER
//       also writes its Russian direction as FOLDER/import.ifo/.idx/.dict
//       (StarDict) and FOLDER/import.dsl (DSL), for kelimbo-bench-read
//   kelimbo-bench-data CACHE COUNT --queries N
//       also prints N Russian queries (UTF-8), one a line: headwords and
//       prefixes of them, drawn with a fixed seed
#include "bench_dictionary.h"
#include "import_sources.h"
#include "platform/code_page.h"
#include "stardict_writer.h"

#include <exception>
#include <iostream>
#include <random>
#include <string>

namespace {

std::string Utf8(const std::string& ansi) {
    return platform::ToUtf8(platform::FromAnsi(ansi));
}

void PrintQueries(const bench_data::DictionaryFolder& folder, std::size_t n) {
    const std::vector<std::string> headwords = folder.Headwords(bench_data::Language::Russian);
    std::mt19937 random(10000);
    for (std::size_t q = 0; q < n; ++q) {
        const std::string& word = headwords[random() % headwords.size()];
        // Half whole headwords, half prefixes of 2-6 letters.
        const std::size_t length = q % 2 == 0 ? word.size() : 2 + random() % 5;
        std::cout << Utf8(word.substr(0, length)) << '\n';
    }
}

int Usage() {
    std::cerr << "usage: kelimbo-bench-data CACHE COUNT [--stardict FOLDER NAME | "
                 "--import-sources FOLDER | --queries N]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5 && argc != 6) {
        return Usage();
    }
    try {
        const bench_data::DictionaryFolder folder =
            bench_data::EnsureDictionary(argv[1], std::stoul(argv[2]));
        const std::string option = argc > 3 ? argv[3] : "";
        if (option == "--stardict" && argc == 6) {
            const std::size_t words = bench_data::WriteStarDict(folder, argv[4], argv[5]);
            std::cerr << words << " StarDict words\n";
        } else if (option == "--import-sources" && argc == 5) {
            const std::size_t entries = bench_data::WriteImportSources(folder, argv[4]);
            std::cerr << entries << " StarDict and DSL entries\n";
        } else if (option == "--queries" && argc == 5) {
            PrintQueries(folder, std::stoul(argv[4]));
            return 0;
        } else if (!option.empty()) {
            return Usage();
        }
        std::cout << folder.path << '\n';
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-bench-data: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
