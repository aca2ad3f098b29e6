// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pixel-art icon resources as toolkit images.

#include "framework/resources.h"

#include <QIcon>
#include <QImage>

namespace fw::detail {

// The icon at its own size; a null image for a null or empty icon.
QImage IconImage(IconHandle icon);
// The icon scaled (without smoothing) to the usual window-icon sizes.
QIcon WindowIcon(IconHandle icon);

} // namespace fw::detail
