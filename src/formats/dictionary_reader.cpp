// SPDX-License-Identifier: GPL-2.0-or-later
#include "formats/dictionary_reader.h"

namespace formats {
namespace {

std::string Message(const std::string& file, const std::string& entry, const std::string& problem) {
    return entry.empty() ? file + ": " + problem : file + ": " + entry + ": " + problem;
}

} // namespace

FormatError::FormatError(const std::string& file, const std::string& entry,
                         const std::string& problem)
    : std::runtime_error(Message(file, entry, problem)), m_file(file), m_entry(entry) {}

std::optional<Format> FormatFromName(std::string_view name) {
    for (const Format format : {Format::StarDict, Format::Dictd, Format::Dsl, Format::Xdxf}) {
        if (name == FormatName(format)) {
            return format;
        }
    }
    return std::nullopt;
}

std::string_view FormatName(Format format) {
    switch (format) {
    case Format::StarDict:
        return "stardict";
    case Format::Dictd:
        return "dictd";
    case Format::Dsl:
        return "dsl";
    case Format::Xdxf:
        return "xdxf";
    }
    return "";
}

std::optional<Format> FormatFromFileName(const std::filesystem::path& source) {
    const std::string name = source.filename().string();
    const auto endsWith = [&](std::string_view suffix) { return name.ends_with(suffix); };
    if (endsWith(".ifo")) {
        return Format::StarDict;
    }
    if (endsWith(".index")) {
        return Format::Dictd;
    }
    if (endsWith(".dsl") || endsWith(".dsl.dz")) {
        return Format::Dsl;
    }
    if (endsWith(".xdxf") || endsWith(".xdxf.dz")) {
        return Format::Xdxf;
    }
    return std::nullopt;
}

std::unique_ptr<DictionaryReader> OpenDictionary(Format format, const std::filesystem::path& source,
                                                 const InflateLimits& limits) {
    switch (format) {
    case Format::StarDict:
        return OpenStarDict(source, limits);
    case Format::Dictd:
        return OpenDictd(source, limits);
    case Format::Dsl:
        return OpenDsl(source, limits);
    case Format::Xdxf:
        return OpenXdxf(source, limits);
    }
    return nullptr;
}

} // namespace formats
