// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Keys as a dialog sees them before its controls do (Dialog::PreTranslateKey):
// the virtual-key codes of the keys that move between and within controls,
// of Delete and of Z (for Ctrl+Z), and the modifiers held.

namespace fw {

inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21; // Page Up
inline constexpr int VK_NEXT = 0x22;  // Page Down
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_Z = 0x5A; // a letter's code is its capital's

struct KeyDown {
    int vk = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool Plain() const { return !shift && !ctrl && !alt; }
};

} // namespace fw
