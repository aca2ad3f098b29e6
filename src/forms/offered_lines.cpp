// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/offered_lines.h"

#include "forms/esperanto_forms.h"
#include "forms/russian_forms.h"
#include "text/word_letter.h"

#include <algorithm>

namespace forms {

bool IsOneWord(std::string_view query) {
    for (std::size_t i = 0; i < query.size(); ++i) {
        if (is_key_letter(query[i])) {
            continue;
        }
        if (query[i] != '-' || i == 0 || i + 1 == query.size() || !is_key_letter(query[i - 1]) ||
            !is_key_letter(query[i + 1])) {
            return false;
        }
    }
    return !query.empty();
}

std::vector<OfferedLine> OfferLines(const cIndex& index, const std::vector<BaseForm>& forms) {
    const pro_less& order = index.GetLess();
    std::vector<OfferedLine> lines;
    lines.reserve(kMaxOfferedLines);
    bool tierFound = false;
    std::uint8_t tier = 0;
    std::uint32_t foundGroups = 0;
    for (std::uint32_t f = 0; f < forms.size(); ++f) {
        const BaseForm& form = forms[f];
        if (form.tier != tier) {
            if (tierFound) {
                break;
            }
            tier = form.tier;
        }
        if (form.companion && (form.groups & foundGroups) == 0) {
            continue;
        }
        const HeadwordRange range = index.FindPrefix(form.key);
        for (std::uint32_t p = range.first; p < range.last; ++p) {
            // The equal headwords come first in a range; only they count as
            // found for the tiers and the companions.
            if (order.same(form.key, index.HeadwordText(p))) {
                tierFound = true;
                if (!form.companion) {
                    foundGroups |= form.groups;
                }
            } else if (form.exact) {
                break;
            }
            const bool shown = std::any_of(lines.begin(), lines.end(),
                                           [p](const OfferedLine& l) { return l.position == p; });
            if (!shown) {
                lines.push_back({p, f});
                if (lines.size() == kMaxOfferedLines) {
                    return lines;
                }
            }
        }
    }
    return lines;
}

bool IsHeadwordIn(const cIndex& index, std::string_view key) {
    const HeadwordRange range = index.FindPrefix(key);
    return range.last > range.first && index.GetLess().same(key, index.HeadwordText(range.first));
}

namespace {

// A query shorter than this gets no base-form lines before its prefix range.
constexpr std::size_t kMinFirstLetters = 3;

// Letters of an index-form word: in the Esperanto index the 'x' of an accented
// letter's x-system spelling is no letter of its own.
std::size_t LettersOf(std::string_view word, bool esperanto) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char before = i > 0 ? static_cast<char>(word[i - 1] | 0x20) : '\0';
        const bool accent = esperanto && (word[i] == 'x' || word[i] == 'X') &&
                            std::string_view("cghjsu").find(before) != std::string_view::npos;
        n += word[i] != '-' && !accent ? 1 : 0;
    }
    return n;
}

} // namespace

FormFinder::FormFinder(std::string russianDictionary, std::string russianAnalyser,
                       std::string russianEngines)
    : m_russian(std::move(russianDictionary), russianEngines),
      m_analyser(std::move(russianAnalyser), std::move(russianEngines)) {}

std::string FormFinder::EnginesProblem() const {
    const std::string analyser = m_analyser.Problem();
    return analyser.empty() ? m_russian.Problem() : analyser;
}

std::vector<BaseForm> FormFinder::BaseForms(bool esperanto, std::string_view query) const {
    return esperanto ? EsperantoBaseForms(query) : RussianBaseForms(query, m_analyser, m_russian);
}

Offered FormFinder::BaseFormsFirst(const cIndex& index, bool esperanto,
                                   std::string_view query) const {
    Offered offered;
    if (!IsOneWord(query) || LettersOf(query, esperanto) < kMinFirstLetters ||
        IsHeadwordIn(index, query)) {
        return offered;
    }
    offered.forms = BaseForms(esperanto, query);
    offered.lines = OfferLines(index, offered.forms);
    // The headwords that are a base form itself lead, in the forms' order, before
    // those a base form only begins: «тем» offers тема and тот before «тема с
    // вариациями».
    const pro_less& order = index.GetLess();
    const auto firstInexact = std::stable_partition(
        offered.lines.begin(), offered.lines.end(), [&](const OfferedLine& line) {
            return order.same(offered.forms[line.form].key, index.HeadwordText(line.position));
        });
    const bool formFound = firstInexact != offered.lines.begin();
    if (!esperanto || formFound) {
        return offered;
    }
    offered.parts = AnalyseEsperantoWord(
        query, [&index](std::string_view key) { return IsHeadwordIn(index, key); });
    std::vector<OfferedLine> lines;
    for (const WordPart& part : offered.parts) {
        const auto form = static_cast<std::uint32_t>(offered.forms.size());
        offered.forms.push_back({part.key, Rule::Part, 0, true});
        const std::uint32_t position = index.FindPrefix(part.key).first;
        if (std::none_of(lines.begin(), lines.end(),
                         [position](const OfferedLine& l) { return l.position == position; })) {
            lines.push_back({position, form});
        }
    }
    for (const OfferedLine& line : offered.lines) {
        if (lines.size() < kMaxOfferedLines &&
            std::none_of(lines.begin(), lines.end(),
                         [&line](const OfferedLine& l) { return l.position == line.position; })) {
            lines.push_back(line);
        }
    }
    offered.lines = std::move(lines);
    return offered;
}

Offered FormFinder::Offer(const cIndex& index, bool esperanto, std::string_view query) const {
    Offered offered;
    const HeadwordRange found = index.FindPrefix(query);
    if (!IsOneWord(query) || found.last > found.first) {
        return offered;
    }
    offered.forms = BaseForms(esperanto, query);
    offered.lines = OfferLines(index, offered.forms);
    return offered;
}

} // namespace forms
