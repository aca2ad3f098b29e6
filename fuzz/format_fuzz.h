// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Shared by the format readers' fuzz targets: inputs that hold several files,
// and the properties every article and every failure must have.

#include "formats/article_text.h"
#include "formats/dictionary_reader.h"
#include "fuzz_support.h"

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The input's parts, split at each "\n@@@@\n" (the seeds are files joined so).
inline std::vector<std::string_view> SplitParts(const std::uint8_t* data, std::size_t size) {
    constexpr std::string_view kSeparator = "\n@@@@\n";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    for (std::size_t found; (found = input.find(kSeparator, at)) != std::string_view::npos;) {
        parts.push_back(input.substr(at, found - at));
        at = found + kSeparator.size();
    }
    parts.push_back(input.substr(at));
    return parts;
}

inline void WritePart(const std::string& path, std::string_view part) {
    WriteFile(path, reinterpret_cast<const std::uint8_t*>(part.data()), part.size());
}

inline bool IsCleanLine(std::string_view line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return formats::IsValidUtf8(line);
}

// Reads the whole dictionary. Every article has clean headwords and a text
// of valid UTF-8 lines whose first shows the first headword; the only failure
// is a FormatError that names its file.
inline void ReadEverything(formats::Format format, const std::string& path) {
    try {
        const auto reader = formats::OpenDictionary(format, path);
        Require(IsCleanLine(reader->Info().name));
        ImportedArticle article;
        while (reader->Next(article)) {
            Require(!article.headwords.empty());
            for (const std::string& headword : article.headwords) {
                Require(!headword.empty() && headword.front() != ' ' && headword.back() != ' ');
                Require(IsCleanLine(headword));
            }
            Require(formats::HeadlineShowsKey(article.text, article.headwords.front()));
            Require(!article.text.ends_with('\n'));
            std::size_t at = 0;
            for (std::size_t end; at <= article.text.size(); at = end + 1) {
                end = std::min(article.text.find('\n', at), article.text.size());
                Require(IsCleanLine(std::string_view(article.text).substr(at, end - at)));
            }
            Require(reader->Done() <= reader->Total());
        }
    } catch (const formats::FormatError& e) {
        Require(std::string_view(e.what()).starts_with(e.File()));
    }
}

} // namespace fuzz
