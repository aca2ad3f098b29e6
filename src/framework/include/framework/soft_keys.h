// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The soft-key bar: a strip at the bottom of a dialog's window with one key per
// item of a menu. A greyed item's key is disabled; a key sends its command to
// the dialog, as does the item's keyboard shortcut while the key is enabled.

#include "framework/resources.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class Dialog;

// Flags of CreateMenuBar.
inline constexpr std::uint32_t kMenuBarEmpty = 0x1; // show no keys at all
inline constexpr std::uint32_t kMenuBarMenu = 0x10; // show the menu's items

// Gives the window a new bar in place of the one it had; false without a
// window. With kMenuBarEmpty, or without a menu, the bar shows no keys.
bool CreateMenuBar(Dialog& dialog, std::uint32_t flags, const Menu* menu);

// The keys the window's bar shows, left to right.
struct SoftKey {
    std::u16string text;
    std::uint16_t command = 0;
    bool enabled = false;
    bool operator==(const SoftKey&) const = default;
};
std::vector<SoftKey> SoftKeys(const Dialog& dialog);

} // namespace fw
