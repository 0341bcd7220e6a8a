#include <gtest/gtest.h>

#include <QGuiApplication>

#include "support/ChildProcess.h"

// The desktop tests need an event loop (the hot key, D-Bus) and must leave no
// process behind: services started by a test's bus come back to us to reap.
int main(int argc, char** argv) {
    vexlo::test::AdoptOrphans();
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    vexlo::test::ReapOrphans();
    return result;
}
