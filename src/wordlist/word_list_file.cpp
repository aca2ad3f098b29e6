// SPDX-License-Identifier: GPL-2.0-or-later
#include "wordlist/word_list_file.h"

#include "platform/code_page.h"

#include <charconv>
#include <chrono>
#include <string>
#include <unordered_set>

namespace wordlist {

namespace {

// The latest date a file may give: 9999-12-31 23:59:59 UTC.
constexpr std::int64_t kLatestDate = 253402300799;

std::string_view TakeLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// The fields of a line between its tabs.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

// A decimal number of digits only, within [0, limit].
template <typename Number> bool ParseNumber(std::string_view text, Number limit, Number& value) {
    if (text.empty() || text.size() > 20 || text.front() < '0' || text.front() > '9') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value <= limit;
}

// One word's line; a later version may add fields after the four.
bool ParseLine(std::string_view line, bool future, Word& word) {
    const std::vector<std::string_view> fields = Fields(line);
    if ((future ? fields.size() < 4 : fields.size() != 4) || !ValidWordText(fields[0]) ||
        (fields[1] != "eo" && fields[1] != "ru") ||
        !ParseNumber(fields[2], kLatestDate, word.added) ||
        !ParseNumber(fields[3], std::uint32_t(-1), word.lookups)) {
        return false;
    }
    word.text = fields[0];
    word.esperanto = fields[1] == "eo";
    return true;
}

std::string Key(const Word& word) {
    return word.text + (word.esperanto ? "\te" : "\tr");
}

} // namespace

std::int64_t NowUtc() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool ValidWordText(std::string_view text) {
    if (text.empty() || text.size() > 4 * kMaxWordUnits ||
        platform::FirstInvalidUtf8(text) != std::string_view::npos) {
        return false;
    }
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return platform::FromUtf8(text).size() <= kMaxWordUnits;
}

ParsedWordList ParseWordList(std::string_view bytes) {
    ParsedWordList parsed;
    std::string_view rest = bytes;
    if (rest.starts_with("\xEF\xBB\xBF")) {
        rest.remove_prefix(3);
    }
    std::unordered_set<std::string> seen;
    const auto take = [&](std::string_view line) {
        Word word;
        if (!ParseLine(line, parsed.Future(), word)) {
            return false;
        }
        if (seen.insert(Key(word)).second) {
            parsed.words.push_back(std::move(word));
        } else {
            ++parsed.duplicates;
        }
        return true;
    };
    const bool headEnded = rest.find('\n') != std::string_view::npos;
    const std::string_view first = TakeLine(rest);
    const std::vector<std::string_view> head = Fields(first);
    unsigned version = 0;
    std::size_t written = 0; // the words the version line says follow
    if ((head.size() == 2 || head.size() == 3) && head[0] == kWordListMagic &&
        ParseNumber(head[1], 1000000u, version) && version > 0 &&
        (head.size() == 2 || ParseNumber(head[2], std::size_t(-1), written))) {
        parsed.version = version;
        parsed.damagedLines += headEnded ? 0 : 1; // cut inside its first line
    } else {
        // A file that lost its first line may still hold words from its first.
        ++parsed.damagedLines;
        take(first);
    }
    std::size_t lines = 0;
    while (!rest.empty()) {
        const bool ended = rest.find('\n') != std::string_view::npos;
        const std::string_view line = TakeLine(rest);
        if (line.empty()) {
            continue;
        }
        ++lines;
        // Every line is written whole with its end: one without it was cut.
        if (!ended || !take(line)) {
            ++parsed.damagedLines;
        }
    }
    if (lines < written) {
        parsed.damagedLines += written - lines; // lines lost at the end
    }
    return parsed;
}

std::string FormatWordList(const std::vector<Word>& words) {
    std::string out;
    out.reserve(32 + words.size() * 32);
    out += kWordListMagic;
    out += '\t';
    out += std::to_string(kWordListVersion);
    out += '\t';
    out += std::to_string(words.size());
    out += '\n';
    for (const Word& word : words) {
        out += word.text;
        out += word.esperanto ? "\teo\t" : "\tru\t";
        out += std::to_string(word.added);
        out += '\t';
        out += std::to_string(word.lookups);
        out += '\n';
    }
    return out;
}

} // namespace wordlist
