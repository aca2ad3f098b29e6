// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Importing a ReVo folder: every article file read, both directions' articles
// gathered.

#include "importing/import_writer.h"
#include "importing/imported_article.h"
#include "importing/provenance.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class RevoParser;

struct RevoFolders {
    std::filesystem::path xml; // the folder of the *.xml files
    std::filesystem::path dtd; // the folder of vokoxml.dtd
};

// The folders of an import: `given` holds the *.xml files or a revo/ folder of
// them; the DTD folder is `dtd`, or else the "dtd" folder beside the files'
// folder, where their DOCTYPE looks for it. Throws std::runtime_error naming
// what is missing.
RevoFolders LocateRevo(const std::filesystem::path& given,
                       const std::optional<std::filesystem::path>& dtd);

struct SkippedFile {
    std::string name;
    std::string reason;
};

struct RevoImport {
    std::vector<ImportedArticle> esperanto;
    std::vector<ImportedArticle> russian;
    std::size_t files = 0; // *.xml files found
    std::vector<SkippedFile> skipped;
    std::size_t articles = 0;
    std::size_t derivations = 0;
    std::size_t untranslated = 0; // derivations without any Russian
    std::size_t translations = 0;
    std::string newestDate; // of the newest article revision, or empty
};

// Reads every *.xml file of the folder, in name order; a file the parser
// rejects is skipped with its reason. `progress` (may be empty) hears the
// count of files done after each.
RevoImport ImportRevo(const std::filesystem::path& xmlFolder, RevoParser& parser,
                      const std::function<void(std::size_t, std::size_t)>& progress = {});

// The note at the start of each direction's text file.
Provenance RevoProvenance(Language language, const std::string& newestDate);

// The summary printed at the end of an import.
std::string DescribeImport(const RevoImport& revo, const std::vector<DirectionReport>& reports);
