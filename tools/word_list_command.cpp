// SPDX-License-Identifier: GPL-2.0-or-later
#include "word_list_command.h"

#include "articles/dictionary_location.h"
#include "dictbuild/staged_files.h"
#include "errors/exc_msg.h"
#include "lookup/lookup_core.h"
#include "lookup/query_rules.h"
#include "platform/code_page.h"
#include "platform/module_path.h"
#include "platform/source_file.h"
#include "text/esperanto_x.h"
#include "text/index_key.h"
#include "wordlist/word_export.h"
#include "wordlist/word_import.h"
#include "wordlist/word_list.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_list_location.h"
#include "wordlist/word_translation.h"

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

const char* const kWordListUsage =
    "       kelimbo-lookup [--dir DIR] [--list FILE] --word-list [--sort added|alpha|lookups]\n"
    "       kelimbo-lookup [--dir DIR] [--list FILE] --word-list --export tsv|csv [--output "
    "FILE]\n"
    "       kelimbo-lookup [--dir DIR] [--list FILE] --word-list --import FILE\n"
    "       kelimbo-lookup [--dir DIR] [--list FILE] --word-list --add WORD | --remove WORD\n";

const char* const kWordListHelp =
    "\n"
    "The word list (the words kept with the reader's star):\n"
    "  --word-list        print the kept words, one 'WORD<TAB>FIRST LINE OF ITS\n"
    "                     TRANSLATION' a line, oldest first (a word no dictionary\n"
    "                     has any more: nothing after the tab)\n"
    "  --sort ORDER       added (the default), alpha (Esperanto words, then Russian,\n"
    "                     each in its dictionary's order) or lookups (most first)\n"
    "  --export tsv|csv   write the list for Anki (tsv: 'File > Import' takes it as\n"
    "                     it is) or as CSV, with each word's whole article\n"
    "  --output FILE      write the export to FILE instead of the standard output\n"
    "  --import FILE      keep the words of a plain list, one a line (x-system\n"
    "                     letters as in the search box); the lines that are no\n"
    "                     headword are listed on the error output, not kept\n"
    "  --add WORD         keep one headword; --remove WORD: no longer keep it\n"
    "  --list FILE        the word-list file (default: vortlisto.tsv beside the\n"
    "                     program when its folder can be written, otherwise in\n"
    "                     $XDG_DATA_HOME/kelimbo/ or ~/.local/share/kelimbo/)\n";

namespace {

using platform::FromUtf8;

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

struct Options {
    std::optional<std::string> dir;
    std::optional<std::string> listFile;
    wordlist::SortOrder sort = wordlist::SortOrder::Added;
    std::optional<wordlist::ExportFormat> exportFormat;
    std::optional<std::string> output;
    std::optional<std::string> importFile;
    std::optional<std::string> add;
    std::optional<std::string> remove;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    int actions = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--word-list") {
            continue;
        }
        if (!hasValue) {
            return std::nullopt;
        }
        const std::string value = argv[++i];
        if (arg == "--dir") {
            options.dir = value;
        } else if (arg == "--list") {
            options.listFile = value;
        } else if (arg == "--sort") {
            if (value == "added") {
                options.sort = wordlist::SortOrder::Added;
            } else if (value == "alpha") {
                options.sort = wordlist::SortOrder::Alphabetical;
            } else if (value == "lookups") {
                options.sort = wordlist::SortOrder::Lookups;
            } else {
                return std::nullopt;
            }
        } else if (arg == "--export") {
            if (value != "tsv" && value != "csv") {
                return std::nullopt;
            }
            options.exportFormat =
                value == "tsv" ? wordlist::ExportFormat::AnkiTsv : wordlist::ExportFormat::Csv;
            ++actions;
        } else if (arg == "--output") {
            options.output = value;
        } else if (arg == "--import") {
            options.importFile = value;
            ++actions;
        } else if (arg == "--add") {
            options.add = value;
            ++actions;
        } else if (arg == "--remove") {
            options.remove = value;
            ++actions;
        } else {
            return std::nullopt;
        }
    }
    if (actions > 1 || (options.output && !options.exportFormat)) {
        return std::nullopt;
    }
    return options;
}

std::string FolderPath(const std::string& given) {
    return !given.empty() && given.back() != '/' ? given + '/' : given;
}

// The dictionaries kelimbo-lookup answers from by default.
std::vector<DictionarySource> Sources(const std::string& folder) {
    if (const std::string problem = FinishInterruptedCommit(folder); !problem.empty()) {
        std::cerr << "kelimbo-lookup: " << problem << "\n";
    }
    std::vector<std::string> messages;
    std::vector<DictionarySource> sources = DictionarySourcesOf(folder, messages);
    for (const std::string& message : messages) {
        std::cerr << "kelimbo-lookup: " << message << "\n";
    }
    return sources;
}

void PrintMessages(wordlist::WordList& list) {
    for (const std::string& message : list.Messages()) {
        std::cerr << "kelimbo-lookup: " << message << "\n";
    }
    list.ClearMessages();
}

int SaveList(wordlist::WordList& list) {
    const bool saved = list.Save();
    PrintMessages(list);
    return saved ? 0 : kFailure;
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::string why;
    platform::SourceFile file(path, platform::Links::Follow, why);
    if (!file.IsOpen() || !file.ReadAll(bytes, wordlist::kMaxWordListBytes, why)) {
        std::cerr << "kelimbo-lookup: cannot read '" << path << "': " << why << "\n";
        return false;
    }
    return true;
}

int Import(wordlist::WordList& list, LookupCore& core, std::string_view bytes, bool one) {
    const wordlist::ImportReport report = wordlist::ImportWords(bytes, list, core);
    for (const std::size_t line : report.unreadable) {
        std::cerr << "kelimbo-lookup: line " << line << " is no word (not UTF-8 or too long)\n";
    }
    for (const std::string& word : report.unknown) {
        std::cerr << "kelimbo-lookup: no dictionary has '" << word << "': not kept\n";
    }
    if (!one) {
        std::cerr << "kelimbo-lookup: " << report.added
                  << (report.added == 1 ? " word kept, " : " words kept, ") << report.alreadyKept
                  << " kept already, " << report.unknown.size() + report.unreadable.size()
                  << " not found\n";
    }
    const int saved = report.added > 0 ? SaveList(list) : 0;
    if (saved != 0) {
        return saved;
    }
    return one && report.added + report.alreadyKept == 0 ? kUsageError : 0;
}

int Remove(wordlist::WordList& list, const std::string& given) {
    const std::u16string typed = x_to_accented(FromUtf8(given));
    const std::string text = platform::ToUtf8(typed);
    const bool esperanto = IsEsperantoQuery(to_index_key(typed));
    if (!list.Remove(text, esperanto)) {
        std::cerr << "kelimbo-lookup: '" << given << "' is not in the word list\n";
        return kUsageError;
    }
    return SaveList(list);
}

int Print(const wordlist::WordList& list, LookupCore& core, wordlist::SortOrder sort) {
    std::string out;
    for (const std::size_t at : list.Sorted(sort)) {
        const wordlist::Word& word = list.Words()[at];
        out += word.text;
        out += '\t';
        if (const std::optional<std::string> line = wordlist::WordFirstLine(core, word)) {
            out += *line;
        }
        out += '\n';
    }
    std::cout << out;
    return 0;
}

int Export(const wordlist::WordList& list, LookupCore& core, const Options& options) {
    std::vector<wordlist::Word> words;
    for (const std::size_t at : list.Sorted(options.sort)) {
        words.push_back(list.Words()[at]);
    }
    const std::string text = wordlist::ExportWords(words, core, *options.exportFormat);
    if (!options.output) {
        std::cout << text;
        return 0;
    }
    std::string message;
    if (!wordlist::WriteExportFile(*options.output, text, message)) {
        std::cerr << "kelimbo-lookup: " << message << "\n";
        return kFailure;
    }
    return 0;
}

int Run(const Options& options) {
    const std::string programFolder = platform::ModuleFolder(platform::ModuleFileName());
    const std::string dictionaries =
        options.dir ? FolderPath(*options.dir) : DictionaryFolderOf(programFolder);
    wordlist::WordList list(options.listFile ? *options.listFile
                                             : wordlist::WordListFilePath(programFolder));
    list.Load();
    PrintMessages(list);
    LookupCore core(Sources(dictionaries));
    int status = 0;
    if (options.importFile) {
        std::string bytes;
        status = ReadFile(*options.importFile, bytes) ? Import(list, core, bytes, false) : kFailure;
    } else if (options.add) {
        status = Import(list, core, *options.add, true);
    } else if (options.remove) {
        status = Remove(list, *options.remove);
    } else if (options.exportFormat) {
        status = Export(list, core, options);
    } else {
        status = Print(list, core, options.sort);
    }
    for (const std::string& message : core.Messages()) {
        std::cerr << "kelimbo-lookup: " << message << "\n";
    }
    return status;
}

} // namespace

bool AsksForWordList(int argc, char** argv) {
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        if (std::string_view(argv[i]) == "--word-list") {
            return true;
        }
    }
    return false;
}

int RunWordListCommand(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage:\n" << kWordListUsage;
        return kUsageError;
    }
    try {
        return Run(*options);
    } catch (const cExcMsg& e) {
        std::cerr << platform::ToUtf8(e.GetMsg()) << "\n";
        return kFailure;
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-lookup: " << e.what() << "\n";
        return kFailure;
    }
}
