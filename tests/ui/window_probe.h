// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the two windows and the history show, read back for the reader tests.

#include "framework/soft_keys.h"
#include "framework/test_hooks.h"
#include "history/history.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"
#include "ui/kelimbo_dlg.h"
#include "ui/kelimbo_resources.h"
#include "ui/legilo_dlg.h"
#include "ui/resource_ids.h"

#include <ostream>
#include <string>
#include <vector>

namespace window_probe {

inline std::u16string BoxText(CKelimboDlg& dlg) {
    return dlg.GetEdit(IDC_SEARCH).GetWindowText();
}

inline fw::Selection BoxSel(CKelimboDlg& dlg) {
    return dlg.GetEdit(IDC_SEARCH).GetSel();
}

inline std::vector<std::u16string> Lines(CKelimboDlg& dlg) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < dlg.m_list.GetCount(); ++i) {
        lines.push_back(dlg.m_list.GetText(i));
    }
    return lines;
}

inline std::u16string Article(CLegiloDlg& reader) {
    return reader.GetEdit(IDC_ARTICLE).GetWindowText();
}

// The keys a bar built from the menu shows; none for 0.
inline std::vector<fw::SoftKey> MenuKeys(std::uint16_t menu) {
    std::vector<fw::SoftKey> keys;
    if (const fw::Menu* found = KelimboResources().FindMenu(menu)) {
        for (const fw::MenuItem& item : found->items) {
            keys.push_back({std::u16string(item.text), item.command, !item.grayed});
        }
    }
    return keys;
}
inline constexpr std::uint16_t kNoKeys = 0;

// The history as the queries of its entries, the cursor and the window in front.
struct HistoryState {
    std::vector<std::u16string> queries;
    int cursor = 0;
    bool operator==(const HistoryState&) const = default;
};

inline HistoryState History(const cHistory& history) {
    HistoryState state;
    for (const HistoryEntry& entry : history.entries) {
        state.queries.push_back(entry.query);
    }
    state.cursor = history.cursor;
    return state;
}

inline void PrintTo(const HistoryState& state, std::ostream* os) {
    *os << "{";
    for (const std::u16string& query : state.queries) {
        *os << "\"" << platform::ToUtf8(query) << "\" ";
    }
    *os << "cursor " << state.cursor << "}";
}

} // namespace window_probe

namespace fw {
inline void PrintTo(const SoftKey& key, std::ostream* os) {
    *os << "{\"" << platform::ToUtf8(key.text) << "\", " << key.command
        << (key.enabled ? ", enabled}" : ", greyed}");
}
inline void PrintTo(const Selection& sel, std::ostream* os) {
    *os << "{" << sel.start << ", " << sel.end << "}";
}
} // namespace fw
