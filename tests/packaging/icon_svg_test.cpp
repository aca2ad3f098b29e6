// SPDX-License-Identifier: GPL-2.0-or-later
#include "icon_svg.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace {

TEST(IconSvg, JoinsRunsLeavesOutTransparentPixelsAndKeepsAlpha) {
    constexpr std::array<std::string_view, 3> rows = {"aab.", ".bbb", "a?a"};
    constexpr std::array palette = {
        fw::PaletteEntry{'a', 0xFF1B5E20},
        fw::PaletteEntry{'b', 0x80FFFFFF},
    };
    const fw::Icon icon{128, rows, palette};
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"3\" viewBox=\"0 0 4 3\" "
        "shape-rendering=\"crispEdges\">\n"
        "  <rect x=\"0\" y=\"0\" width=\"2\" height=\"1\" fill=\"#1B5E20\"/>\n"
        "  <rect x=\"2\" y=\"0\" width=\"1\" height=\"1\" fill=\"#FFFFFF\" "
        "fill-opacity=\"0.502\"/>\n"
        "  <rect x=\"1\" y=\"1\" width=\"3\" height=\"1\" fill=\"#FFFFFF\" "
        "fill-opacity=\"0.502\"/>\n"
        "  <rect x=\"0\" y=\"2\" width=\"1\" height=\"1\" fill=\"#1B5E20\"/>\n"
        "  <rect x=\"2\" y=\"2\" width=\"1\" height=\"1\" fill=\"#1B5E20\"/>\n"
        "</svg>\n";
    EXPECT_EQ(IconSvg(icon), expected);
}

TEST(IconSvg, EmptyIconIsAnEmptyPicture) {
    const fw::Icon icon{128, {}, {}};
    EXPECT_NE(IconSvg(icon).find("viewBox=\"0 0 0 0\""), std::string::npos);
}

} // namespace
