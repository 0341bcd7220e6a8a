// Headless test runner: a widget application on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLoggingCategory>

#include "TestRun.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Qt's X11 tray fallback looks for an X11 signal the offscreen platform
    // lacks and says so for every tray icon; our own connections are typed.
    QLoggingCategory::setFilterRules("qt.core.qobject.connect=false");
    ::testing::InitGoogleTest(&argc, argv);
    return vexlo::test::RunAllTests();
}
