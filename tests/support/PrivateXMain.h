#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "TestRun.h"
#include "XServer.h"

namespace vexlo::test {

// The entry of a widget test that needs a real X server: starts a private
// Xvfb, points Qt at it with no session bus (so that nothing of the desktop
// the tests run in, such as a StatusNotifier host, reaches them), and runs
// every test in a QApplication. `display` receives the server's name.
inline int RunWidgetTestsOnPrivateX(int argc, char** argv, std::string* display = nullptr) {
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<XServer> server;
    try {
        server = std::make_unique<XServer>();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (display != nullptr) {
        *display = server->Display();
    }
    qputenv("DISPLAY", QByteArray::fromStdString(server->Display()));
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:abstract=vexlo-test-no-bus");
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RunAllTests();
    }
    return result;
}

}  // namespace vexlo::test
