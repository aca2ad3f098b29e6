// SPDX-License-Identifier: GPL-2.0-or-later
#include "mid/mid.h"
#include <QWidget>
#include "low/low.h"
