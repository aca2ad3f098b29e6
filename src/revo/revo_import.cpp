// SPDX-License-Identifier: GPL-2.0-or-later
#include "revo/revo_import.h"

#include "importing/utf8_points.h"
#include "revo/revo_entries.h"
#include "revo/revo_parser.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool HasXmlFiles(const std::filesystem::path& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".xml") {
            return true;
        }
    }
    return false;
}

} // namespace

RevoFolders LocateRevo(const std::filesystem::path& given,
                       const std::optional<std::filesystem::path>& dtd) {
    RevoFolders folders;
    if (HasXmlFiles(given)) {
        folders.xml = given;
    } else if (HasXmlFiles(given / "revo")) {
        folders.xml = given / "revo";
    } else {
        throw std::runtime_error(given.string() +
                                 " holds no *.xml files, nor a revo/ folder of them");
    }
    folders.dtd = dtd ? *dtd : folders.xml / ".." / "dtd";
    std::error_code error;
    if (!std::filesystem::is_regular_file(folders.dtd / "vokoxml.dtd", error)) {
        throw std::runtime_error("no vokoxml.dtd in " + folders.dtd.lexically_normal().string() +
                                 (dtd ? "" : "; name the DTD folder with --dtd"));
    }
    return folders;
}

RevoImport ImportRevo(const std::filesystem::path& xmlFolder, RevoParser& parser,
                      const std::function<void(std::size_t, std::size_t)>& progress) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(xmlFolder)) {
        if (entry.path().extension() == ".xml") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());

    RevoImport result;
    result.files = files.size();
    std::vector<RussianLink> links;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ParsedFile parsed = parser.ParseFile(files[i]);
        if (!parsed.doc) {
            result.skipped.push_back({files[i].filename().string(), parsed.error});
        } else {
            DocumentEntries entries = ExtractEntries(parsed.doc.get());
            std::move(entries.esperanto.begin(), entries.esperanto.end(),
                      std::back_inserter(result.esperanto));
            std::move(entries.russian.begin(), entries.russian.end(), std::back_inserter(links));
            result.articles += entries.articles;
            result.derivations += entries.derivations;
            result.untranslated += entries.untranslated;
            result.translations += entries.translations;
            result.newestDate = std::max(result.newestDate, entries.newestDate);
        }
        if (progress) {
            progress(i + 1, files.size());
        }
    }
    result.russian = RussianArticles(links);
    return result;
}

Provenance RevoProvenance(Language language, const std::string& newestDate) {
    Provenance provenance;
    provenance.title = language == Language::Esperanto
                           ? "Kelimbo Esperanto\u2013Russian dictionary, made from Reta Vortaro"
                           : "Kelimbo Russian\u2013Esperanto dictionary, made from Reta Vortaro";
    provenance.source = "Reta Vortaro (ReVo), its XML sources (revo-fonto) and DTD (voko-grundo)";
    provenance.licence = "GNU General Public License, version 2";
    provenance.credit =
        "Reta Vortaro (reta-vortaro.de), \u00A9 Wolfram Diestel and the ReVo contributors";
    provenance.dataAsOf = newestDate;
    return provenance;
}

std::string DescribeImport(const RevoImport& revo, const std::vector<DirectionReport>& reports) {
    std::string text =
        "ReVo: " + std::to_string(revo.files) + " files, " + std::to_string(revo.skipped.size()) +
        " skipped; " + std::to_string(revo.articles) + " articles read, " +
        std::to_string(revo.derivations) + " derivations (" + std::to_string(revo.untranslated) +
        " without Russian), " + std::to_string(revo.translations) + " Russian translations\n";
    for (const DirectionReport& report : reports) {
        text += DescribeDirection(report);
    }
    for (const SkippedFile& skipped : revo.skipped) {
        text += "skipped " + skipped.name + ": " + skipped.reason + "\n";
    }
    return text;
}
