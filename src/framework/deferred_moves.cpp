// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/deferred_moves.h"

#include "framework/dialog.h"
#include "framework/dialog_window.h"

namespace fw {

DeferredMoves::DeferredMoves(Dialog& dialog, int count)
    : m_dialog(dialog), m_valid(dialog.HasWindow() && count >= 0) {
    if (m_valid) {
        m_moves.reserve(static_cast<std::size_t>(count));
    }
}

bool DeferredMoves::Add(const Control& control, const Rect& rect) {
    if (!m_valid || !control.IsValid()) {
        return false;
    }
    m_moves.emplace_back(control, rect);
    return true;
}

bool DeferredMoves::Apply() {
    detail::DialogWindow* window = m_dialog.Window();
    if (!m_valid || window == nullptr) {
        return false;
    }
    window->setUpdatesEnabled(false);
    for (const auto& [control, rect] : m_moves) {
        control.MoveWindow(rect);
    }
    window->setUpdatesEnabled(true);
    return true;
}

} // namespace fw
