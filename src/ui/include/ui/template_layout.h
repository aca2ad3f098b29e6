// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Moves a window's controls onto the rectangles of a dialog template.

#include "framework/dialog.h"
#include "framework/resources.h"

#include <cstdint>

// Walks the template's items in order: each item's control is moved and sized
// to the item's rectangle, all in one deferred positioning, and refreshed by its
// class (a button's or static's text or image, a list's selection, set again
// without any notification). A control that the window lacks stops the walk:
// neither it nor any later item is placed. Returns false for a missing
// template or window, a missing control, or two placed items with the id
// 0xFFFF; true otherwise.
bool ApplyTemplateLayout(const fw::ResourceModule& module, fw::Dialog& window,
                         std::uint16_t templateId);
