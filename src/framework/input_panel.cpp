// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/input_panel.h"

#include "framework/hooks.h"

#include <QGuiApplication>
#include <QInputMethod>

namespace fw {

void SipPreference(Dialog& /*dialog*/, SipState state) {
    detail::TheHooks().lastSip = state;
    QInputMethod* inputMethod = QGuiApplication::inputMethod();
    if (state == SipState::Up) {
        inputMethod->show();
    } else {
        inputMethod->hide();
    }
}

} // namespace fw
