// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The dictionaries added beside the data folder's own pair. Each lives in a
// folder of its own, dictionaries/NAME/ under the data folder, holding one or
// both directions' files under the usual names (dictionary_files.h). The
// plain file dictionaries/order, which a person may edit, gives their order
// and which are switched off: one name a line, "-NAME" for one switched off,
// blank lines and lines starting with '#' ignored. This file is the one place
// that reads and writes it.
//
// Paths are narrow strings of the file system's bytes; folders end in '/'.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The folder of the added dictionaries in a data folder, and the order file's
// name in it (a name no dictionary may take).
inline constexpr const char* kDictionariesFolderName = "dictionaries";
inline constexpr const char* kOrderFileName = "order";
inline constexpr std::size_t kMaxDictionaryNameBytes = 64;

// Why `name` cannot name a dictionary, for a message; empty when it can. A
// name is 1 to kMaxDictionaryNameBytes ASCII letters, digits, '-', '_' and
// '.', neither starting with '.' or '-' nor being the order file's name.
std::string DictionaryNameProblem(std::string_view name);

// "DATA/dictionaries/" for a data folder "DATA/" (or "" for the current one).
std::string DictionariesFolderOf(std::string_view dataFolder);

// One line of the order file that names a dictionary.
struct OrderEntry {
    std::string name;
    bool enabled = true;

    bool operator==(const OrderEntry&) const = default;
};

// The order file's entries, in its order, and a message for each line that
// was skipped: a malformed name, or a name given twice (the first counts).
struct OrderFile {
    std::vector<OrderEntry> entries;
    std::vector<std::string> messages;
};

OrderFile ParseOrderFile(std::string_view text);
// The file's text for these entries, with a short explanation at its head;
// ParseOrderFile gives them back.
std::string FormatOrderFile(const std::vector<OrderEntry>& entries);

// An added dictionary as the programs see it.
struct AddedDictionary {
    std::string name;
    std::string folder; // ends in '/'
    bool enabled = true;
    bool esperanto = false; // holds the Esperanto–Russian index
    bool russian = false;   // holds the Russian–Esperanto index
};

// Every added dictionary of a data folder, in the order to show them: those
// the order file names in its order, then the others by name (so a new one,
// unnamed, comes after the ordered ones), and a message for each line of the
// order file that was skipped (including names of no dictionary) and each
// folder that holds no dictionary. Folders whose names start with '.' (an
// import's staging folders) are not dictionaries and are passed over without
// a word. A missing folder or order file is no dictionary and no message.
struct DictionaryList {
    std::vector<AddedDictionary> dictionaries;
    std::vector<std::string> messages;
};

DictionaryList ListDictionaries(std::string_view dataFolder);

// Replaces the order file of a data folder whole (a new file renamed over
// it), creating dictionaries/ when missing. Throws std::runtime_error.
void WriteDictionaryOrder(std::string_view dataFolder, const std::vector<OrderEntry>& entries);

// Names a dictionary last in the order file, keeping the file's own lines
// as a person wrote them; dictionaries listed by name only until now are
// named before it, so that the order shown does not change. Throws
// std::runtime_error.
void AddToDictionaryOrder(std::string_view dataFolder, const std::string& name);

// The entries that keep a list's order and switches, to write back after a
// change.
std::vector<OrderEntry> OrderOf(const DictionaryList& list);
