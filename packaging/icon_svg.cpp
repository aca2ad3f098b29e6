// SPDX-License-Identifier: GPL-2.0-or-later
#include "icon_svg.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

std::optional<std::uint32_t> PixelColour(const fw::Icon& icon, char key) {
    for (const fw::PaletteEntry& entry : icon.palette) {
        if (entry.key == key) {
            return entry.argb;
        }
    }
    return std::nullopt; // a key outside the palette is transparent
}

std::string Fill(std::uint32_t argb) {
    char text[48];
    const unsigned alpha = argb >> 24;
    if (alpha == 0xFF) {
        std::snprintf(text, sizeof text, "fill=\"#%06X\"", argb & 0xFFFFFFu);
    } else {
        std::snprintf(text, sizeof text, "fill=\"#%06X\" fill-opacity=\"%.3f\"", argb & 0xFFFFFFu,
                      alpha / 255.0);
    }
    return text;
}

} // namespace

std::string IconSvg(const fw::Icon& icon) {
    std::size_t width = 0;
    for (std::string_view row : icon.rows) {
        width = std::max(width, row.size());
    }
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(icon.rows.size());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
                      "\" shape-rendering=\"crispEdges\">\n";
    for (std::size_t y = 0; y < icon.rows.size(); ++y) {
        const std::string_view row = icon.rows[y];
        for (std::size_t x = 0; x < row.size();) {
            std::size_t end = x + 1;
            while (end < row.size() && row[end] == row[x]) {
                ++end;
            }
            if (const auto colour = PixelColour(icon, row[x])) {
                svg += "  <rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                       "\" width=\"" + std::to_string(end - x) + "\" height=\"1\" " +
                       Fill(*colour) + "/>\n";
            }
            x = end;
        }
    }
    return svg + "</svg>\n";
}
