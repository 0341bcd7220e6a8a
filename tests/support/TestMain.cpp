// Test entry for programs without a Qt application object.
#include <gtest/gtest.h>

#include "TestRun.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return vexlo::test::RunAllTests();
}
