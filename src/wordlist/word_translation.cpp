// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_translation.h"

#include "index/my_less.h"
#include "index/x_less.h"
#include "lookup/lookup_core.h"
#include "platform/code_page.h"
#include "text/index_key.h"

#include <algorithm>
#include <vector>

namespace wordlist {

namespace {

// What an article writes inside a headword that its list line leaves out.
bool Decoration(char16_t unit) {
    return unit == u'/' || unit == u'\u0301' || unit == u'\u0300';
}

// Small letters of the alphabets the dictionaries write, for a headword
// that an article writes in capitals.
char16_t Small(char16_t unit) {
    if ((unit >= u'A' && unit <= u'Z') || (unit >= u'\u0410' && unit <= u'\u042F')) {
        return static_cast<char16_t>(unit + 0x20);
    }
    if (unit >= u'\u0400' && unit <= u'\u040F') {
        return static_cast<char16_t>(unit + 0x50);
    }
    for (const char16_t capital : u"ĈĜĤĴŜŬ") {
        if (unit == capital && unit != 0) {
            return static_cast<char16_t>(unit + 1);
        }
    }
    return unit;
}

bool Blank(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\u00A0';
}

std::u16string_view Trimmed(std::u16string_view line) {
    while (!line.empty() && Blank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && Blank(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

// A line of labels only, as ReVo's articles put before a meaning: short
// words each ending in a full stop ("зоол.", "перех.", "разг. перен.").
bool OnlyLabels(std::u16string_view line) {
    constexpr std::size_t kLongestLabel = 12;
    while (!line.empty()) {
        const std::size_t end = std::min(line.find(u' '), line.size());
        const std::u16string_view word = line.substr(0, end);
        if (!word.empty() && (word.size() > kLongestLabel || word.back() != u'.')) {
            return false;
        }
        line.remove_prefix(std::min(end + 1, line.size()));
    }
    return true;
}

bool Heading(std::u16string_view line) {
    return line.size() >= 4 && line.starts_with(u"— ") && line.ends_with(u" —");
}

// The line without the headword that opens it, when it does; the line as it
// is otherwise.
std::u16string_view WithoutHeadword(std::u16string_view line, std::u16string_view headword) {
    std::size_t at = 0;
    for (const char16_t unit : headword) {
        while (at < line.size() && Decoration(line[at]) && line[at] != unit) {
            ++at;
        }
        if (at == line.size() || Small(line[at]) != Small(unit)) {
            return line;
        }
        ++at;
    }
    while (at < line.size() && Decoration(line[at])) {
        ++at;
    }
    if (at < line.size() && !Blank(line[at])) {
        return line; // the headword is only the start of a longer word
    }
    return Trimmed(line.substr(at));
}

} // namespace

std::string FirstTranslationLine(std::string_view article, std::string_view headword) {
    const std::u16string text = platform::FromUtf8(article);
    const std::u16string word = platform::FromUtf8(headword);
    std::u16string_view rest = text;
    bool articleStart = true; // the next content line opens an article
    while (!rest.empty()) {
        const std::size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == u'\r') {
            line.remove_suffix(1);
        }
        line = Trimmed(line);
        if (line.empty()) {
            continue;
        }
        if (Heading(line)) {
            articleStart = true;
            continue;
        }
        if (articleStart) {
            articleStart = false;
            line = WithoutHeadword(line, word);
        }
        if (line.empty() || OnlyLabels(line)) {
            continue;
        }
        // One line of plain text: a tab or a stray CR would split the
        // terminal's "WORD<TAB>LINE" and a list row.
        std::u16string shown(line);
        for (char16_t& unit : shown) {
            if (unit < u' ') {
                unit = u' ';
            }
        }
        return platform::ToUtf8(shown);
    }
    return {};
}

std::optional<std::size_t> HeadwordLine(const ListResult& list, std::u16string_view text) {
    if (list.query.empty()) {
        return std::nullopt;
    }
    const x_less esperantoOrder;
    const my_less russianOrder;
    const pro_less& ordering = list.esperanto ? static_cast<const pro_less&>(esperantoOrder)
                                              : static_cast<const pro_less&>(russianOrder);
    std::optional<std::size_t> same;
    for (std::size_t line = 0; line < list.lines.size(); ++line) {
        if (list.lines[line] == text) {
            return line;
        }
        if (!same && ordering.same(to_index_key(list.lines[line]), list.query)) {
            same = line;
        }
    }
    return same;
}

std::optional<std::string> WordArticle(LookupCore& core, const Word& word) {
    const std::u16string text = platform::FromUtf8(word.text);
    const ListResult list = core.List(text);
    if (list.esperanto != word.esperanto) {
        return std::nullopt;
    }
    const std::optional<std::size_t> line = HeadwordLine(list, text);
    if (!line) {
        return std::nullopt;
    }
    std::string article;
    core.AppendArticle(list, *line, article);
    return article;
}

std::optional<std::string> WordFirstLine(LookupCore& core, const Word& word) {
    const std::optional<std::string> article = WordArticle(core, word);
    if (!article) {
        return std::nullopt;
    }
    return FirstTranslationLine(*article, word.text);
}

} // namespace wordlist
