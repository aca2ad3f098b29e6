// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the window's icon as SVG to standard output; make-icons.sh turns it
// into the launcher icons.
#include "icon_svg.h"
#include "ui/kelimbo_resources.h"
#include "ui/resource_ids.h"

#include <cstdio>

int main() {
    const fw::Icon* icon = KelimboResources().FindIcon(IDI_KELIMBO);
    if (icon == nullptr) {
        std::fputs("kelimbo-icon-svg: the program has no icon\n", stderr);
        return 1;
    }
    std::fputs(IconSvg(*icon).c_str(), stdout);
    return 0;
}
