// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-index import FORMAT SOURCE --direction eo|ru --out FOLDER [--replace]
// kelimbo-index import FORMAT SOURCE --direction eo|ru --name NAME [--data DIR] [--replace]
//                      [--inflate-ratio N] [--inflate-limit SIZE]
//
// FORMAT is stardict, dictd, dsl, xdxf or auto (by the file's name).
#include "import_command.h"

#include "fulltext_command.h"

#include "articles/dictionary_location.h"
#include "dictbuild/added_dictionary.h"
#include "dictbuild/staged_files.h"
#include "formats/format_import.h"
#include "importing/progress_bar.h"
#include "platform/module_path.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

int ImportUsage() {
    std::cerr << "usage: kelimbo-index import stardict|dictd|dsl|xdxf|auto SOURCE "
                 "--direction eo|ru --out DIR | --name NAME [--data DIR]  [--replace]\n"
                 "                            [--inflate-ratio N] [--inflate-limit SIZE[K|M|G]]\n";
    return 2;
}

// A positive whole number, with K, M or G for binary kilo-, mega- and
// gigabytes when `withUnit`; nullopt for anything else.
std::optional<std::uint64_t> ParseAmount(std::string_view text, bool withUnit) {
    int shift = 0;
    if (withUnit && !text.empty()) {
        const std::string_view units = "KMG";
        if (const std::size_t unit = units.find(text.back()); unit != std::string_view::npos) {
            shift = 10 * static_cast<int>(unit + 1);
            text.remove_suffix(1);
        }
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 ||
        value > (UINT64_MAX >> shift)) {
        return std::nullopt;
    }
    return value << shift;
}

} // namespace

std::string DataFolder(const std::optional<std::string>& given) {
    if (given) {
        return given->empty() || given->back() == '/' ? *given : *given + "/";
    }
    return AddedDictionariesHomeOf(platform::ModuleFolder(platform::ModuleFileName()));
}

int RunImportCommand(int argc, char** argv) {
    std::vector<std::string> positional;
    std::optional<std::string> direction;
    std::optional<std::string> out;
    std::optional<std::string> name;
    std::optional<std::string> data;
    bool replace = false;
    formats::InflateLimits limits;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--direction" && hasValue) {
            direction = argv[++i];
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if (arg == "--data" && hasValue) {
            data = argv[++i];
        } else if (arg == "--replace") {
            replace = true;
        } else if ((arg == "--inflate-ratio" || arg == "--inflate-limit") && hasValue) {
            const bool isLimit = arg == "--inflate-limit";
            const auto amount = ParseAmount(argv[++i], isLimit);
            if (!amount) {
                return ImportUsage();
            }
            (isLimit ? limits.absolute : limits.ratio) = *amount;
        } else if (arg.starts_with("--")) {
            return ImportUsage();
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2 || !direction || out.has_value() == name.has_value() ||
        (data && !name) || (*direction != "eo" && *direction != "ru")) {
        return ImportUsage();
    }
    formats::ImportRequest request;
    request.source = positional[1];
    const std::optional<formats::Format> format = positional[0] == "auto"
                                                      ? formats::FormatFromFileName(request.source)
                                                      : formats::FormatFromName(positional[0]);
    if (!format) {
        if (positional[0] == "auto") {
            std::cerr << "kelimbo-index: the format of " << positional[1]
                      << " is not plain from its name (.ifo, .index, .dsl, .dsl.dz, .xdxf); "
                         "name it\n";
        } else {
            std::cerr << "kelimbo-index: unknown format " << positional[0] << "\n";
        }
        return ImportUsage();
    }
    request.format = *format;
    request.language = *direction == "eo" ? Language::Esperanto : Language::Russian;
    request.replace = replace;
    request.limits = limits;
    // Reading has its bar; the writing that follows says so on the same line
    // of a terminal until it is done or fails.
    const bool terminal = ::isatty(::fileno(stderr)) != 0;
    try {
        // A named import writes a whole new dictionary beside the old one,
        // which keeps the other direction's files.
        std::optional<NewDictionary> added;
        std::optional<ImportLock> lock;
        if (name) {
            added.emplace(DataFolder(data), *name, replace);
            added->KeepDirection(request.language == Language::Esperanto ? Language::Russian
                                                                         : Language::Esperanto);
            request.outDir = added->Staging();
            request.replace = false;
        } else {
            request.outDir = *out;
            lock.emplace(request.outDir);
        }
        formats::FormatImport result;
        {
            ProgressBar reading(std::string("Reading ").append(request.source.filename().string()));
            result =
                formats::ImportDictionary(request, [&](std::uint64_t done, std::uint64_t total) {
                    reading.Update(static_cast<std::size_t>(done), static_cast<std::size_t>(total));
                    if (done >= total && reading.Shown()) {
                        reading.Finish();
                        std::fprintf(stderr, "Writing the dictionary files\u2026");
                        std::fflush(stderr);
                    }
                });
        }
        WriteFullTextAfterImport(request.outDir, {request.language == Language::Esperanto});
        if (added) {
            added->Publish();
            if (!added->OrderProblem().empty()) {
                std::cerr << "kelimbo-index: warning: " << added->OrderProblem() << "\n";
            }
        }
        if (terminal) {
            std::fprintf(stderr, "\r\033[K");
        }
        std::cout << formats::DescribeFormatImport(result);
        return 0;
    } catch (const formats::InflateLimitError& e) {
        std::cerr << (terminal ? "\r\033[K" : "") << "kelimbo-index: " << e.what()
                  << "\nkelimbo-index: --inflate-ratio and --inflate-limit raise the limits\n";
    } catch (const std::exception& e) {
        std::cerr << (terminal ? "\r\033[K" : "") << "kelimbo-index: " << e.what() << "\n";
    }
    return 1;
}
