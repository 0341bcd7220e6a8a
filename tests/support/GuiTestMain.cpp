// Test entry for tests that need Qt's picture plugins: a QGuiApplication on
// the offscreen platform, then every test.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "TestRun.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return vexlo::test::RunAllTests();
}
