// Test entry for the windows: the guarded application on the offscreen
// platform, with errors collected instead of shown in boxes.
#include <gtest/gtest.h>

#include "ErrorReport.h"
#include "GuardedApplication.h"
#include "UiTestSupport.h"

namespace vexlo::test {
QStringList& ReportedErrors() {
    static QStringList errors;
    return errors;
}
}  // namespace vexlo::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    vexlo::GuardedApplication app(argc, argv);
    vexlo::SetErrorSink([](const QString& text) { vexlo::test::ReportedErrors().append(text); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
