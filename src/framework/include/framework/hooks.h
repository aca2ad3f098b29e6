// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The state behind the test hooks, read by the framework's parts.

#include "framework/test_hooks.h"

namespace fw::detail {

struct Hooks {
    std::function<void(Dialog&)> modalRun;
    std::vector<testing::MessageBoxCall>* messageBoxes = nullptr;
    bool questionAnswer = false; // what a captured question is answered
    std::optional<ScreenSize> screen;
    std::optional<SipState> lastSip;
    testing::ScopedSaveFileAnswer* saveFileName = nullptr;
};

Hooks& TheHooks();

} // namespace fw::detail
