// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The soft-key bar of either window, chosen from where the history can go.

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
SoftKeyChoice ChooseSoftKeys(bool back, bool forward);

// Gives the window a new bar from CanGoBack and CanGoForward of the history, in
// the convention its searchView has at the time of the call.
void UpdateSoftKeys(fw::Dialog& window, const cHistory& history);
