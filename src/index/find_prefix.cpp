// SPDX-License-Identifier: GPL-2.0-or-later
// The prefix lookup: three binary searches over the sorted headword table.
// Phase 1 finds any headword that begins with the query, phase 2 the first one
// (searching left of it), phase 3 the end of the run (searching right of it,
// by the sign of the comparison alone). Every probe compares the query with
// the headword's bytes where they lie in the text block.

#include "index/headword_index.h"

HeadwordRange cIndex::FindPrefix(std::string_view query) const {
    const std::uint32_t count = m_count;
    if (count == 0) {
        return {};
    }
    const pro_less& order = GetLess();
    const auto compareAt = [&](std::uint32_t k) { return order.compare(query, TextOf(Record(k))); };
    // Whether a headword that compares equal is long enough to begin with the query.
    const auto longEnoughAt = [&](std::uint32_t k) {
        const std::string_view headword = TextOf(Record(k));
        return query.size() <= headword.size() && order.long_enough(query, headword);
    };
    const auto middle = [](std::uint32_t low, std::uint32_t high) {
        return low + (high - low) / 2;
    };
    // Asks for the records of both probes that may follow the one at m, so
    // that their memory is on its way while m is compared.
    const unsigned char* table = m_file.Data() + m_headwordOffset;
    const auto prefetchAfter = [&](std::uint32_t low, std::uint32_t m, std::uint32_t high) {
        __builtin_prefetch(table + std::size_t{middle(low, m)} * bsi::kRecordSize);
        __builtin_prefetch(table + std::size_t{middle(m + 1, high)} * bsi::kRecordSize);
    };

    std::uint32_t lo = 0;
    std::uint32_t hi = count;
    std::uint32_t mid = 0;
    for (;;) {
        if (lo >= hi) {
            return {};
        }
        mid = middle(lo, hi);
        prefetchAfter(lo, mid, hi);
        const int c = compareAt(mid);
        if (c < 0) {
            hi = mid;
        } else if (c > 0 || !longEnoughAt(mid)) {
            lo = mid + 1;
        } else {
            break;
        }
    }

    std::uint32_t l = lo;
    std::uint32_t h = mid;
    do {
        const std::uint32_t m = middle(l, h);
        prefetchAfter(l, m, h);
        const int c = compareAt(m);
        if (c > 0 || (c == 0 && !longEnoughAt(m))) {
            l = m + 1;
        } else {
            h = m;
        }
    } while (l < h);
    const std::uint32_t first = l;

    l = mid;
    h = hi;
    do {
        const std::uint32_t m = middle(l, h);
        prefetchAfter(l, m, h);
        if (compareAt(m) < 0) {
            h = m;
        } else {
            l = m + 1;
        }
    } while (l < h);
    return {first, h};
}
