// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/offered_lines.h"

#include "forms/esperanto_forms.h"
#include "forms/russian_forms.h"
#include "query/query_rules.h"
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
    lines.reserve(MAX_LIST_LINES);
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
                if (lines.size() == MAX_LIST_LINES) {
                    return lines;
                }
            }
        }
    }
    return lines;
}

FormFinder::FormFinder(std::string russianDictionary) : m_russian(std::move(russianDictionary)) {}

Offered FormFinder::Offer(const cIndex& index, bool esperanto, std::string_view query) const {
    Offered offered;
    const HeadwordRange found = index.FindPrefix(query);
    if (!IsOneWord(query) || found.last > found.first) {
        return offered;
    }
    offered.forms = esperanto ? EsperantoBaseForms(query) : RussianBaseForms(query, m_russian);
    offered.lines = OfferLines(index, offered.forms);
    return offered;
}

} // namespace forms
