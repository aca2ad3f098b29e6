// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Importing another program's dictionary as one direction of Kelimbo's: every
// article read, fitted and written with the shared import writer, under a note
// on where it came from.

#include "formats/dictionary_reader.h"
#include "importing/import_writer.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace formats {

struct ImportRequest {
    Format format = Format::StarDict;
    std::filesystem::path source;
    Language language = Language::Esperanto;
    std::filesystem::path outDir;
    bool replace = false; // an existing pair of the direction may be replaced
    InflateLimits limits; // how far the source's files may inflate
};

struct FormatImport {
    DictionaryInfo info;
    SkipCounts skipped;
    std::uint64_t articles = 0;    // articles the reader gave
    std::uint64_t headwords = 0;   // their headwords, counted with repeats
    std::uint64_t otherScript = 0; // of those, ones that begin with the other direction's letters
    DirectionReport report;
};

// The direction's text file or index is already in the folder and the request
// does not replace it.
class ExistingDictionary : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The note that opens the text file: the dictionary's name and description as
// its headers give them, the source file, its languages, the day of the import.
std::string ImportNote(const DictionaryInfo& info, std::chrono::system_clock::time_point when);

// Reads the whole dictionary, then writes the direction's two files into the
// folder (made when missing) together: both appear, or the folder stays as it
// was; the other direction's files are left alone. Refuses, before reading,
// a folder that already holds either file of the direction unless the request
// replaces them, and writes nothing for a source without articles.
// `progress` (may be empty) hears Done() and Total() of the reader after each
// article, and Total() as both once the reading is done. Throws
// ExistingDictionary, FormatError, SourceError or std::runtime_error.
FormatImport
ImportDictionary(const ImportRequest& request,
                 const std::function<void(std::uint64_t, std::uint64_t)>& progress = {});

// The summary printed at the end of an import.
std::string DescribeFormatImport(const FormatImport& import);

} // namespace formats
