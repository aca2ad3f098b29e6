// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Readers of other programs' dictionary formats: StarDict, dictd, DSL and
// XDXF. Each turns one dictionary into articles of plain UTF-8 text, one at a
// time, so a million entries never sit in memory at once as articles.
//
// Files come from anywhere: a header that promises more than its file holds,
// an offset or size outside the data, or data that cannot be decoded is a
// FormatError naming the file and the entry. Nothing is read outside a file's
// data and nothing is allocated that the files' sizes do not justify.

#include "importing/imported_article.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

enum class Format { StarDict, Dictd, Dsl, Xdxf };

// What the dictionary says about itself, for a note on where it came from.
struct DictionaryInfo {
    Format format = Format::StarDict;
    std::string name;         // StarDict bookname, dictd 00databaseshort, DSL #NAME, XDXF title
    std::string description;  // StarDict description, dictd 00databaseinfo, XDXF description
    std::string fromLanguage; // DSL #INDEX_LANGUAGE, XDXF lang_from; empty when not given
    std::string toLanguage;   // DSL #CONTENTS_LANGUAGE, XDXF lang_to; empty when not given
    std::string sourceFile;   // the name of the file that was opened, without its folder
};

// What the reader left out, by kind.
struct SkipCounts {
    std::uint64_t resources = 0;  // StarDict pictures, sounds and resource files; <rref>; <img>
    std::uint64_t media = 0;      // DSL [s] and [video] parts
    std::uint64_t metadata = 0;   // dictd 00database… entries
    std::uint64_t duplicates = 0; // entries repeating an earlier one's headword and text
    std::uint64_t empty = 0;      // entries without a usable headword or without text
};

// A damaged or unreadable dictionary. what() reads "FILE: ENTRY: PROBLEM"
// (without "ENTRY: " when no entry is concerned).
class FormatError : public std::runtime_error {
public:
    FormatError(const std::string& file, const std::string& entry, const std::string& problem);
    const std::string& File() const { return m_file; }
    const std::string& Entry() const { return m_entry; }

private:
    std::string m_file;
    std::string m_entry;
};

// How much a file may give, inflated or not: `ratio` bytes for each of its
// own bytes, but never less than `minimum` (small files of very repetitive
// text) nor more than `absolute`. Text compresses far less than 64 to 1, and
// the text file of a direction holds at most 2 GiB.
struct InflateLimits {
    std::uint64_t ratio = 64;
    std::uint64_t minimum = std::uint64_t{64} << 20;
    std::uint64_t absolute = std::uint64_t{2} << 30;

    // The bytes a file of `fileSize` bytes may give.
    std::uint64_t For(std::uint64_t fileSize) const;
    // Why that is the limit, for a message: "64 times its size of 10 bytes".
    std::string Explain(std::uint64_t fileSize) const;
};

// A file that gives, or whose entries ask for, more than its InflateLimits allow.
class InflateLimitError : public FormatError {
public:
    using FormatError::FormatError;
};

class DictionaryReader {
public:
    virtual ~DictionaryReader() = default;
    DictionaryReader(const DictionaryReader&) = delete;
    DictionaryReader& operator=(const DictionaryReader&) = delete;

    // Known once the reader is open, before the first article.
    const DictionaryInfo& Info() const { return m_info; }
    // The next article, or false after the last. Throws FormatError. Its
    // headwords are its lookup keys, trimmed, without line ends and never
    // empty, the entry's own first. Its text has no line end at its end; its
    // first line begins with the shown headword, which may hold parts that
    // the key leaves out (DSL {…}, XDXF <opt>): those are never headwords, so
    // that only the key is indexed (see HeadlineShowsKey). The rest is the
    // body, markup turned into plain text, its structure into indentation of
    // two spaces a level.
    virtual bool Next(ImportedArticle& article) = 0;
    // What was left out so far.
    const SkipCounts& Skipped() const { return m_skipped; }
    // How far reading has come, in units of the reader's choice (entries or
    // bytes): Done() grows from 0 to Total(), for a progress bar.
    std::uint64_t Done() const { return m_done; }
    std::uint64_t Total() const { return m_total; }

protected:
    DictionaryReader() = default;
    DictionaryInfo m_info;
    SkipCounts m_skipped;
    std::uint64_t m_done = 0;
    std::uint64_t m_total = 0;
};

// "stardict", "dictd", "dsl" or "xdxf".
std::optional<Format> FormatFromName(std::string_view name);
std::string_view FormatName(Format format);
// The format a file's name makes plain: .ifo, .index, .dsl, .dsl.dz, .xdxf,
// .xdxf.dz; nullopt otherwise.
std::optional<Format> FormatFromFileName(const std::filesystem::path& source);

// Opens a dictionary: for StarDict its .ifo (or any of its files), for dictd
// its .index (or its .dict/.dict.dz), for DSL the .dsl or .dsl.dz, for XDXF
// the .xdxf (or a gzip-compressed one). Reads and checks the headers; throws
// FormatError.
// Every file is read within `limits`.
std::unique_ptr<DictionaryReader> OpenDictionary(Format format, const std::filesystem::path& source,
                                                 const InflateLimits& limits = {});

std::unique_ptr<DictionaryReader> OpenStarDict(const std::filesystem::path& source,
                                               const InflateLimits& limits = {});
std::unique_ptr<DictionaryReader> OpenDictd(const std::filesystem::path& source,
                                            const InflateLimits& limits = {});
std::unique_ptr<DictionaryReader> OpenDsl(const std::filesystem::path& source,
                                          const InflateLimits& limits = {});
std::unique_ptr<DictionaryReader> OpenXdxf(const std::filesystem::path& source,
                                           const InflateLimits& limits = {});

} // namespace formats
