// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The zoom of the list and of the article text: a ladder of steps in percent,
// shared by both windows and remembered between runs.

class WindowSettings;

namespace fw {
class Dialog;
}

inline constexpr int kDefaultZoom = 100;

// The step `steps` places up (positive) or down the ladder from the step
// nearest to `percent`, stopping at the ladder's ends.
int ZoomStep(int percent, int steps);

// Acts on ID_ZOOM_IN, ID_ZOOM_OUT or ID_ZOOM_RESET given to `window`: the new
// zoom goes into the settings and into the window and the window it covers.
void ZoomCommand(WindowSettings& settings, fw::Dialog& window, int command);
