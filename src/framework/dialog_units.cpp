// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/dialog_units.h"

#include <QFont>
#include <QFontMetrics>

#include <cstdint>

namespace fw::detail {

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The average of 52 letters, rounded to the nearest pixel.
    return {(width / 26 + 1) / 2, metrics.height()};
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

Rect MapDialogRect(const Rect& units, DialogBaseUnits base) {
    return {MulDiv(units.left, base.x, 4), MulDiv(units.top, base.y, 8),
            MulDiv(units.right, base.x, 4), MulDiv(units.bottom, base.y, 8)};
}

} // namespace fw::detail
