// SPDX-License-Identifier: GPL-2.0-or-later
// The word-list file from arbitrary bytes, and the export of arbitrary
// article text. Properties: every word read is a valid word, none twice;
// the list written again reads back the same, undamaged; an Anki note stays
// one line of three fields whatever its article holds, and the first
// translation line is valid UTF-8 of one line.
#include "fuzz_support.h"
#include "platform/code_page.h"
#include "wordlist/word_export.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_translation.h"

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const wordlist::ParsedWordList parsed = wordlist::ParseWordList(bytes);
    std::set<std::pair<std::string, bool>> seen;
    for (const wordlist::Word& word : parsed.words) {
        fuzz::Require(wordlist::ValidWordText(word.text));
        fuzz::Require(seen.emplace(word.text, word.esperanto).second);
    }
    const wordlist::ParsedWordList again =
        wordlist::ParseWordList(wordlist::FormatWordList(parsed.words));
    fuzz::Require(again.words == parsed.words && !again.Damaged() && !again.Future());

    const std::string article(bytes);
    const wordlist::ExportEntry entry{{"vorto", true, 0, 0}, article};
    const std::string tsv = wordlist::FormatExport({entry}, wordlist::ExportFormat::AnkiTsv);
    fuzz::Require(std::count(tsv.begin(), tsv.end(), '\n') == 4);
    fuzz::Require(std::count(tsv.begin(), tsv.end(), '\r') == 0);
    const std::string_view note = std::string_view(tsv).substr(tsv.rfind('\n', tsv.size() - 2) + 1);
    fuzz::Require(std::count(note.begin(), note.end(), '\t') == 2);

    const std::string line = wordlist::FirstTranslationLine(article, "vorto");
    fuzz::Require(line.find_first_of("\r\n") == std::string::npos);
    fuzz::Require(platform::FirstInvalidUtf8(line) == std::string::npos);
    return 0;
}
