// SPDX-License-Identifier: GPL-2.0-or-later
#include "low/low.h"
#include "mid/mid.h"

#include <QWidget>
