// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writing the word list for other programs.
//
// Anki (AnkiTsv): one note a line, "WORD<TAB>TRANSLATION<TAB>TAGS", after the
// header lines Anki's "Import File" reads, so that it takes the file without
// settings: "#separator:tab", "#html:true", "#tags column:3". The translation
// is the word's whole article as the reader shows it (every meaning and
// example the learner saw), as HTML: lines joined by <br>, & < > " escaped,
// tabs as spaces. Tags: "kelimbo eo-ru" or "kelimbo ru-eo", and "missing"
// for a word no dictionary has any more, which is written with an empty
// translation rather than dropped.
//
// CSV (RFC 4180): a header record "word,translation,direction,added,lookups",
// then one record a word: the translation as plain text, the direction
// "eo-ru" or "ru-eo", the date added as "YYYY-MM-DD hh:mm:ss" UTC, the count;
// a field with a comma, a quote or a line break is quoted, its quotes doubled;
// records end in CR LF.

#include "wordlist/word.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class LookupCore;

namespace wordlist {

enum class ExportFormat { AnkiTsv, Csv };

// A word with its article text (WordArticle's), or nothing when it is missing.
struct ExportEntry {
    Word word;
    std::optional<std::string> article;
};

// The file's bytes for the entries, in their order.
std::string FormatExport(const std::vector<ExportEntry>& entries, ExportFormat format);

// The words' articles through the core, then FormatExport. Raises cExcMsg as
// the core does when an index cannot be read.
std::string ExportWords(const std::vector<Word>& words, LookupCore& core, ExportFormat format);

// Writes an export's bytes to the file at the narrow path `path`, whole or
// not at all (a new file renamed over it once on the disk). False, with a
// Russian message (UTF-8) in `message`, when it could not be written.
bool WriteExportFile(const std::string& path, std::string_view bytes, std::string& message);

} // namespace wordlist
