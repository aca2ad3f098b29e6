// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-bench-read: reads a StarDict, dictd, DSL or XDXF dictionary with the
// format readers and reports what it found, the time and the peak memory.
//
//   kelimbo-bench-read FORMAT|auto SOURCE [--print N]
//
// FORMAT is stardict, dictd, dsl or xdxf; --print shows the first N articles.
#include "formats/dictionary_reader.h"

#include <sys/resource.h>

#include <chrono>
#include <iostream>
#include <string>

namespace {

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::cerr << "usage: kelimbo-bench-read FORMAT|auto SOURCE [--print N]\n";
        return 2;
    }
    const std::string source = argv[2];
    const std::string name = argv[1];
    const auto format =
        name == "auto" ? formats::FormatFromFileName(source) : formats::FormatFromName(name);
    if (!format) {
        std::cerr << "kelimbo-bench-read: unknown format\n";
        return 2;
    }
    const std::size_t print = argc == 5 ? std::stoul(argv[4]) : 0;
    const long rssBefore = PeakRssKb();
    const auto start = std::chrono::steady_clock::now();
    try {
        const auto reader = formats::OpenDictionary(*format, source);
        ImportedArticle article;
        std::uint64_t articles = 0;
        std::uint64_t headwords = 0;
        std::uint64_t textBytes = 0;
        while (reader->Next(article)) {
            if (articles < print) {
                std::cout << "--- ";
                for (const std::string& headword : article.headwords) {
                    std::cout << "[" << headword << "] ";
                }
                std::cout << "\n" << article.text << "\n";
            }
            ++articles;
            headwords += article.headwords.size();
            textBytes += article.text.size();
        }
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        const formats::DictionaryInfo& info = reader->Info();
        const formats::SkipCounts& skipped = reader->Skipped();
        std::cout << "name: " << info.name << "\nlanguages: " << info.fromLanguage << " -> "
                  << info.toLanguage << "\ndescription bytes: " << info.description.size()
                  << "\narticles: " << articles << "\nheadwords: " << headwords
                  << "\ntext bytes: " << textBytes << "\nskipped: resources " << skipped.resources
                  << ", media " << skipped.media << ", metadata " << skipped.metadata
                  << ", duplicates " << skipped.duplicates << ", empty " << skipped.empty
                  << "\nread time: " << micros << " us\npeak RSS: " << PeakRssKb()
                  << " KB (at start " << rssBefore << " KB)\n";
    } catch (const formats::FormatError& e) {
        std::cerr << "kelimbo-bench-read: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
