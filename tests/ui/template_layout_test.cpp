// SPDX-License-Identifier: GPL-2.0-or-later
// ApplyTemplateLayout on a window of the tests' own templates: the deferred
// move of every control, the refresh by class, and the three ways it fails.
#include "framework/test_hooks.h"
#include "ui/template_layout.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace fw::style;
using fw::ControlClass;
using fw::DialogItem;

constexpr int kList = 21;
constexpr int kButton = 22;
constexpr int kIcon = 23;
constexpr int kMissing = 99;
constexpr std::uint16_t kIconId = 7;

enum : std::uint16_t { kWindow = 1, kAll, kWithMissing, kTwoStatics, kBitmap };

// The window: a list, a button, an icon static and one static with id 0xFFFF.
constexpr std::array kWindowItems = {
    DialogItem{kChild | kVisible | kBorder | kTabStop, 0, 2, 2, 80, 40, kList,
               ControlClass::ListBox, u"", 0},
    DialogItem{kChild | kVisible | kTabStop, 0, 2, 46, 40, 12, kButton, ControlClass::Button,
               u"старый", 0},
    DialogItem{kChild | kVisible | kStaticIcon, 0, 50, 46, 16, 16, kIcon, ControlClass::Static, u"",
               0},
    DialogItem{kChild | kVisible, 0, 2, 62, 80, 10, fw::kStaticId, ControlClass::Static, u"подпись",
               0},
};
// Every control on a new rectangle, with new texts and an icon.
constexpr std::array kAllItems = {
    DialogItem{kChild | kVisible, 0, 10, 20, 60, 30, kList, ControlClass::ListBox, u"", 0},
    DialogItem{kChild | kVisible, 0, 10, 4, 50, 12, kButton, ControlClass::Button, u"новый", 0},
    DialogItem{kChild | kVisible | kStaticIcon, 0, 70, 4, 16, 16, kIcon, ControlClass::Static, u"",
               kIconId},
    DialogItem{kChild | kVisible, 0, 10, 60, 60, 10, fw::kStaticId, ControlClass::Static, u"новая",
               0},
};
// The button, then a control the window lacks, then the list.
constexpr std::array kWithMissingItems = {
    DialogItem{kChild | kVisible, 0, 30, 30, 40, 12, kButton, ControlClass::Button, u"второй", 0},
    DialogItem{kChild | kVisible, 0, 0, 0, 10, 10, kMissing, ControlClass::Static, u"", 0},
    DialogItem{kChild | kVisible, 0, 30, 50, 40, 20, kList, ControlClass::ListBox, u"", 0},
};
constexpr std::array kTwoStaticsItems = {
    DialogItem{kChild | kVisible, 0, 4, 4, 40, 10, fw::kStaticId, ControlClass::Static, u"один", 0},
    DialogItem{kChild | kVisible, 0, 4, 20, 40, 10, fw::kStaticId, ControlClass::Static, u"два", 0},
};
constexpr std::array kBitmapItems = {
    DialogItem{kChild | kVisible | kStaticBitmap, 0, 50, 46, 16, 16, kIcon, ControlClass::Static,
               u"", 3},
};

constexpr std::array kDialogs = {
    fw::DialogTemplate{kWindow, kPopup, 0, 0, 100, 80, u"", kWindowItems},
    fw::DialogTemplate{kAll, kPopup, 0, 0, 100, 80, u"", kAllItems},
    fw::DialogTemplate{kWithMissing, kPopup, 0, 0, 100, 80, u"", kWithMissingItems},
    fw::DialogTemplate{kTwoStatics, kPopup, 0, 0, 100, 80, u"", kTwoStaticsItems},
    fw::DialogTemplate{kBitmap, kPopup, 0, 0, 100, 80, u"", kBitmapItems},
};

constexpr std::array<std::string_view, 2> kIconRows = {"ab", "ba"};
constexpr std::array kPalette = {fw::PaletteEntry{'a', 0xFF000000},
                                 fw::PaletteEntry{'b', 0xFFFFFFFF}};
constexpr std::array kIcons = {fw::Icon{kIconId, kIconRows, kPalette}};

constexpr fw::ResourceModule kModule{kDialogs, {}, kIcons};

// Counts the list's selection-change notifications.
class LayoutDialog : public fw::Dialog {
public:
    LayoutDialog() : fw::Dialog(kModule, kWindow) {}
    int listChanges = 0;

protected:
    bool OnMessage(fw::Msg msg, int id) override {
        if (msg == fw::Msg::ListSelChange && id == kList) {
            ++listChanges;
            return true;
        }
        return fw::Dialog::OnMessage(msg, id);
    }
};

fw::Rect Mapped(fw::Dialog& dlg, const DialogItem& item) {
    fw::Rect rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
    EXPECT_TRUE(dlg.MapDialogRect(rect));
    return rect;
}

void WithWindow(const std::function<void(LayoutDialog&)>& body) {
    LayoutDialog dlg;
    fw::testing::ScopedModalRun run([&](fw::Dialog&) {
        body(dlg);
        dlg.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
}

TEST(TemplateLayoutTest, MovesEveryControlAndRefreshesItByClass) {
    WithWindow([](LayoutDialog& dlg) {
        const fw::ListBox list = dlg.GetListBox(kList);
        for (const char16_t* line : {u"а", u"б", u"в"}) {
            list.AddString(line);
        }
        list.SetCurSel(1);
        ASSERT_TRUE(ApplyTemplateLayout(kModule, dlg, kAll));
        for (const DialogItem& item : kAllItems) {
            EXPECT_EQ(dlg.GetDlgItem(item.id).GetRect(), Mapped(dlg, item)) << item.id;
        }
        EXPECT_EQ(dlg.GetDlgItem(kButton).GetWindowText(), u"новый");
        EXPECT_EQ(dlg.GetDlgItem(fw::kStaticId).GetWindowText(), u"новая");
        EXPECT_TRUE(dlg.GetStatic(kIcon).HasImage());
        EXPECT_EQ(list.GetCurSel(), 1) << "the selection is set again";
        EXPECT_EQ(dlg.listChanges, 0) << "and nothing is notified";
    });
}

TEST(TemplateLayoutTest, AControlTheWindowLacksStopsTheWalk) {
    WithWindow([](LayoutDialog& dlg) {
        const fw::Rect listBefore = dlg.GetDlgItem(kList).GetRect();
        EXPECT_FALSE(ApplyTemplateLayout(kModule, dlg, kWithMissing));
        EXPECT_EQ(dlg.GetDlgItem(kButton).GetRect(), Mapped(dlg, kWithMissingItems[0]))
            << "items before the missing one are placed";
        EXPECT_EQ(dlg.GetDlgItem(kButton).GetWindowText(), u"второй");
        EXPECT_EQ(dlg.GetDlgItem(kList).GetRect(), listBefore) << "items after it are not";
    });
}

TEST(TemplateLayoutTest, TwoPlacedStaticIdsGiveFalseAfterPlacingBoth) {
    WithWindow([](LayoutDialog& dlg) {
        EXPECT_FALSE(ApplyTemplateLayout(kModule, dlg, kTwoStatics));
        // Both items found the one static with that id: the second one wins.
        EXPECT_EQ(dlg.GetDlgItem(fw::kStaticId).GetRect(), Mapped(dlg, kTwoStaticsItems[1]));
        EXPECT_EQ(dlg.GetDlgItem(fw::kStaticId).GetWindowText(), u"два");
    });
}

TEST(TemplateLayoutTest, ABitmapTitleClearsTheImageTheModuleHasNoBitmaps) {
    WithWindow([](LayoutDialog& dlg) {
        ASSERT_TRUE(ApplyTemplateLayout(kModule, dlg, kAll));
        ASSERT_TRUE(dlg.GetStatic(kIcon).HasImage());
        EXPECT_TRUE(ApplyTemplateLayout(kModule, dlg, kBitmap));
        EXPECT_FALSE(dlg.GetStatic(kIcon).HasImage());
    });
}

TEST(TemplateLayoutTest, NoTemplateOrNoWindowGivesFalse) {
    WithWindow([](LayoutDialog& dlg) { EXPECT_FALSE(ApplyTemplateLayout(kModule, dlg, 404)); });
    LayoutDialog closed;
    EXPECT_FALSE(ApplyTemplateLayout(kModule, closed, kAll));
}

} // namespace
