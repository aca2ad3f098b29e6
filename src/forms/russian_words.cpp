// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/russian_words.h"

#include "platform/code_page.h"

#include <algorithm>

namespace forms {

std::string Utf8OfAnsi(std::string_view ansi) {
    return platform::ToUtf8(platform::FromAnsi(ansi));
}

std::string AnsiOfUtf8(std::string_view utf8) {
    const std::string ansi = platform::ToAnsi(platform::FromUtf8(utf8));
    const auto questions = [](std::string_view s) { return std::count(s.begin(), s.end(), '?'); };
    return questions(ansi) == questions(utf8) ? ansi : std::string();
}

void AppendOnce(std::vector<std::string>& words, std::string word) {
    if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end()) {
        words.push_back(std::move(word));
    }
}

} // namespace forms
