// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The soft-key bar of either window, chosen from where the history can go,
// and in the search window also from whether the word list holds words.

#include <cstdint>

class cHistory;

namespace fw {
class Dialog;
}

// The menu and the bar flags for a history that can go back and/or forward.
struct SoftKeyChoice {
    std::uint16_t menu = 0;
    std::uint32_t flags = 0;
    bool operator==(const SoftKeyChoice&) const = default;
};
// With `words`, the key "Мои слова" follows the history's keys.
SoftKeyChoice ChooseSoftKeys(bool back, bool forward, bool words = false);

// Gives the window a new bar from CanGoBack and CanGoForward of the history, in
// the convention its searchView has at the time of the call; `words` adds the
// word list's key (the search window, while the list holds words).
void UpdateSoftKeys(fw::Dialog& window, const cHistory& history, bool words = false);
