// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/resources.h"

namespace fw {

namespace {
template <class T> const T* FindById(std::span<const T> all, std::uint16_t id) {
    for (const T& item : all) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}
} // namespace

const DialogTemplate* ResourceModule::FindDialog(std::uint16_t id) const {
    return FindById(dialogs, id);
}

const Menu* ResourceModule::FindMenu(std::uint16_t id) const {
    return FindById(menus, id);
}

IconHandle ResourceModule::FindIcon(std::uint16_t id) const {
    return FindById(icons, id);
}

const AcceleratorTable* ResourceModule::FindAccelerators(std::uint16_t id) const {
    return FindById(accelerators, id);
}

} // namespace fw
