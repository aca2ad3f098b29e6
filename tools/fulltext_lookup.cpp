// SPDX-License-Identifier: GPL-2.0-or-later
#include "fulltext_lookup.h"

#include "lookup/lookup_core.h"
#include "platform/code_page.h"

#include <cstdio>
#include <iostream>

namespace {

// The number of code points in the first `units` UTF-16 units of `text`:
// what a script counts in the UTF-8 line it reads.
std::size_t CodePoints(std::u16string_view text, std::size_t units) {
    std::size_t points = 0;
    for (std::size_t i = 0; i < units && i < text.size(); ++i) {
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        const bool afterHigh = i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
        if (!(low && afterHigh)) {
            ++points;
        }
    }
    return points;
}

void AppendJsonHit(std::string& out, const FullTextHit& hit) {
    out += "{\"headword\":";
    AppendJsonString(out, platform::ToUtf8(hit.headword));
    out += ",\"dictionary\":";
    AppendJsonString(out, hit.dictionaryName);
    out += ",\"direction\":";
    out += hit.esperanto ? "\"eo-ru\"" : "\"ru-eo\"";
    out += ",\"snippet\":";
    AppendJsonString(out, platform::ToUtf8(hit.snippet));
    out += ",\"marks\":[";
    for (std::size_t k = 0; k < hit.marks.size(); ++k) {
        out += k > 0 ? ",[" : "[";
        out += std::to_string(CodePoints(hit.snippet, hit.marks[k].start));
        out += ',';
        out += std::to_string(CodePoints(hit.snippet, hit.marks[k].end));
        out += ']';
    }
    out += "],\"articles\":[";
    for (std::size_t k = 0; k < hit.refs.size(); ++k) {
        out += k > 0 ? ",[" : "[";
        out += std::to_string(hit.refs[k].start);
        out += ',';
        out += std::to_string(hit.refs[k].end);
        out += ']';
    }
    out += "]}\n";
}

} // namespace

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

int AppendFullText(LookupCore& core, std::string_view query, std::size_t page, bool json,
                   std::string& out) {
    const FullTextPage result = core.FullText().Search(platform::FromUtf8(query), page);
    if (!result.error.empty()) {
        std::cerr << "kelimbo-lookup: " << result.error << "\n";
        return 2;
    }
    for (const FullTextStatus& problem : result.problems) {
        std::cerr << "kelimbo-lookup: " << problem.message << "\n";
    }
    for (const FullTextHit& hit : result.hits) {
        if (json) {
            AppendJsonHit(out, hit);
        } else {
            out += platform::ToUtf8(hit.headword);
            out += '\t';
            out += platform::ToUtf8(hit.snippet);
            out += '\n';
        }
    }
    if (result.more) {
        std::cerr << "kelimbo-lookup: more results: --page " << page + 1 << "\n";
    }
    const std::size_t directions = core.FullText().Statuses().size();
    return directions > 0 && result.problems.size() == directions ? 1 : 0;
}
