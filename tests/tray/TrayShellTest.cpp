// Both shells keep the shell's rules for entries; the Qt one shows entries as
// QSystemTrayIcons and reports Qt's activations as the shell's mouse messages.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>

#include "QtTrayShell.h"
#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

NOTIFYICONDATAA Data(uint32_t hWnd, uint32_t flags, uint32_t hIcon = 0, const char* tip = "") {
    NOTIFYICONDATAA d;
    d.hWnd = hWnd;
    d.uFlags = flags;
    d.hIcon = hIcon;
    SetNotifyTip(d, tip);
    return d;
}

template <typename Shell>
class EveryShell : public ::testing::Test {
protected:
    void TearDown() override { Drain(); }
    Shell shell;
};
using Shells = ::testing::Types<RecordingTrayShell, QtTrayShell>;
TYPED_TEST_SUITE(EveryShell, Shells);

TYPED_TEST(EveryShell, RefusesDuplicateAddsMissingEntriesAndUnknownCalls) {
    const NOTIFYICONDATAA d = Data(77, 7);
    NOTIFYICONDATAA second = d;
    second.uID = 1;  // another icon of the same window
    TrayShell& s = this->shell;
    EXPECT_FALSE(s.Shell_NotifyIconA(NIM_MODIFY, d));
    EXPECT_FALSE(s.Shell_NotifyIconA(NIM_DELETE, d));
    EXPECT_TRUE(s.Shell_NotifyIconA(NIM_ADD, d));
    EXPECT_FALSE(s.Shell_NotifyIconA(NIM_ADD, d));
    EXPECT_FALSE(s.Shell_NotifyIconA(3, d));
    EXPECT_TRUE(s.Shell_NotifyIconA(NIM_ADD, second));
    EXPECT_TRUE(s.Shell_NotifyIconA(NIM_DELETE, d));
    EXPECT_FALSE(s.Shell_NotifyIconA(NIM_MODIFY, d));
    EXPECT_TRUE(s.Shell_NotifyIconA(NIM_MODIFY, second));
}

TEST(QtTrayShell, EntryIsAShownTrayIconTakingOnlyTheFlaggedFields) {
    QtTrayShell shell;
    const QIcon red = ColourIcon(Qt::red);
    IconHandle handle(red);
    shell.Shell_NotifyIconA(NIM_ADD, Data(5, 7, handle.Value(), "first"));
    QPointer<QSystemTrayIcon> icon = shell.TrayIconOf(5);
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), "first");
    EXPECT_EQ(icon->icon().cacheKey(), red.cacheKey());

    shell.Shell_NotifyIconA(NIM_MODIFY, Data(5, NIF_TIP, 0, "second"));
    EXPECT_EQ(icon->toolTip(), "second");
    EXPECT_EQ(icon->icon().cacheKey(), red.cacheKey());
    shell.Shell_NotifyIconA(NIM_MODIFY, Data(5, NIF_ICON));
    EXPECT_FALSE(icon->icon().isNull());  // a blank slot, as the shell keeps

    shell.Shell_NotifyIconA(NIM_DELETE, Data(5, 0));
    EXPECT_EQ(shell.TrayIconOf(5), nullptr);
    EXPECT_FALSE(icon->isVisible());
    Drain();
    EXPECT_FALSE(icon);
}

class QtShellClicks : public ::testing::Test {
protected:
    void SetUp() override { Start(60 * 1000); }
    void TearDown() override {
        tray.reset();
        hints->setMouseDoubleClickInterval(savedInterval);
        Drain();
    }
    void Start(int doubleClickMs) {
        tray.reset();
        hints->setMouseDoubleClickInterval(doubleClickMs);
        tray = std::make_unique<TTrayIcon>(nullptr, shell);
        tray->setToolTip("Vexlo");
        tray->setActive(true);
        tray->setOnClick([this](QObject*) { events += "c"; });
        tray->setOnDblClick([this](QObject*) { events += "d"; });
        tray->setOnRightClick(
            [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { events += "r"; });
    }
    void Report(std::initializer_list<QSystemTrayIcon::ActivationReason> reasons) {
        for (auto reason : reasons) {
            emit shell->TrayIconOf(tray->WindowHandle())->activated(reason);
        }
    }

    QStyleHints* hints = QGuiApplication::styleHints();
    const int savedInterval = hints->mouseDoubleClickInterval();
    std::shared_ptr<QtTrayShell> shell = std::make_shared<QtTrayShell>();
    std::unique_ptr<TTrayIcon> tray;
    std::string events;
};

TEST_F(QtShellClicks, DoubleClicksReachTheIconInTheShellsOrder) {
    using R = QSystemTrayIcon;
    Report({R::Trigger, R::Trigger, R::DoubleClick, R::Context});  // as on X11
    Report({R::Trigger, R::DoubleClick, R::MiddleClick});          // as on Windows
    EXPECT_EQ(events, "cdcrcdc");
}

TEST_F(QtShellClicks, HeldClickArrivesWhenTheDoubleClickTimeRunsOut) {
    Start(30);
    Report({QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger});
    EXPECT_EQ(events, "c");
    EXPECT_TRUE(QTest::qWaitFor([&] { return events == "cc"; }, 20000));
}

TEST_F(QtShellClicks, IconDestroyedByItsHandlerGetsNoMoreReports) {
    QPointer<QSystemTrayIcon> icon = shell->TrayIconOf(tray->WindowHandle());
    tray->setOnDblClick([this](QObject*) { tray.reset(); });
    emit icon->activated(QSystemTrayIcon::DoubleClick);  // the closing click finds no entry
    EXPECT_EQ(tray, nullptr);
    EXPECT_EQ(events, "");
    Drain();
    EXPECT_FALSE(icon);
}

}  // namespace
}  // namespace vexlo::test
