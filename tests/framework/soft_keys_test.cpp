// SPDX-License-Identifier: GPL-2.0-or-later
// The soft-key bar: keys from a menu's items, greyed keys disabled, the empty
// bar, replacement, and the Alt+arrow shortcuts.
#include "framework/soft_keys.h"
#include "framework/test_hooks.h"
#include "support/gui_driver.h"
#include "test_dialog.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>

namespace {

using fw::testing::ScopedModalRun;
using test_dialog::TestDialog;

constexpr int kOther = 778;

constexpr std::array kBothItems = {
    fw::MenuItem{u"назад", test_dialog::kCommand, false, "Alt+Left"},
    fw::MenuItem{u"вперёд", kOther, false, "Alt+Right"},
};
constexpr std::array kGreyItems = {
    fw::MenuItem{u"назад ", test_dialog::kCommand, true, "Alt+Left"},
    fw::MenuItem{u"вперёд", kOther, false, "Alt+Right"},
};
constexpr fw::Menu kBoth{1, kBothItems};
constexpr fw::Menu kGrey{2, kGreyItems};

int Commands(const TestDialog& d) {
    return static_cast<int>(std::count_if(d.notes.begin(), d.notes.end(), [](const auto& n) {
        return n.msg == fw::Msg::Command && n.id == test_dialog::kCommand;
    }));
}

TEST(SoftKeysTest, KeysFollowTheMenuAndItsGreyedItems) {
    TestDialog dlg;
    ScopedModalRun run([](fw::Dialog& d) {
        EXPECT_TRUE(fw::SoftKeys(d).empty()) << "the framework's start-up gives an empty bar";
        ASSERT_TRUE(fw::CreateMenuBar(d, fw::kMenuBarMenu, &kBoth));
        QWidget* back = fw::testing::SoftKeyWidget(d, test_dialog::kCommand);
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(back->isVisible()) << "shown at once, before the event loop runs";
        EXPECT_GT(back->width(), 0);
        EXPECT_EQ(fw::SoftKeys(d),
                  (std::vector<fw::SoftKey>{{u"назад", test_dialog::kCommand, true},
                                            {u"вперёд", kOther, true}}));
        fw::CreateMenuBar(d, fw::kMenuBarMenu, &kGrey);
        EXPECT_EQ(fw::SoftKeys(d),
                  (std::vector<fw::SoftKey>{{u"назад ", test_dialog::kCommand, false},
                                            {u"вперёд", kOther, true}}))
            << "the new bar replaces the old one";
        fw::CreateMenuBar(d, fw::kMenuBarEmpty, &kBoth);
        EXPECT_TRUE(fw::SoftKeys(d).empty()) << "the empty-bar flag shows no keys";
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
    EXPECT_FALSE(fw::CreateMenuBar(dlg, fw::kMenuBarMenu, &kBoth)) << "no window, no bar";
}

TEST(SoftKeysTest, KeysAndShortcutsSendTheirCommandsOnlyWhileEnabled) {
    TestDialog dlg;
    ScopedModalRun run([](fw::Dialog& d) {
        auto& self = static_cast<TestDialog&>(d);
        QWidget* edit = fw::testing::ControlWidget(d, test_dialog::kEdit);
        ASSERT_TRUE(gui_driver::Activate(edit));
        edit->setFocus();

        fw::CreateMenuBar(d, fw::kMenuBarMenu, &kBoth);
        QTest::mouseClick(fw::testing::SoftKeyWidget(d, test_dialog::kCommand), Qt::LeftButton);
        EXPECT_EQ(Commands(self), 1);
        gui_driver::Key(edit, Qt::Key_Left, Qt::AltModifier);
        EXPECT_EQ(Commands(self), 2) << "Alt+Left presses the key";

        fw::CreateMenuBar(d, fw::kMenuBarMenu, &kGrey);
        QTest::mouseClick(fw::testing::SoftKeyWidget(d, test_dialog::kCommand), Qt::LeftButton);
        gui_driver::Key(edit, Qt::Key_Left, Qt::AltModifier);
        EXPECT_EQ(Commands(self), 2) << "a greyed key sends nothing";

        fw::CreateMenuBar(d, fw::kMenuBarEmpty, nullptr);
        gui_driver::Key(edit, Qt::Key_Left, Qt::AltModifier);
        EXPECT_EQ(Commands(self), 2) << "no key, no shortcut";
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
}

TEST(SoftKeysTest, AKeyMayReplaceTheBarFromItsOwnCommand) {
    TestDialog dlg;
    dlg.then = [](TestDialog& d, const test_dialog::Note& note) {
        if (note.msg == fw::Msg::Command && note.id == test_dialog::kCommand) {
            fw::CreateMenuBar(d, fw::kMenuBarMenu, &kGrey);
        }
    };
    ScopedModalRun run([](fw::Dialog& d) {
        fw::CreateMenuBar(d, fw::kMenuBarMenu, &kBoth);
        QTest::mouseClick(fw::testing::SoftKeyWidget(d, test_dialog::kCommand), Qt::LeftButton);
        EXPECT_FALSE(fw::SoftKeys(d).front().enabled);
        d.EndDialog(fw::IDOK);
    });
    dlg.DoModal();
}

} // namespace
