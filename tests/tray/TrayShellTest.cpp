// Both shells keep the same rules for entries, and the Qt one reports Qt's
// activations as the shell's mouse messages.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QTest>

#include "QtTrayShell.h"
#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

NOTIFYICONDATAA Data(uint32_t hWnd, uint32_t flags, uint32_t hIcon, const QString& tip) {
    NOTIFYICONDATAA d;
    d.cbSize = sizeof d;
    d.hWnd = hWnd;
    d.uFlags = flags;
    d.uCallbackMessage = 1025;
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

TYPED_TEST(EveryShell, RefusesDuplicateAddsAndMissingEntries) {
    const NOTIFYICONDATAA d = Data(77, 7, 0, "a");
    EXPECT_FALSE(this->shell.Shell_NotifyIconA(NIM_MODIFY, d));
    EXPECT_FALSE(this->shell.Shell_NotifyIconA(NIM_DELETE, d));
    EXPECT_TRUE(this->shell.Shell_NotifyIconA(NIM_ADD, d));
    EXPECT_FALSE(this->shell.Shell_NotifyIconA(NIM_ADD, d));
    EXPECT_TRUE(this->shell.Shell_NotifyIconA(NIM_MODIFY, d));
    EXPECT_FALSE(this->shell.Shell_NotifyIconA(3, d));
    NOTIFYICONDATAA other = d;
    other.uID = 1;  // another icon of the same window
    EXPECT_TRUE(this->shell.Shell_NotifyIconA(NIM_ADD, other));
    EXPECT_TRUE(this->shell.Shell_NotifyIconA(NIM_DELETE, d));
    EXPECT_FALSE(this->shell.Shell_NotifyIconA(NIM_DELETE, d));
    EXPECT_TRUE(this->shell.Shell_NotifyIconA(NIM_DELETE, other));
}

TEST(QtTrayShell, EntriesAreShownTrayIconsWithTheirTipAndImage) {
    QtTrayShell shell;
    const QIcon red = ColourIcon(Qt::red);
    IconHandle handle(red);
    ASSERT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, Data(5, 7, handle.Value(), "first")));
    QPointer<QSystemTrayIcon> icon = shell.TrayIconOf(5);
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), "first");
    EXPECT_EQ(icon->icon().cacheKey(), red.cacheKey());

    // Only the fields the flags name are taken.
    shell.Shell_NotifyIconA(NIM_MODIFY, Data(5, NIF_TIP, 0, "second"));
    EXPECT_EQ(icon->toolTip(), "second");
    EXPECT_EQ(icon->icon().cacheKey(), red.cacheKey());

    // An entry without image keeps a blank slot.
    shell.Shell_NotifyIconA(NIM_MODIFY, Data(5, NIF_ICON, 0, ""));
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_NE(icon->icon().cacheKey(), red.cacheKey());

    shell.Shell_NotifyIconA(NIM_DELETE, Data(5, 0, 0, ""));
    EXPECT_EQ(shell.TrayIconOf(5), nullptr);
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->isVisible());
    Drain();
    EXPECT_FALSE(icon);
}

TEST(QtTrayShell, EntriesLeftAtDestructionAreDeleted) {
    QPointer<QSystemTrayIcon> kept, removed;
    {
        QtTrayShell shell;
        shell.Shell_NotifyIconA(NIM_ADD, Data(8, 7, 0, "kept"));
        shell.Shell_NotifyIconA(NIM_ADD, Data(9, 7, 0, "removed"));
        kept = shell.TrayIconOf(8);
        removed = shell.TrayIconOf(9);
        shell.Shell_NotifyIconA(NIM_DELETE, Data(9, 0, 0, ""));
    }
    EXPECT_FALSE(kept);
    EXPECT_FALSE(removed);
}

class QtShellClicks : public ::testing::Test {
protected:
    void SetUp() override {
        hints->setMouseDoubleClickInterval(60 * 1000);
        tray->setToolTip("Vexlo");
        tray->setActive(true);
        tray->setOnClick([this](QObject*) { events.push_back("click"); });
        tray->setOnDblClick([this](QObject*) { events.push_back("double"); });
        tray->setOnRightClick([this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            events.push_back("right");
        });
    }
    void TearDown() override {
        tray.reset();
        hints->setMouseDoubleClickInterval(savedInterval);
        Drain();
    }
    void Report(QSystemTrayIcon::ActivationReason reason) {
        QSystemTrayIcon* icon = shell->TrayIconOf(tray->WindowHandle());
        ASSERT_NE(icon, nullptr);
        emit icon->activated(reason);
    }

    QStyleHints* hints = QGuiApplication::styleHints();
    const int savedInterval = hints->mouseDoubleClickInterval();
    std::shared_ptr<QtTrayShell> shell = std::make_shared<QtTrayShell>();
    std::unique_ptr<TTrayIcon> tray = std::make_unique<TTrayIcon>(nullptr, shell);
    std::vector<std::string> events;
};

TEST_F(QtShellClicks, X11DoubleClickReachesTheIconInTheShellsOrder) {
    Report(QSystemTrayIcon::Trigger);
    Report(QSystemTrayIcon::Trigger);
    Report(QSystemTrayIcon::DoubleClick);
    Report(QSystemTrayIcon::Context);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double", "click", "right"}));
}

TEST_F(QtShellClicks, WindowsDoubleClickReachesTheIconInTheShellsOrder) {
    Report(QSystemTrayIcon::Trigger);
    Report(QSystemTrayIcon::DoubleClick);
    Report(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double", "click"}));
}

TEST_F(QtShellClicks, HeldClickArrivesWhenTheDoubleClickTimeRunsOut) {
    tray.reset();
    hints->setMouseDoubleClickInterval(30);
    tray = std::make_unique<TTrayIcon>(nullptr, shell);
    tray->setToolTip("Vexlo");
    tray->setActive(true);
    tray->setOnClick([this](QObject*) { events.push_back("click"); });
    Report(QSystemTrayIcon::Trigger);
    Report(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.size() == 2; }, 20000));
}

TEST_F(QtShellClicks, IconDestroyedByItsClickHandler) {
    QPointer<QSystemTrayIcon> icon = shell->TrayIconOf(tray->WindowHandle());
    tray->setOnDblClick([this](QObject*) { tray.reset(); });
    Report(QSystemTrayIcon::Trigger);
    Report(QSystemTrayIcon::DoubleClick);  // the closing click finds no entry
    EXPECT_EQ(tray, nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));
    Drain();
    EXPECT_FALSE(icon);
}

}  // namespace
}  // namespace vexlo::test
