// SPDX-License-Identifier: GPL-2.0-or-later
// kelimbo-index fulltext DIR
// kelimbo-index fulltext --name NAME [--data DIR]
#include "fulltext_command.h"

#include "articles/dictionary_files.h"
#include "articles/dictionary_set.h"
#include "dictbuild/staged_files.h"
#include "errors/exc_msg.h"
#include "forms/russian_analyser.h"
#include "fulltext/index_file.h"
#include "fulltext/words.h"
#include "import_command.h"
#include "platform/code_page.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

int FullTextUsage() {
    std::cerr << "usage: kelimbo-index fulltext DIR | --name NAME [--data DIR]\n";
    return 2;
}

std::string Message(const std::exception& e) {
    if (const auto* message = dynamic_cast<const cExcMsg*>(&e)) {
        return platform::ToUtf8(message->GetMsg());
    }
    return e.what();
}

bool Holds(const std::filesystem::path& folder, const DictionaryFiles& files) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(folder / files.text, ignored) &&
           std::filesystem::is_regular_file(folder / files.index, ignored);
}

} // namespace

void WriteFullTextIndex(const std::filesystem::path& folder, bool esperanto, std::ostream* report,
                        fulltext::BaseKeys& keys) {
    const DictionaryFiles& files = esperanto ? kEsperantoFiles : kRussianFiles;
    const fulltext::BuildSummary summary =
        fulltext::WriteIndex((folder / files.text).string(), (folder / files.index).string(),
                             (folder / files.fulltext).string(), esperanto, keys);
    if (report != nullptr) {
        *report << (esperanto ? "eo-ru" : "ru-eo") << ": full-text index of " << summary.entries
                << " entries, " << summary.textBytes << " bytes of article text, "
                << summary.indexBytes << " bytes\n";
    }
}

void WriteFullTextAfterImport(const std::filesystem::path& folder,
                              std::initializer_list<bool> directions) {
    const forms::RussianAnalyser analyser;
    fulltext::BaseKeys keys(analyser);
    for (const bool esperanto : directions) {
        try {
            WriteFullTextIndex(folder, esperanto, nullptr, keys);
        } catch (const std::exception& e) {
            std::cerr << "kelimbo-index: warning: the full-text index was not written: "
                      << Message(e) << "\nkelimbo-index: 'kelimbo-index fulltext' builds it\n";
        }
    }
}

int RunFullTextCommand(int argc, char** argv) {
    std::optional<std::string> folder;
    std::optional<std::string> name;
    std::optional<std::string> data;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--name" && i + 1 < argc) {
            name = argv[++i];
        } else if (arg == "--data" && i + 1 < argc) {
            data = argv[++i];
        } else if (arg.starts_with("--") || folder) {
            return FullTextUsage();
        } else {
            folder = arg;
        }
    }
    if (folder.has_value() == name.has_value() || (data && !name)) {
        return FullTextUsage();
    }
    try {
        if (name) {
            const std::string dataFolder = DataFolder(data);
            for (const AddedDictionary& added : ListDictionaries(dataFolder).dictionaries) {
                if (added.name == *name) {
                    folder = added.folder;
                }
            }
            if (!folder) {
                std::cerr << "kelimbo-index: no dictionary named " << *name << " in " << dataFolder
                          << "\n";
                return 1;
            }
        }
        const std::filesystem::path path(*folder);
        const ImportLock lock(path);
        bool any = false;
        const forms::RussianAnalyser analyser;
        fulltext::BaseKeys keys(analyser);
        for (const bool esperanto : {true, false}) {
            if (Holds(path, esperanto ? kEsperantoFiles : kRussianFiles)) {
                WriteFullTextIndex(path, esperanto, &std::cout, keys);
                any = true;
            }
        }
        if (!any) {
            std::cerr << "kelimbo-index: " << *folder << " holds no dictionary direction\n";
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "kelimbo-index: " << Message(e) << "\n";
    }
    return 1;
}
