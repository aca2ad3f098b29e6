// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_import.h"

#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "text/esperanto_x.h"
#include "wordlist/word_list.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_translation.h"

namespace wordlist {

namespace {

std::string_view TrimmedLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    return line;
}

} // namespace

ImportReport ImportWords(std::string_view bytes, WordList& list, LookupCore& core,
                         std::int64_t added) {
    ImportReport report;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::size_t number = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view text = TrimmedLine(bytes.substr(0, end));
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        ++number;
        if (text.empty()) {
            continue;
        }
        if (!ValidWordText(text)) {
            report.unreadable.push_back(number);
            continue;
        }
        // As the search box shows what is typed: x-system letters accented.
        const std::u16string typed = x_to_accented(platform::FromUtf8(text));
        const ListResult found = core.List(typed);
        const std::optional<std::size_t> line = HeadwordLine(found, typed);
        if (!line) {
            report.unknown.emplace_back(text);
            continue;
        }
        const std::string headword = platform::ToUtf8(found.lines[*line]);
        if (list.Contains(headword, found.esperanto)) {
            ++report.alreadyKept;
        } else if (list.Add(headword, found.esperanto, added)) {
            ++report.added;
        } else {
            report.unreadable.push_back(number);
        }
    }
    return report;
}

} // namespace wordlist
