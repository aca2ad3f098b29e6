// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Requests to show or hide the input panel (the on-screen keyboard), passed to
// the toolkit's input method.

namespace fw {

class Dialog;

enum class SipState { Up, Down, ForceDown };

void SipPreference(Dialog& dialog, SipState state);

} // namespace fw
