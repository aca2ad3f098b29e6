// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The scalable form of a pixel-art icon: one SVG square per pixel, with the
// pixels of a colour that follow each other in a row joined into one
// rectangle. The launcher icons are made from the window's own icon this way,
// so both always show the same picture.

#include "framework/resources.h"

#include <string>

std::string IconSvg(const fw::Icon& icon);
