// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/template_layout.h"

#include "framework/deferred_moves.h"

namespace {

void Refresh(const fw::ResourceModule& module, fw::Dialog& window, const fw::DialogItem& item) {
    switch (item.cls) {
    case fw::ControlClass::Button:
    case fw::ControlClass::Static:
        if (item.imageId == 0) {
            window.GetDlgItem(item.id).SetWindowText(item.title);
        } else if ((item.style & fw::style::kStaticIcon) == fw::style::kStaticIcon) {
            window.GetStatic(item.id).SetImage(module.FindIcon(item.imageId));
        } else if ((item.style & fw::style::kStaticBitmap) == fw::style::kStaticBitmap) {
            // The module holds no bitmaps: the image goes, none replaces it.
            window.GetStatic(item.id).SetImage(nullptr);
        }
        break;
    case fw::ControlClass::ListBox:
    case fw::ControlClass::ComboBox: {
        const fw::ListBox list = window.GetListBox(item.id);
        const int selected = list.GetCurSel();
        if (selected != fw::LB_ERR) {
            list.SetCurSel(selected);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

bool ApplyTemplateLayout(const fw::ResourceModule& module, fw::Dialog& window,
                         std::uint16_t templateId) {
    const fw::DialogTemplate* dialogTemplate = module.FindDialog(templateId);
    if (dialogTemplate == nullptr) {
        return false;
    }
    fw::DeferredMoves moves(window, static_cast<int>(dialogTemplate->items.size()));
    if (!moves.Valid()) {
        return false;
    }
    bool ok = true;
    int placedStatics = 0;
    for (const fw::DialogItem& item : dialogTemplate->items) {
        const fw::Control control = window.GetDlgItem(item.id);
        fw::Rect rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
        if (!control.IsValid() || !window.MapDialogRect(rect)) {
            ok = false;
            break;
        }
        if (!moves.Add(control, rect)) {
            ok = false;
        }
        if (item.id == fw::kStaticId) {
            ++placedStatics;
        }
        Refresh(module, window, item);
    }
    if (!moves.Apply()) {
        ok = false;
    }
    return ok && placedStatics < 2;
}
