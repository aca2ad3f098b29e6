// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-index: makes, checks and lists the dictionary files.
//
//   kelimbo-index build --lang eo|ru --out DIR SOURCE.tsv
//   kelimbo-index build --lang eo|ru --out DIR --paragraphs TEXT
//   kelimbo-index check --lang eo|ru INDEX.bsi [TEXT.txt]
//   kelimbo-index dump  --lang eo|ru INDEX.bsi
//   kelimbo-index revo REVO_FOLDER [--dtd DTD_FOLDER] --out DIR
//   kelimbo-index revo REVO_FOLDER [--dtd DTD_FOLDER] --name NAME [--data DIR] [--replace]
//   kelimbo-index import FORMAT SOURCE --direction eo|ru --out DIR [--replace]
//                        [--inflate-ratio N] [--inflate-limit SIZE]
//   kelimbo-index import FORMAT SOURCE --direction eo|ru --name NAME [--data DIR] [--replace]
//                        [--inflate-ratio N] [--inflate-limit SIZE]
//   kelimbo-index fulltext DIR | --name NAME [--data DIR]
//   kelimbo-index list|remove NAME|order NAME...|enable NAME|disable NAME [--data DIR]
//   kelimbo-index --help | --version           (on the standard output)
#include "articles/dictionary_files.h"
#include "articles/dictionary_set.h"
#include "dictbuild/added_dictionary.h"
#include "dictbuild/dictionary_build.h"
#include "dictbuild/index_check.h"
#include "dictbuild/staged_files.h"
#include "errors/exc_msg.h"
#include "fulltext_command.h"
#include "import_command.h"
#include "importing/import_writer.h"
#include "importing/progress_bar.h"
#include "index/headword_index.h"
#include "platform/code_page.h"
#include "platform/source_file.h"
#include "revo/revo_import.h"
#include "revo/revo_parser.h"
#include "text/index_key.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using platform::ToUtf8;

constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: kelimbo-index build --lang eo|ru --out DIR SOURCE.tsv\n"
    "       kelimbo-index build --lang eo|ru --out DIR --paragraphs TEXT\n"
    "       kelimbo-index check --lang eo|ru INDEX.bsi [TEXT.txt]\n"
    "       kelimbo-index dump --lang eo|ru INDEX.bsi\n"
    "       kelimbo-index revo REVO_FOLDER [--dtd DTD_FOLDER] --out DIR\n"
    "       kelimbo-index revo REVO_FOLDER [--dtd DTD_FOLDER] --name NAME [--data DIR]\n"
    "                          [--replace]\n"
    "       kelimbo-index import stardict|dictd|dsl|xdxf|auto SOURCE --direction eo|ru\n"
    "                            --out DIR | --name NAME [--data DIR]  [--replace]\n"
    "                            [--inflate-ratio N] [--inflate-limit SIZE[K|M|G]]\n"
    "       kelimbo-index fulltext DIR | --name NAME [--data DIR]\n"
    "       kelimbo-index list [--data DIR]\n"
    "       kelimbo-index remove|enable|disable NAME [--data DIR]\n"
    "       kelimbo-index order NAME... [--data DIR]\n"
    "       kelimbo-index --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Makes, checks and lists Kelimbo's dictionary files.\n"
    "\n"
    "  build   a dictionary direction from a word list (UTF-8, one article a\n"
    "          line: HEADWORD<TAB>ARTICLE[<TAB>MORE|HEADWORDS]), or with\n"
    "          --paragraphs an index of an existing text file whose articles\n"
    "          are apart by blank lines\n"
    "  check   an index, and with the text file its references and that the\n"
    "          text is the one the index was made for\n"
    "  dump    an index's headwords and references, one headword a line\n"
    "  revo    both directions from Reta Vortaro's XML articles\n"
    "  import  one direction from another program's dictionary: StarDict (.ifo),\n"
    "          dictd (.index), DSL (.dsl, .dsl.dz) or XDXF (.xdxf); auto tells\n"
    "          the format by the file's name\n"
    "  fulltext  the full-text index of each direction of a folder (or of the\n"
    "          added dictionary NAME); build, revo and import write it anyway\n"
    "  list    the added dictionaries in the order their articles are shown:\n"
    "          name, on or off, directions with their headwords, size\n"
    "  remove  an added dictionary\n"
    "  order   puts the named dictionaries first, in that order, and switches\n"
    "          them on\n"
    "  enable, disable  switches an added dictionary on or off\n"
    "\n"
    "  --lang eo|ru         the direction: Esperanto-Russian or Russian-Esperanto\n"
    "  --out DIR            the folder the dictionary files are written into\n"
    "  --name NAME          add the import as the dictionary NAME, in\n"
    "                       dictionaries/NAME/ of the data folder (letters, digits,\n"
    "                       '-', '_', '.'; --replace replaces one of that name)\n"
    "  --data DIR           the data folder (default: the one the programs read\n"
    "                       when it takes new files, else ~/.local/share/kelimbo/)\n"
    "  --paragraphs TEXT    the text file to index\n"
    "  --dtd DTD_FOLDER     ReVo's DTD folder (default: dtd/ beside revo/)\n"
    "  --direction eo|ru    the direction an import writes (the other is kept)\n"
    "  --replace            let an import replace the direction's existing files,\n"
    "                       or with --name the dictionary of that name\n"
    "  --inflate-ratio N    an import refuses a file that gives more than N times\n"
    "                       its own size, inflated (default 64; 64 MiB at least)\n"
    "  --inflate-limit SIZE and one that gives more than SIZE bytes, K, M or G\n"
    "                       for KiB, MiB or GiB (default 2G)\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Files are written whole or not at all, and one command at a time writes a\n"
    "folder: a second one meanwhile is refused. Exit status: 0 done, 1 a failure\n"
    "(a source that breaks a rule, with its line; a problem check found; another\n"
    "command writing the folder), 2 wrong usage. The order file,\n"
    "dictionaries/order, holds one name a line, \"-NAME\" for one switched off;\n"
    "a person may edit it.\n";

int Usage() {
    std::cerr << kUsage;
    return kUsageError;
}

struct Options {
    std::optional<Language> language;
    std::optional<std::string> out;
    std::optional<std::string> paragraphs;
    std::optional<std::string> dtd;
    std::optional<std::string> name;
    std::optional<std::string> data;
    bool replace = false;
    std::vector<std::string> files;
};

bool ManagesDictionaries(const std::string& command) {
    return command == "list" || command == "remove" || command == "order" || command == "enable" ||
           command == "disable";
}

// Parses the options after the command; nullopt on a usage error. Every
// command but revo needs a language.
std::optional<Options> ParseOptions(const std::string& command, int argc, char** argv) {
    Options options;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--lang" && hasValue) {
            try {
                options.language = ParseLanguage(argv[++i]);
            } catch (const std::invalid_argument&) {
                return std::nullopt;
            }
        } else if (arg == "--out" && hasValue) {
            options.out = argv[++i];
        } else if (arg == "--paragraphs" && hasValue) {
            options.paragraphs = argv[++i];
        } else if (arg == "--dtd" && hasValue && command == "revo") {
            options.dtd = argv[++i];
        } else if (arg == "--name" && hasValue && command == "revo") {
            options.name = argv[++i];
        } else if (arg == "--replace" && command == "revo") {
            options.replace = true;
        } else if (arg == "--data" && hasValue &&
                   (command == "revo" || ManagesDictionaries(command))) {
            options.data = argv[++i];
        } else if (arg.starts_with("--")) {
            return std::nullopt;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.language.has_value() == (command == "revo" || ManagesDictionaries(command))) {
        return std::nullopt;
    }
    return options;
}

int Build(const Options& options) {
    const bool fromText = options.paragraphs.has_value();
    if (!options.out || options.files.size() != (fromText ? 0u : 1u)) {
        return Usage();
    }
    try {
        const ImportLock lock(*options.out);
        BuildSummary summary;
        if (fromText) {
            summary = BuildFromParagraphs(*options.language, *options.paragraphs, *options.out);
        } else {
            std::string why;
            platform::SourceStream source(options.files[0], why);
            if (!source) {
                std::cerr << "kelimbo-index: cannot read " << options.files[0] << ": " << why
                          << "\n";
                return 1;
            }
            summary = BuildFromTsv(*options.language, source, options.files[0], *options.out);
        }
        WriteFullTextAfterImport(*options.out, {*options.language == Language::Esperanto});
        std::cout << summary.articles << " articles, " << summary.headwords << " headwords; text "
                  << summary.textBytes << " bytes, index " << summary.indexBytes << " bytes\n";
        return 0;
    } catch (const SourceError& e) {
        const std::string& file = fromText ? *options.paragraphs : options.files[0];
        std::cerr << "kelimbo-index: " << file << ": " << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-index: " << e.what() << "\n";
    }
    return 1;
}

int Check(const Options& options) {
    if (options.files.empty() || options.files.size() > 2) {
        return Usage();
    }
    std::optional<std::filesystem::path> text;
    if (options.files.size() == 2) {
        text = options.files[1];
    }
    const IndexCheck check = CheckIndex(*options.language, options.files[0], text);
    if (check.withoutIdentity) {
        std::cout << options.files[0]
                  << ": records no identity of its text file (made before indexes did), so "
                     "which text it belongs to cannot be checked\n";
    }
    if (check.problemCount == 0) {
        std::cout << options.files[0] << ": " << check.headwords << " headwords, "
                  << check.references << " references: OK\n";
        return 0;
    }
    for (const std::string& problem : check.problems) {
        std::cout << problem << "\n";
    }
    std::cout << options.files[0] << ": " << check.problemCount << " problem(s)\n";
    return 1;
}

int Dump(const Options& options) {
    if (options.files.size() != 1) {
        return Usage();
    }
    const std::unique_ptr<cIndex> index = MakeIndex(*options.language);
    try {
        index->Load(options.files[0].c_str());
    } catch (const cExcMsg& e) {
        std::cerr << ToUtf8(e.GetMsg()) << "\n";
        return 1;
    }
    for (std::uint32_t i = 0; i < index->Count(); ++i) {
        std::cout << i << '\t' << ToUtf8(from_index_key(index->HeadwordText(i))) << '\t';
        const char* separator = "";
        for (const ArticleRef& ref : index->GetRefs(i)) {
            std::cout << separator << ref.start << '-' << ref.end;
            separator = ",";
        }
        std::cout << '\n';
    }
    return 0;
}

// Both directions from a ReVo folder, written together.
int Revo(const Options& options) {
    if (options.out.has_value() == options.name.has_value() || options.files.size() != 1 ||
        (options.data && !options.name) || (options.replace && !options.name)) {
        return Usage();
    }
    try {
        std::optional<NewDictionary> added;
        if (options.name) {
            added.emplace(DataFolder(options.data), *options.name, options.replace);
        }
        const std::filesystem::path out =
            added ? added->Staging() : std::filesystem::path(*options.out);
        std::optional<std::filesystem::path> dtd;
        if (options.dtd) {
            dtd = *options.dtd;
        }
        const RevoFolders folders = LocateRevo(options.files[0], dtd);
        std::optional<ImportLock> lock;
        if (!added) {
            lock.emplace(out); // before the reading, to fail early
        }
        RevoParser parser(folders.dtd);
        RevoImport revo;
        {
            ProgressBar bar("Reading ReVo");
            revo = ImportRevo(folders.xml, parser, [&bar](std::size_t done, std::size_t total) {
                bar.Update(done, total);
            });
        }
        const auto now = std::chrono::system_clock::now();
        std::vector<ImportedDirection> directions(2);
        directions[0].language = Language::Esperanto;
        directions[0].note =
            ProvenanceNote(RevoProvenance(Language::Esperanto, revo.newestDate), now);
        directions[0].articles = std::move(revo.esperanto);
        directions[1].language = Language::Russian;
        directions[1].note =
            ProvenanceNote(RevoProvenance(Language::Russian, revo.newestDate), now);
        directions[1].articles = std::move(revo.russian);
        const std::vector<DirectionReport> reports =
            WriteImportedDirections(std::move(directions), out);
        WriteFullTextAfterImport(out, {true, false});
        if (added) {
            added->Publish();
            if (!added->OrderProblem().empty()) {
                std::cerr << "kelimbo-index: warning: " << added->OrderProblem() << "\n";
            }
        }
        std::cout << DescribeImport(revo, reports);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-index: " << e.what() << "\n";
    }
    return 1;
}

// "12 headwords" from a direction's index, or why it cannot be read.
std::string HeadwordsOf(Language language, const std::string& folder) {
    const std::unique_ptr<cIndex> index = MakeIndex(language);
    try {
        index->Load((folder + FilesOf(language).index).c_str());
        return std::to_string(index->Count()) + " headwords";
    } catch (const cExcMsg& e) {
        return "unreadable (" + ToUtf8(e.GetMsg()) + ")";
    }
}

std::uintmax_t FolderBytes(const std::string& folder) {
    std::uintmax_t bytes = 0;
    std::error_code unreadable;
    for (const auto& entry : std::filesystem::directory_iterator(folder, unreadable)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored)) {
            const std::uintmax_t size = entry.file_size(ignored);
            bytes += ignored ? 0 : size;
        }
    }
    return bytes;
}

// One line a dictionary, tab-separated: name, on or off, its directions with
// their headwords, its size in bytes. What the order file or the folder holds
// amiss goes to the standard error.
int List(const std::string& data) {
    const DictionaryList list = ListDictionaries(data);
    for (const std::string& message : list.messages) {
        std::cerr << "kelimbo-index: " << message << "\n";
    }
    for (const AddedDictionary& dictionary : list.dictionaries) {
        std::string directions;
        if (dictionary.esperanto) {
            directions = "eo-ru " + HeadwordsOf(Language::Esperanto, dictionary.folder);
        }
        if (dictionary.russian) {
            directions += (directions.empty() ? "" : ", ") + std::string("ru-eo ") +
                          HeadwordsOf(Language::Russian, dictionary.folder);
        }
        std::cout << dictionary.name << '\t' << (dictionary.enabled ? "on" : "off") << '\t'
                  << directions << '\t' << FolderBytes(dictionary.folder) << " bytes\n";
    }
    return 0;
}

int Manage(const std::string& command, const Options& options) {
    const std::string data = DataFolder(options.data);
    const std::size_t names = options.files.size();
    if (command == "list" ? names != 0 : command == "order" ? names == 0 : names != 1) {
        return Usage();
    }
    try {
        if (command == "list") {
            return List(data);
        }
        if (command == "remove") {
            RemoveDictionary(data, options.files[0]);
        } else if (command == "order") {
            OrderDictionaries(data, options.files);
        } else {
            EnableDictionary(data, options.files[0], command == "enable");
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-index: " << e.what() << "\n";
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help") {
            std::cout << kUsage << kHelp;
            return 0;
        }
        if (std::string_view(argv[i]) == "--version") {
            std::cout << "kelimbo-index " KELIMBO_VERSION "\n";
            return 0;
        }
    }
    if (argc < 2) {
        return Usage();
    }
    const std::string command = argv[1];
    if (command == "import") {
        return RunImportCommand(argc - 2, argv + 2);
    }
    if (command == "fulltext") {
        return RunFullTextCommand(argc - 2, argv + 2);
    }
    const std::optional<Options> options = ParseOptions(command, argc, argv);
    if (!options) {
        return Usage();
    }
    if (command == "build") {
        return Build(*options);
    }
    if (command == "check") {
        return Check(*options);
    }
    if (command == "dump") {
        return Dump(*options);
    }
    if (command == "revo") {
        return Revo(*options);
    }
    if (ManagesDictionaries(command)) {
        return Manage(command, *options);
    }
    return Usage();
}
