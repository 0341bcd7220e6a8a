#pragma once

namespace vexlo::test {

// CTest's SKIP_RETURN_CODE for every test program (see vexlo_add_test).
inline constexpr int kSkippedExitCode = 77;

// RUN_ALL_TESTS(), except that a run in which some test was skipped and none
// failed ends with kSkippedExitCode, so that CTest shows it as skipped rather
// than passed.
int RunAllTests();

}  // namespace vexlo::test
