// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/soft_key_menus.h"

#include "framework/soft_keys.h"
#include "history/history.h"
#include "ui/kelimbo_resources.h"
#include "ui/resource_ids.h"

SoftKeyChoice ChooseSoftKeys(bool back, bool forward, bool words) {
    SoftKeyChoice choice;
    if (words) {
        if (forward) {
            choice.menu = back ? IDR_MENU_BACK_FORWARD_WORDS : IDR_MENU_FORWARD_WORDS;
        } else {
            choice.menu = back ? IDR_MENU_BACK_WORDS : IDR_MENU_WORDS;
        }
        choice.flags = fw::kMenuBarMenu;
        return choice;
    }
    if (forward) {
        choice.menu = back ? IDR_MENU_BACK_FORWARD : IDR_MENU_FORWARD;
    } else {
        choice.menu = IDR_MENU_BACK;
    }
    // With nowhere to go the bar shows no keys at all.
    choice.flags = back || forward ? fw::kMenuBarMenu : fw::kMenuBarEmpty;
    return choice;
}

void UpdateSoftKeys(fw::Dialog& window, const cHistory& history, bool words) {
    const SoftKeyChoice choice = ChooseSoftKeys(history.CanGoBack(), history.CanGoForward(), words);
    fw::CreateMenuBar(window, choice.flags, KelimboResources().FindMenu(choice.menu));
}
