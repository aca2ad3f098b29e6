// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Turning imported articles into a direction's dictionary files.

#include "dictbuild/dictionary_build.h"
#include "dictbuild/direction_writer.h"
#include "dictbuild/staged_files.h"
#include "importing/code_page_fit.h"
#include "importing/imported_article.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct ImportedDirection {
    Language language = Language::Esperanto;
    std::string note; // UTF-8, written before the articles; no headword points at it
    std::vector<ImportedArticle> articles;
};

// What became of a direction's articles.
struct DirectionReport {
    Language language = Language::Esperanto;
    std::size_t entries = 0;      // imported articles given
    std::size_t spans = 0;        // articles written, after cutting long entries
    std::size_t splitEntries = 0; // entries that needed more than one span
    std::size_t headwords = 0;    // distinct headwords of the index
    std::size_t textBytes = 0;
    std::size_t indexBytes = 0;
    FitTally fit;                     // characters replaced or dropped
    std::size_t leftOutCount = 0;     // headwords the index could not take
    std::vector<std::string> leftOut; // the first of them, with the reason
    static constexpr std::size_t kMaxListed = 20;
};

// A direction fitted to its files: every article a source article of at most
// one span, each headword one the index can take.
struct PreparedDirection {
    std::string note; // the note in source form
    std::vector<SourceArticle> articles;
    DirectionReport report;
};

// Fits every text to the direction's file (FitText), turns marks into the
// file's own (kMorphemeMark becomes the Esperanto file's slash; an x after an
// Esperanto base letter gets a grave accent before it, so that the reader does
// not join them), cuts long entries (SplitIntoSpans) and leaves out headwords
// that are empty, longer than 255 bytes or would have more than 255 articles,
// reporting each, and keys that the index's prefix lookup would not find by
// their own text (see UnfindableKeys). Articles whose headwords are all left
// out are left out.
PreparedDirection PrepareDirection(const ImportedDirection& direction);

// One direction written as its articles come, in bounded memory: each is
// prepared as PrepareDirection does and written at once (DirectionWriter),
// the unfindable keys left out at the end. The files are the same as those of
// the prepared direction written whole.
class DirectionImport {
public:
    // Starts the direction's text file in the folder of `staged`, beginning
    // with the note (UTF-8). Throws as DirectionWriter does.
    DirectionImport(Language language, std::string_view note, StagedFiles& staged);
    void Add(const ImportedArticle& article);
    // Stages the text and its index; the caller commits. Throws SourceError
    // or std::runtime_error.
    DirectionReport Finish();

private:
    struct Marked {
        std::string headword;
        std::uint32_t key = 0;
    };

    Language m_language;
    DirectionReport m_report; // before the writer, which the note's fitting tallies into
    DirectionWriter m_writer;
    std::vector<Marked> m_marked; // headwords whose keys the order may not find
};

// Prepares and writes every direction (DirectionImport), then commits all their files into
// `outDir` together: all appear, or none changes. Throws SourceError or
// std::runtime_error (filesystem errors included) when a file cannot be written.
std::vector<DirectionReport>
WriteImportedDirections(const std::vector<ImportedDirection>& directions,
                        const std::filesystem::path& outDir);
// The same, giving back each article's memory as soon as it is prepared.
std::vector<DirectionReport> WriteImportedDirections(std::vector<ImportedDirection>&& directions,
                                                     const std::filesystem::path& outDir);

// The lines of a summary that tell what became of a direction: headwords,
// entries and articles, file sizes, the characters replaced and dropped (the
// most frequent of each), the headwords left out.
std::string DescribeDirection(const DirectionReport& report);
