// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-lookup: the search window without a window.
//
//   kelimbo-lookup [--dir DIR] [--range] [--forms] QUERY   the list for QUERY, one line each
//   kelimbo-lookup [--dir DIR] [--forms] --open K QUERY    the reader's text for list line K
//   kelimbo-lookup [--dir DIR] [--range] [--forms] --stdin one query a line, answers apart
//                                                          by blank lines
//   kelimbo-lookup [--dir DIR] [--dict NAME] --fulltext [--page N] [--json] QUERY
//                                                          the articles whose text holds QUERY
//   kelimbo-lookup --help | --version                      on the standard output
//   kelimbo-lookup --word-list ...                         the word list (word_list_command.h)
//
// --dict NAME: only the dictionary NAME answers (switched off or not); by
// default the data folder's own pair and every added dictionary switched on.
//
// --forms: when the query is one word of three letters or more and no headword
// (or, shorter, when no headword begins with it), the lines offered for its
// base forms come first, one "HEADWORD<TAB>BASE FORM" a line, then the usual
// lines they do not show, 50 in all; --open K opens list line K.
// --articles: after each list, the reader's text of each line whose headword is
// the query itself, as a dictionary program prints an exact match.
//
// Only the index of the query's language is read, the first time a query needs it.
//
// Exit status: 0 done, 1 a dictionary file could not be read (the program's own
// message on stderr), 2 a usage error or a list line that does not exist.
#include "articles/dictionary_location.h"
#include "dictbuild/staged_files.h"
#include "errors/exc_msg.h"
#include "fulltext_lookup.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "platform/module_path.h"
#include "word_list_command.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

using platform::FromUtf8;
using platform::ToUtf8;

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: kelimbo-lookup [--dir DIR] [--dict NAME] [--range] [--forms] [--articles] QUERY\n"
    "       kelimbo-lookup [--dir DIR] [--dict NAME] [--forms] --open K QUERY\n"
    "       kelimbo-lookup [--dir DIR] [--dict NAME] [--range] [--forms] [--articles] --stdin\n"
    "       kelimbo-lookup [--dir DIR] [--dict NAME] --fulltext [--page N] [--json] QUERY\n";
constexpr const char* kUsageLast = "       kelimbo-lookup --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Kelimbo's search window on the terminal: the headwords that begin with\n"
    "QUERY, one a line as the window lists them, or the article text of line K.\n"
    "\n"
    "  --dir DIR   the dictionary folder (default: the one Kelimbo reads, beside\n"
    "              the program, or $XDG_DATA_HOME/kelimbo/ for an installed copy\n"
    "              when a dictionary is there)\n"
    "  --dict NAME answer from the dictionary NAME alone (as 'kelimbo-index list'\n"
    "              names it; the data folder's own one is 'Основной словарь'),\n"
    "              even one switched off; by default every dictionary switched on\n"
    "  --range     print the range of the matching headwords, FIRST LAST (of the\n"
    "              data folder's own dictionary when others are added), first\n"
    "  --forms     when QUERY is one word and no headword, first print the\n"
    "              headwords its base forms (or, for a compound, its parts)\n"
    "              find, one 'HEADWORD<TAB>BASE FORM' a line, then the usual\n"
    "              lines they do not show, 50 in all; --open K opens line K\n"
    "  --open K    print the article text of list line K (the first is 0)\n"
    "  --articles  after each list, the article text of each line that is the\n"
    "              query itself\n"
    "  --fulltext  search the articles' text: the articles that hold\n"
    "              every word of QUERY in any of its forms, \"quoted words\" as a\n"
    "              phrase; one 'HEADWORD<TAB>SNIPPET' a line, 50 a page\n"
    "  --page N    with --fulltext, page N of the results (the first is 0)\n"
    "  --json      with --fulltext, one JSON object a line: headword,\n"
    "              dictionary, direction (eo-ru or ru-eo), snippet, marks (the\n"
    "              matches in the snippet, [start, end) in characters) and\n"
    "              articles (their byte ranges in the dictionary's text)\n"
    "  --stdin     one query a line from the standard input, answers apart by\n"
    "              blank lines\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "  --          end of the options: what follows is the query\n"
    "\n"
    "Exit status: 0 done, 1 a dictionary file could not be read (the program's\n"
    "own message on the error output), 2 wrong usage or a list line that does\n"
    "not exist.\n";

int Usage() {
    std::cerr << kUsage << kWordListUsage << kUsageLast;
    return kUsageError;
}

struct Arguments {
    std::optional<std::string> dir;
    std::optional<std::string> dict;
    bool range = false;
    bool forms = false;
    bool articles = false;
    bool fromStdin = false;
    bool fulltext = false;
    bool json = false;
    std::optional<std::size_t> page;
    std::optional<std::size_t> open;
    std::optional<std::string> query;
};

std::optional<std::size_t> ParseLine(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments args;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--dir" && i + 1 < argc) {
            args.dir = argv[++i];
        } else if (arg == "--dict" && i + 1 < argc) {
            args.dict = argv[++i];
        } else if (arg == "--range") {
            args.range = true;
        } else if (arg == "--forms") {
            args.forms = true;
        } else if (arg == "--articles") {
            args.articles = true;
        } else if (arg == "--stdin") {
            args.fromStdin = true;
        } else if (arg == "--fulltext") {
            args.fulltext = true;
        } else if (arg == "--json") {
            args.json = true;
        } else if (arg == "--page" && i + 1 < argc) {
            args.page = ParseLine(argv[++i]);
            if (!args.page) {
                return std::nullopt;
            }
        } else if (arg == "--open" && i + 1 < argc) {
            args.open = ParseLine(argv[++i]);
            if (!args.open) {
                return std::nullopt;
            }
        } else if (arg.starts_with("-") && arg != "-") {
            return std::nullopt;
        } else {
            break;
        }
    }
    const int rest = argc - i;
    if (args.fulltext != (args.json || args.page || args.fulltext) ||
        (args.fulltext &&
         (args.fromStdin || args.open || args.range || args.forms || args.articles))) {
        return std::nullopt; // --page and --json go with --fulltext, alone
    }
    if (args.fromStdin) {
        return rest == 0 && !args.open ? std::optional(args) : std::nullopt;
    }
    if (rest != 1) {
        return std::nullopt;
    }
    args.query = argv[i];
    return args;
}

// A folder given on the command line, its bytes as given, with its separator.
std::string FolderPath(const std::string& given) {
    std::string folder = given;
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The standard output, gathered into large writes: a streamed run answers
// thousands of queries of a few hundred bytes each. What is gathered is written
// when it grows large, before the input may make the program wait, and when
// the object ends, also on the way out of a failure.
class Output {
public:
    Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { Flush(); }

    std::string& Text() { return m_text; }

    void WriteIfLarge() {
        if (m_text.size() >= kLarge) {
            Write();
        }
    }

    void Flush() {
        Write();
        std::cout.flush();
    }

private:
    static constexpr std::size_t kLarge = 64 * 1024;

    void Write() {
        std::cout.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

    std::string m_text;
};

// Appends the list, and with --articles the text of each line that is the
// query; a failure leaves `out` as it was.
void Answer(LookupCore& folder, const std::string& query, const Arguments& args, std::string& out) {
    const std::size_t at = out.size();
    const ListResult list = folder.List(FromUtf8(query), args.forms, out);
    if (list.query.empty()) {
        return;
    }
    if (args.range) {
        out.insert(at,
                   std::to_string(list.range.first) + ' ' + std::to_string(list.range.last) + '\n');
    }
    if (args.articles) {
        for (const std::size_t line : folder.ExactLines(list)) {
            folder.AppendArticle(list, line, out);
        }
    }
}

int Run(const Arguments& args) {
    const std::string path =
        args.dir ? FolderPath(*args.dir)
                 : DictionaryFolderOf(platform::ModuleFolder(platform::ModuleFileName()));
    // An import killed among its renames is finished before anything is read.
    if (const std::string problem = FinishInterruptedCommit(path); !problem.empty()) {
        std::cerr << "kelimbo-lookup: " << problem << "\n";
    }
    std::vector<std::string> messages;
    std::vector<DictionarySource> sources;
    if (args.dict) {
        std::optional<DictionarySource> named = DictionarySourceNamed(path, *args.dict);
        if (!named) {
            std::cerr << "kelimbo-lookup: no dictionary is called '" << *args.dict
                      << "' (kelimbo-index list names them)\n";
            return Usage();
        }
        sources.push_back(std::move(*named));
    } else {
        sources = DictionarySourcesOf(path, messages);
    }
    LookupCore folder(std::move(sources));
    for (const std::string& message : messages) {
        std::cerr << "kelimbo-lookup: " << message << "\n";
    }
    // A dictionary passed over while answering is named once, at the end,
    // and so are Russian base forms that had to do without their plugin.
    struct PassedOver {
        LookupCore& core;
        ~PassedOver() {
            for (const std::string& message : core.Messages()) {
                std::cerr << "kelimbo-lookup: " << message << "\n";
            }
            if (const std::string problem = core.Forms().EnginesProblem(); !problem.empty()) {
                std::cerr << "kelimbo-lookup: " << problem << "\n";
            }
        }
    } passedOver{folder};
    Output output;
    if (args.fromStdin) {
        // Reading no longer flushes the output (the streams' tie); Output does
        // it when the input has nothing more at hand, so that someone typing
        // the queries sees each answer before the program waits for the next.
        std::cin.tie(nullptr);
        std::string line;
        bool first = true;
        for (;;) {
            if (std::cin.rdbuf()->in_avail() <= 0) {
                output.Flush();
            }
            if (!std::getline(std::cin, line)) {
                break;
            }
            if (!first) {
                output.Text() += '\n';
            }
            first = false;
            Answer(folder, line, args, output.Text());
            output.WriteIfLarge();
        }
        return 0;
    }
    if (args.fulltext) {
        return AppendFullText(folder, *args.query, args.page.value_or(0), args.json, output.Text());
    }
    if (!args.open) {
        Answer(folder, *args.query, args, output.Text());
        return 0;
    }
    const ListResult list = folder.List(FromUtf8(*args.query), args.forms);
    if (*args.open >= list.LineCount()) {
        std::cerr << "kelimbo-lookup: the list has no line " << *args.open << "\n";
        return Usage();
    }
    folder.AppendArticle(list, *args.open, output.Text());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        if (std::string_view(argv[i]) == "--help") {
            std::cout << kUsage << kWordListUsage << kUsageLast << kHelp << kWordListHelp;
            return 0;
        }
        if (std::string_view(argv[i]) == "--version") {
            std::cout << "kelimbo-lookup " KELIMBO_VERSION "\n";
            return 0;
        }
    }
    if (AsksForWordList(argc, argv)) {
        return RunWordListCommand(argc, argv);
    }
    const std::optional<Arguments> args = Parse(argc, argv);
    if (!args) {
        return Usage();
    }
    // Only the C++ streams write: they need not keep in step with C's, and
    // then buffer their output themselves instead of handing C's functions
    // every piece.
    std::ios::sync_with_stdio(false);
    try {
        return Run(*args);
    } catch (const cExcMsg& e) {
        std::cerr << ToUtf8(e.GetMsg()) << "\n";
        return kFailure;
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-lookup: " << e.what() << "\n";
        return kFailure;
    }
}
