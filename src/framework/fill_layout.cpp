// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/fill_layout.h"

namespace fw::detail {

namespace {

struct Span {
    int begin = 0;
    int end = 0;
};

// One axis: the item's span and the template's extent in pixels, placed in
// a client extent.
Span Fit(Span item, int extent, int client, bool stretches) {
    const int before = item.begin;
    const int after = extent - item.end;
    if (stretches) {
        return {item.begin, client - after};
    }
    if (after < before) {
        const int end = client - after;
        return {end - (item.end - item.begin), end};
    }
    return item;
}

bool StretchesAcross(const DialogItem& item) {
    return item.cls == ControlClass::ListBox || item.cls == ControlClass::Edit ||
           item.cls == ControlClass::ComboBox;
}

bool StretchesDown(const DialogItem& item) {
    return item.cls == ControlClass::ListBox ||
           (item.cls == ControlClass::Edit && (item.style & style::kEditMultiLine) != 0);
}

} // namespace

Rect FillRect(const DialogTemplate& dialogTemplate, const DialogItem& item, DialogBaseUnits base,
              int clientWidth, int clientHeight) {
    const Rect rect = MapDialogRect({item.x, item.y, item.x + item.cx, item.y + item.cy}, base);
    const Rect whole = MapDialogRect({0, 0, dialogTemplate.cx, dialogTemplate.cy}, base);
    const Span across =
        Fit({rect.left, rect.right}, whole.right, clientWidth, StretchesAcross(item));
    const Span down = Fit({rect.top, rect.bottom}, whole.bottom, clientHeight, StretchesDown(item));
    return {across.begin, down.begin, across.end, down.end};
}

} // namespace fw::detail
