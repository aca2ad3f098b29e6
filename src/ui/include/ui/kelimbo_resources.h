// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's resources: dialog templates 102, 103 and 104, soft-key menus
// 130, 131 and 133, the word list's menus 134 to 136, accelerator tables 140 and 141, and icon 128.

#include "framework/resources.h"

const fw::ResourceModule& KelimboResources();
