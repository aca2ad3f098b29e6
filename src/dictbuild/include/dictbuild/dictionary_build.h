// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Making a direction's dictionary files: the text file and its headword index.

#include "articles/provider.h"
#include "dictbuild/dictionary_direction.h"
#include "dictbuild/tsv_source.h"

#include <cstddef>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

struct BuildSummary {
    std::size_t articles = 0;
    std::size_t headwords = 0;
    std::size_t textBytes = 0;
    std::size_t indexBytes = 0;
};

// Writes the direction's text file and index into `outDir` from the articles
// of a source (through DirectionWriter). A headword's own articles come before
// those that name it as an extra headword, each group in source order. Articles are separated by
// blank lines. Throws SourceError naming the source line for what the files cannot hold; the
// outputs are written under temporary names and renamed only when both are complete, so a failed
// build changes nothing.
BuildSummary BuildFromSource(Language language, const std::vector<SourceArticle>& articles,
                             const std::filesystem::path& outDir);

// The same for the TSV source read from `in` (ReadTsvSource), each article
// written as it is read. Throws std::runtime_error naming `sourceName` when
// the stream fails before its end; nothing is then written.
BuildSummary BuildFromTsv(Language language, std::istream& in, const std::string& sourceName,
                          const std::filesystem::path& outDir);

// Indexes an existing text file of the direction without rewriting it: its
// articles are separated by blank lines, and each article's headword is its
// first word. Writes only the index into `outDir`. Throws SourceError.
BuildSummary BuildFromParagraphs(Language language, const std::filesystem::path& textFile,
                                 const std::filesystem::path& outDir);
