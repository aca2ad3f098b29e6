// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/history.h"

#include "history/history_file.h"

#include <algorithm>
#include <cassert>

namespace {

// Returned for a call made against its precondition when there is no entry at all.
const HistoryEntry kNoEntry;

} // namespace

void cHistory::Push(std::u16string_view query, const std::vector<ArticleRef>& refs,
                    bool isEsperanto, const std::vector<AddedRefs>& added) {
    assert(cursor >= 0 && static_cast<std::size_t>(cursor) <= Size());
    // Built first: the arguments may refer into an entry that is about to go.
    HistoryEntry fresh{refs, std::u16string(query.substr(0, query.find(u'\0'))), isEsperanto};
    for (const AddedRefs& part : added) {
        if (!part.refs.empty()) {
            AddedRefs& kept = fresh.added.emplace_back(part);
            kept.stamp = AddedStamp(addedTexts, kept.name, isEsperanto);
        }
    }
    std::size_t c = static_cast<std::size_t>(std::clamp<std::int64_t>(cursor, 0, Size()));

    if (c != 0 && entries[c - 1] == fresh) {
        const bool changed = c != Size() || cursor != static_cast<std::int32_t>(c);
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(c), entries.end());
        cursor = static_cast<std::int32_t>(c);
        if (changed) {
            Changed();
        }
        return;
    }
    if (c == Size()) {
        if (Size() >= HISTORY_MAX_ENTRIES) {
            entries.pop_front();
            --c;
        }
        entries.emplace_back();
    }
    entries[c] = std::move(fresh);
    ++c;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(c), entries.end());
    cursor = static_cast<std::int32_t>(c);
    Changed();
}

const HistoryEntry& cHistory::Back() {
    if (!CanGoBack() || static_cast<std::size_t>(cursor) > Size()) {
        assert(!"Back without an entry behind the cursor");
        return Nearest(std::int64_t{cursor} - 1);
    }
    --cursor;
    Changed();
    return entries[static_cast<std::size_t>(cursor)];
}

const HistoryEntry& cHistory::Forward() {
    const std::int64_t target = searchView ? cursor : std::int64_t{cursor} + 1;
    if (!CanGoForward() || target < 0) {
        assert(!"Forward without an entry ahead of the cursor");
        return Nearest(target);
    }
    if (cursor != target) {
        cursor = static_cast<std::int32_t>(target);
        Changed();
    }
    return entries[static_cast<std::size_t>(cursor)];
}

void cHistory::Changed() const {
    if (onChange) {
        onChange();
    }
}

const HistoryEntry& cHistory::Nearest(std::int64_t index) const {
    if (entries.empty()) {
        return kNoEntry;
    }
    const std::int64_t last = static_cast<std::int64_t>(Size()) - 1;
    return entries[static_cast<std::size_t>(std::clamp<std::int64_t>(index, 0, last))];
}

std::u16string cHistory::CurrentQuery() const {
    if (cursor > 0 && static_cast<std::size_t>(cursor) <= Size()) {
        return entries[static_cast<std::size_t>(cursor) - 1].query;
    }
    return {};
}

bool cHistory::CanGoBack() const {
    return cursor >= 1;
}

bool cHistory::CanGoForward() const {
    const auto n = static_cast<std::int64_t>(Size());
    return searchView ? cursor < n : cursor < n - 1;
}
