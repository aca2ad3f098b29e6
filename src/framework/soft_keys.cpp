// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/soft_keys.h"

#include "framework/dialog.h"
#include "framework/dialog_window.h"
#include "framework/soft_key_bar.h"

namespace fw {

bool CreateMenuBar(Dialog& dialog, std::uint32_t flags, const Menu* menu) {
    detail::DialogWindow* window = dialog.Window();
    if (window == nullptr) {
        return false;
    }
    window->Bar().Show((flags & kMenuBarEmpty) != 0 ? nullptr : menu);
    return true;
}

std::vector<SoftKey> SoftKeys(const Dialog& dialog) {
    const detail::DialogWindow* window = dialog.Window();
    return window == nullptr ? std::vector<SoftKey>{} : window->Bar().Keys();
}

} // namespace fw
