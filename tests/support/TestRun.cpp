#include "TestRun.h"

#include <gtest/gtest.h>

namespace vexlo::test {

int RunAllTests() {
    const int result = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (result == 0 && run.skipped_test_count() > 0) {
        return kSkippedExitCode;
    }
    return result;
}

}  // namespace vexlo::test
