// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The controls of a resizable window stretch with it. The template gives the
// arrangement and the margins in dialog units: at the template's own size
// every control lies on its rectangle, and in a larger client area each keeps
// its distances to the edges it is tied to.
//
// Along each axis a control either stretches, keeping both of its margins,
// or keeps its size and its margin to the nearer edge of the template (the
// far edge when that margin is the smaller one). Lists and multi-line edit
// boxes stretch both ways, single-line edit boxes and combo boxes only
// across; buttons, statics and everything else keep their size.

#include "framework/controls.h"
#include "framework/dialog_units.h"
#include "framework/resources.h"

namespace fw::detail {

// The rectangle, in pixels of a client area of clientWidth × clientHeight, of
// one item of the template, with dialog units mapped by `base`.
Rect FillRect(const DialogTemplate& dialogTemplate, const DialogItem& item, DialogBaseUnits base,
              int clientWidth, int clientHeight);

} // namespace fw::detail
