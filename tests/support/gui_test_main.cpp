// SPDX-License-Identifier: GPL-2.0-or-later
// The main of the tests that use real widgets: the toolkit's application
// exists for the whole run, on the offscreen platform unless the environment
// names another, so the tests need no display. The standard folders are the
// toolkit's test folders, so that no test reaches the user's settings.
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
