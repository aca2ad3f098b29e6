// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Moves several controls of a window at once, as one deferred positioning:
// the moves are gathered and then made with the window's painting held.

#include "framework/controls.h"

#include <vector>

namespace fw {

class DeferredMoves {
public:
    // Begins a positioning of up to `count` controls; Valid() is false
    // without a window.
    DeferredMoves(Dialog& dialog, int count);
    bool Valid() const { return m_valid; }
    // Adds a move; false when the control does not exist.
    bool Add(const Control& control, const Rect& rect);
    // Makes all moves; false when the positioning was not valid.
    bool Apply();

private:
    Dialog& m_dialog;
    bool m_valid;
    std::vector<std::pair<Control, Rect>> m_moves;
};

} // namespace fw
