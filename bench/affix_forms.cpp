// SPDX-License-Identifier: GPL-2.0-or-later
#include "affix_forms.h"

#include "platform/code_page.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace bench_data {
namespace {

std::ifstream Open(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return in;
}

// "[ая]" → {"[ая]"}, "[^к]а" → {"[^к]", "а"}: one element per character matched.
std::vector<std::u16string> Elements(std::u16string_view condition) {
    std::vector<std::u16string> elements;
    for (std::size_t i = 0; i < condition.size();) {
        std::size_t end = i + 1;
        if (condition[i] == u'[') {
            end = condition.find(u']', i);
            end = end == std::u16string_view::npos ? condition.size() : end + 1;
        }
        elements.emplace_back(condition.substr(i, end - i));
        i = end;
    }
    return elements;
}

bool Matches(const std::u16string& element, char16_t c) {
    if (element == u".") {
        return true;
    }
    if (element.size() >= 2 && element.front() == u'[') {
        const bool negated = element[1] == u'^';
        const std::u16string_view set = std::u16string_view(element).substr(
            negated ? 2 : 1, element.size() - (negated ? 3 : 2));
        return (set.find(c) != std::u16string_view::npos) != negated;
    }
    return element.size() == 1 && element[0] == c;
}

} // namespace

AffixForms::AffixForms(const std::string& dictionary) {
    std::ifstream aff = Open(dictionary + ".aff");
    std::string line;
    while (std::getline(aff, line)) {
        std::istringstream fields(line);
        std::string kind, flag, strip, add, condition;
        fields >> kind >> flag >> strip >> add >> condition;
        if (kind != "SFX" || condition.empty()) {
            continue; // not a rule, or a rule set's header (three fields)
        }
        add = add.substr(0, add.find('/'));
        const std::u16string wideFlag = platform::FromUtf8(flag);
        if (wideFlag.size() != 1) {
            continue;
        }
        m_rules[wideFlag[0]].push_back({strip == "0" ? u"" : platform::FromUtf8(strip),
                                        add == "0" ? u"" : platform::FromUtf8(add),
                                        Elements(platform::FromUtf8(condition))});
    }
    std::ifstream dic = Open(dictionary + ".dic");
    std::getline(dic, line); // the count
    while (std::getline(dic, line)) {
        const std::size_t slash = line.find('/');
        const std::u16string word = platform::FromUtf8(line.substr(0, slash));
        if (!word.empty()) {
            m_flags[word] +=
                slash == std::string::npos ? u"" : platform::FromUtf8(line.substr(slash + 1));
        }
    }
}

bool AffixForms::Knows(std::string_view word) const {
    return m_flags.count(platform::FromUtf8(word)) != 0;
}

std::vector<std::string> AffixForms::Forms(std::string_view utf8) const {
    const std::u16string word = platform::FromUtf8(utf8);
    std::vector<std::string> forms;
    const auto flags = m_flags.find(word);
    if (flags == m_flags.end()) {
        return forms;
    }
    for (const char16_t flag : flags->second) {
        const auto rules = m_rules.find(flag);
        if (rules == m_rules.end()) {
            continue;
        }
        for (const Rule& rule : rules->second) {
            const std::size_t n = rule.condition.size();
            if (word.size() < n || !word.ends_with(rule.strip) ||
                word.size() == rule.strip.size()) {
                continue;
            }
            bool matches = true;
            for (std::size_t k = 0; k < n && matches; ++k) {
                matches = Matches(rule.condition[k], word[word.size() - n + k]);
            }
            if (!matches) {
                continue;
            }
            std::string form =
                platform::ToUtf8(word.substr(0, word.size() - rule.strip.size()) + rule.add);
            if (form != utf8 && std::find(forms.begin(), forms.end(), form) == forms.end()) {
                forms.push_back(std::move(form));
            }
        }
    }
    return forms;
}

} // namespace bench_data
