// SPDX-License-Identifier: GPL-2.0-or-later
// Dialog units: the rounding of MulDiv and the mapping by the base units.
#include "framework/dialog_units.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

using fw::detail::MulDiv;

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {10, 7, 4, 18},                 // 17.5 → 18
        {9, 7, 4, 16},                  // 15.75 → 16
        {5, 7, 4, 9},                   // 8.75 → 9
        {3, 6, 4, 5},                   // 4.5 → 5
        {-3, 6, 4, -5},                 // -4.5 → -5
        {3, -6, 4, -5},                 //
        {1, 1, 3, 0},                   // 0.33 → 0
        {2, 1, 3, 1},                   // 0.67 → 1
        {7, 5, 0, -1},                  // division by zero
        {100000, 30000, 1000, 3000000}, // the product passes 32 bits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

TEST(DialogUnitsTest, RectangleMapsByQuarterWidthAndEighthHeight) {
    const fw::detail::DialogBaseUnits base{7, 16};
    EXPECT_EQ(fw::detail::MapDialogRect({3, 19, 151, 118}, base), (fw::Rect{5, 38, 264, 236}));
    EXPECT_EQ(fw::detail::MapDialogRect({0, 0, 156, 122}, base), (fw::Rect{0, 0, 273, 244}));
}

TEST(DialogUnitsTest, BaseUnitsAreTheAverageLetterWidthAndTheFontHeight) {
    const QFont font;
    const QFontMetrics metrics(font);
    const fw::detail::DialogBaseUnits base = fw::detail::BaseUnitsOf(font);
    const double average = metrics.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           52.0;
    EXPECT_LE(std::abs(base.x - average), 0.5 + 1e-9);
    EXPECT_EQ(base.y, metrics.height());
}

} // namespace
