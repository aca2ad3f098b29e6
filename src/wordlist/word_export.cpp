// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_export.h"

#include "platform/code_page.h"
#include "platform/file_replace.h"
#include "wordlist/word_translation.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

namespace wordlist {

namespace {

// The article's lines (CR LF or LF) without the blank ones at its end.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string_view::npos) {
        lines.pop_back();
    }
    return lines;
}

// A field of Anki's file as HTML: nothing in it ends the field or the note.
void AppendHtml(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += ' ';
            break;
        case '\r':
            break;
        case '\n':
            out += "<br>";
            break;
        default:
            out += c;
            break;
        }
    }
}

// The lines joined by <br>; a line's indent (ReVo indents examples under
// their meaning) kept as no-break spaces, which HTML does not collapse.
std::string HtmlArticle(std::string_view article) {
    std::string html;
    bool first = true;
    for (std::string_view line : Lines(article)) {
        if (!first) {
            html += "<br>";
        }
        first = false;
        while (line.starts_with(' ')) {
            html += "&nbsp;";
            line.remove_prefix(1);
        }
        AppendHtml(html, line);
    }
    return html;
}

std::string PlainArticle(std::string_view article) {
    std::string plain;
    bool first = true;
    for (const std::string_view line : Lines(article)) {
        if (!first) {
            plain += "\r\n";
        }
        first = false;
        plain += line;
    }
    return plain;
}

// One CSV field: quoted when it holds a comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

std::string UtcDate(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (gmtime_r(&time, &parts) == nullptr) {
        return std::to_string(seconds);
    }
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

const char* DirectionTag(bool esperanto) {
    return esperanto ? "eo-ru" : "ru-eo";
}

} // namespace

std::string FormatExport(const std::vector<ExportEntry>& entries, ExportFormat format) {
    std::string out;
    if (format == ExportFormat::AnkiTsv) {
        out += "#separator:tab\n#html:true\n#tags column:3\n";
        for (const ExportEntry& entry : entries) {
            AppendHtml(out, entry.word.text);
            out += '\t';
            if (entry.article) {
                out += HtmlArticle(*entry.article);
            }
            out += "\tkelimbo ";
            out += DirectionTag(entry.word.esperanto);
            if (!entry.article) {
                out += " missing";
            }
            out += '\n';
        }
        return out;
    }
    out += "word,translation,direction,added,lookups\r\n";
    for (const ExportEntry& entry : entries) {
        AppendCsvField(out, entry.word.text);
        out += ',';
        AppendCsvField(out, entry.article ? PlainArticle(*entry.article) : std::string());
        out += ',';
        out += DirectionTag(entry.word.esperanto);
        out += ',';
        out += UtcDate(entry.word.added);
        out += ',';
        out += std::to_string(entry.word.lookups);
        out += "\r\n";
    }
    return out;
}

std::string ExportWords(const std::vector<Word>& words, LookupCore& core, ExportFormat format) {
    std::vector<ExportEntry> entries;
    entries.reserve(words.size());
    for (const Word& word : words) {
        entries.push_back({word, WordArticle(core, word)});
    }
    return FormatExport(entries, format);
}

bool WriteExportFile(const std::string& path, std::string_view bytes, std::string& message) {
    errno = 0;
    platform::NewFile file;
    if (file.Create(path) && file.Write(bytes) && platform::FlushToDisk(file.Stream()) &&
        file.PutInPlace()) {
        return true;
    }
    const int error = errno;
    std::string shown;
    platform::AppendCleanUtf8(shown, path);
    message = "Список слов не записан в «" + shown + "»" +
              (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) + ".";
    return false;
}

} // namespace wordlist
