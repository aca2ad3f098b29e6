// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/text_zoom.h"

#include "framework/dialog.h"
#include "ui/resource_ids.h"
#include "ui/window_settings.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {
constexpr std::array kLadder = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
} // namespace

int ZoomStep(int percent, int steps) {
    const auto nearest = std::min_element(kLadder.begin(), kLadder.end(), [percent](int a, int b) {
        return std::abs(a - percent) < std::abs(b - percent);
    });
    const auto last = static_cast<int>(kLadder.size()) - 1;
    const int at = std::clamp(static_cast<int>(nearest - kLadder.begin()) + steps, 0, last);
    return kLadder[static_cast<std::size_t>(at)];
}

void ZoomCommand(WindowSettings& settings, fw::Dialog& window, int command) {
    const int zoom = command == ID_ZOOM_RESET
                         ? kDefaultZoom
                         : ZoomStep(settings.Zoom(), command == ID_ZOOM_IN ? 1 : -1);
    settings.SetZoom(zoom);
    window.SetTextZoom(zoom);
    if (fw::Dialog* covered = window.Parent()) {
        covered->SetTextZoom(zoom);
    }
}
