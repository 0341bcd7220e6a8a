#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TestRun.h"
#include "support/GuardedApplication.h"

// The desktop tests need an event loop (the hot key, D-Bus) and must leave no
// process behind: services started by a test's bus come back to us to reap.
int main(int argc, char** argv) {
    vexlo::test::AdoptOrphans();
    vexlo::test::GuardedApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = vexlo::test::RunAllTests();
    vexlo::test::ReapOrphans();
    return result;
}
