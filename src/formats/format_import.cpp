// SPDX-License-Identifier: GPL-2.0-or-later
#include "formats/format_import.h"

#include "dictbuild/dictionary_direction.h"
#include "dictbuild/staged_files.h"
#include "importing/import_writer.h"
#include "importing/provenance.h"
#include "importing/utf8_points.h"

#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace formats {
namespace {

namespace fs = std::filesystem;

// A description longer than this is cut at a line end: the note heads the
// file, it does not replace the source's documentation.
constexpr std::size_t kMaxDescriptionBytes = 8192;

enum class Script { Latin, Cyrillic, Other };

Script ScriptOf(std::string_view word) {
    for (std::size_t pos = 0; pos < word.size();) {
        const char32_t c = NextCodePoint(word, pos);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
            (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)) {
            return Script::Latin;
        }
        if (c >= 0x400 && c <= 0x4FF) {
            return Script::Cyrillic;
        }
    }
    return Script::Other;
}

// The description without empty lines, so that the note stays one block of
// the text file, and without its end when it is too long.
std::string NoteDescription(std::string_view description) {
    std::string out;
    std::size_t begin = 0;
    while (begin < description.size()) {
        std::size_t end = description.find('\n', begin);
        if (end == std::string_view::npos) {
            end = description.size();
        }
        const std::string_view line = description.substr(begin, end - begin);
        begin = end + 1;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
            continue;
        }
        if (out.size() + line.size() + 1 > kMaxDescriptionBytes) {
            out += "\u2026\n";
            break;
        }
        out.append(line);
        out += '\n';
    }
    return out;
}

// Appends the parts in turn (chains of + on strings draw a false -Wrestrict
// from GCC 12 at -O3).
void Append(std::string& out, std::initializer_list<std::string_view> parts) {
    for (const std::string_view part : parts) {
        out.append(part);
    }
}

} // namespace

std::string ImportNote(const DictionaryInfo& info, std::chrono::system_clock::time_point when) {
    std::string note = info.name.empty() ? info.sourceFile : info.name;
    note += '\n';
    note += NoteDescription(info.description);
    Append(note, {"Source: ", info.sourceFile, " (", FormatName(info.format), ")\n"});
    if (!info.fromLanguage.empty() || !info.toLanguage.empty()) {
        Append(note, {"Languages: ", info.fromLanguage, " \u2013 ", info.toLanguage, "\n"});
    }
    Append(note, {"Imported: ", IsoDate(when)});
    return note;
}

FormatImport ImportDictionary(const ImportRequest& request,
                              const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    const DictionaryFiles files = FilesOf(request.language);
    if (!request.replace) {
        for (const char* name : {files.text, files.index}) {
            if (fs::exists(request.outDir / name)) {
                throw ExistingDictionary((request.outDir / name).string() +
                                         " is already there; --replace replaces the pair");
            }
        }
    }
    auto reader = OpenDictionary(request.format, request.source, request.limits);
    fs::create_directories(request.outDir); // before the reading, to fail early
    FormatImport result;
    result.info = reader->Info();
    const Script other = request.language == Language::Esperanto ? Script::Cyrillic : Script::Latin;
    // Each article is written as it is read: the import holds none of them.
    StagedFiles staged(request.outDir);
    DirectionImport direction(request.language,
                              ImportNote(result.info, std::chrono::system_clock::now()), staged);
    ImportedArticle article;
    while (reader->Next(article)) {
        ++result.articles;
        for (const std::string& headword : article.headwords) {
            ++result.headwords;
            result.otherScript += ScriptOf(headword) == other ? 1 : 0;
        }
        direction.Add(article);
        article = {};
        if (progress) {
            progress(reader->Done(), reader->Total());
        }
    }
    if (progress) {
        progress(reader->Total(), reader->Total());
    }
    result.skipped = reader->Skipped();
    reader.reset(); // a StarDict reader holds the whole .idx
    if (result.articles == 0) {
        // An empty pair would replace a dictionary with nothing.
        throw std::runtime_error(request.source.string() +
                                 ": no article to import; nothing was written");
    }
    result.report = direction.Finish();
    staged.Commit();
    return result;
}

std::string DescribeFormatImport(const FormatImport& import) {
    const DictionaryInfo& info = import.info;
    std::string text;
    Append(text, {FormatName(info.format), " ", info.sourceFile});
    if (!info.name.empty()) {
        Append(text, {" \"", info.name, "\""});
    }
    Append(text, {": ", std::to_string(import.articles),
                  import.articles == 1 ? " article read" : " articles read"});
    const SkipCounts& skipped = import.skipped;
    const std::pair<std::uint64_t, const char*> left[] = {
        {skipped.resources, "pictures, sounds or resources"},
        {skipped.media, "media parts"},
        {skipped.metadata, "entries about the dictionary"},
        {skipped.duplicates, "repeated entries"},
        {skipped.empty, "entries without headword or text"},
    };
    const char* separator = "; left out: ";
    for (const auto& [count, what] : left) {
        if (count > 0) {
            Append(text, {separator, std::to_string(count), " ", what});
            separator = ", ";
        }
    }
    Append(text, {"\n", DescribeDirection(import.report)});
    if (import.otherScript * 2 > import.headwords) {
        const bool esperanto = import.report.language == Language::Esperanto;
        Append(text, {"  note: most headwords begin with ", esperanto ? "Cyrillic" : "Latin",
                      " letters, which the search window looks up in the ",
                      esperanto ? "Russian" : "Esperanto", " dictionary; was --direction ",
                      esperanto ? "ru" : "eo", " meant?\n"});
    }
    return text;
}

} // namespace formats
