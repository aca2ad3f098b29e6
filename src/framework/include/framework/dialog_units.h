// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Dialog units, as the classic dialog manager maps them: a horizontal unit
// is a quarter of the font's average letter width, a vertical unit an eighth
// of its height.

#include "framework/controls.h"

class QFont;

namespace fw::detail {

struct DialogBaseUnits {
    int x = 0; // average width of the 52 Latin letters, in pixels
    int y = 0; // the font's height, in pixels
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

Rect MapDialogRect(const Rect& units, DialogBaseUnits base);

} // namespace fw::detail
