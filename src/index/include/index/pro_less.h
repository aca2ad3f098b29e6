// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The ordering of an index's headwords. `compare` is a three-way prefix
// comparison: 0 once either string ends (after the comparator's own
// normalisation) without a difference. `less` refines it into the strict order
// in which an index file's headword table is sorted.

#include <string_view>

struct pro_less {
    virtual ~pro_less() = default;

    // True when a comes strictly before b.
    virtual bool less(std::string_view a, std::string_view b) const = 0;
    // -1 when a comes first, +1 when b comes first, 0 when either ends first.
    virtual int compare(std::string_view a, std::string_view b) const = 0;
    // The comparator's own part of "the headword is at least as long as the
    // query", beside the byte lengths: a comparator that ignores characters
    // wants the query no longer than the headword without them, so that a short
    // headword whose ignored characters pad it out does not pass for a match.
    virtual bool long_enough(std::string_view query, std::string_view headword) const = 0;

    // True when a and b are the same headword to the order: they compare equal
    // and neither is longer in the comparator's sense, so case (and whatever
    // else the comparator ignores) makes no difference. Here: of one length.
    virtual bool same(std::string_view a, std::string_view b) const {
        return a.size() == b.size() && compare(a, b) == 0;
    }

    // True when the headword begins with the query, as a lookup sees it.
    bool matches(std::string_view query, std::string_view headword) const {
        return compare(query, headword) == 0 && query.size() <= headword.size() &&
               long_enough(query, headword);
    }

protected:
    pro_less() = default;
    pro_less(const pro_less&) = default;
    pro_less& operator=(const pro_less&) = default;
};
