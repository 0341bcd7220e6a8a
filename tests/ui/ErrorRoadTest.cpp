// The error road: whatever a handler raises is reported once and the program
// goes on; one-shot timers die with their owner.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ErrorReport.h"
#include "UiTestSupport.h"
#include "VexloError.h"
#include "WidgetHost.h"

using namespace vexlo;
using vexlo::test::TakeReportedErrors;

namespace {

class Thrower : public QObject {
public:
    void Fail() { throw VexloError("Unable to write to /nowhere/Vexlo.ini"); }
    int cleaned = 0;
};

}  // namespace

TEST(ErrorRoad, GuardedSlotReportsAndTheLoopGoesOn) {
    Thrower thrower;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, &thrower, Guarded(&thrower, &Thrower::Fail));
    button.click();
    button.click();
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Unable to write to /nowhere/Vexlo.ini",
                                                 "Unable to write to /nowhere/Vexlo.ini"}));
}

TEST(ErrorRoad, TheApplicationCatchesWhatAnEventRaises) {
    // A timer's functor runs inside notify(): the guarded application reports it.
    bool after = false;
    QTimer::singleShot(0, [] { throw VexloError("Cannot open file x.jpg"); });
    QTimer::singleShot(5, [&] { after = true; });
    QTRY_VERIFY(after);
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Cannot open file x.jpg"}));
}

TEST(ErrorRoad, OneShotTimersFireOnceAndNeverAfterTheirOwner) {
    int fired = 0;
    {
        auto owner = std::make_unique<QObject>();
        WidgetHost host(owner.get());
        host.StartOneShotTimer(1, [&] { ++fired; });
        host.StartOneShotTimer(1, [&] { throw VexloError("refresh failed"); });
        QTRY_COMPARE(fired, 1);
        EXPECT_EQ(TakeReportedErrors(), QStringList({"refresh failed"}));
        host.StartOneShotTimer(1, [&] { ++fired; });
    }  // owner gone before the timer is due
    QTest::qWait(20);
    EXPECT_EQ(fired, 1);
}
