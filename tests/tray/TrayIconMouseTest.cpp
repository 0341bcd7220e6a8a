// The shell's mouse reports: events, the right-click menu, other messages.
#include <gtest/gtest.h>

#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <string>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

class TrayMouse : public TrayFixture {
protected:
    void SetUp() override {
        tray->setToolTip("Vexlo");
        tray->setActive(true);
        tray->setOnClick([this](QObject* sender) {
            EXPECT_EQ(sender, tray.get());
            events.push_back("click");
        });
        tray->setOnDblClick([this](QObject* sender) {
            EXPECT_EQ(sender, tray.get());
            events.push_back("double");
        });
    }

    // A menu that records its before-popup handler and closes itself.
    QMenu* ClosingMenu() {
        auto* menu = new QMenu;
        menu->addAction("Quit");
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
            events.push_back("popup");
            QTimer::singleShot(0, menu, &QMenu::close);
        });
        menus.emplace_back(menu);
        return menu;
    }

    void RecordRightClicks() {
        tray->setOnRightClick([this](QObject* sender, Qt::MouseButton button,
                                     Qt::KeyboardModifiers shift, int x, int y) {
            EXPECT_EQ(sender, tray.get());
            EXPECT_EQ(button, Qt::RightButton);
            EXPECT_EQ(shift, Qt::NoModifier);
            events.push_back("right " + std::to_string(x) + "," + std::to_string(y));
        });
    }

    std::vector<std::string> events;
    std::vector<std::unique_ptr<QMenu>> menus;
};

TEST_F(TrayMouse, DoubleClickRaisesClickDoubleClickClick) {
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double", "click"}));
}

TEST_F(TrayMouse, OtherMouseMessagesAreIgnored) {
    RecordRightClicks();
    tray->setPopupMenu(ClosingMenu());
    for (uint32_t m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK,
                       WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, 0u, 0xFFFFu}) {
        Mouse(m);
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayMouse, UnassignedEventsAreSkipped) {
    tray->setOnClick(nullptr);
    tray->setOnDblClick(nullptr);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayMouse, RightClickWithoutMenuRaisesOnlyOnRightClickAtTheCursor) {
    RecordRightClicks();
    QCursor::setPos(40, 50);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"right 40,50"}));
}

TEST_F(TrayMouse, RightClickWithNeitherMenuNorHandlerDoesNothing) {
    Mouse(WM_RBUTTONUP);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(shell->Calls().size(), 1u);
}

TEST_F(TrayMouse, RightClickRunsPendingEventsThenMenuThenHandlerAtTheFirstPosition) {
    RecordRightClicks();
    QMenu* menu = ClosingMenu();
    // The user moves the mouse while the menu is open: the handler still gets
    // the position of the click.
    QObject::connect(menu, &QMenu::aboutToShow, [] { QCursor::setPos(300, 310); });
    tray->setPopupMenu(menu);
    QTimer::singleShot(0, [this] { events.push_back("pending"); });
    QCursor::setPos(12, 34);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"pending", "popup", "right 12,34"}));
}

TEST_F(TrayMouse, RightClickWithMenuAndNoHandlerOnlyOpensTheMenu) {
    tray->setPopupMenu(ClosingMenu());
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
}

TEST_F(TrayMouse, MenuDestroyedBeforeTheClickIsNotOpened) {
    RecordRightClicks();
    tray->setPopupMenu(ClosingMenu());
    menus.clear();
    QCursor::setPos(1, 2);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"right 1,2"}));
}

TEST_F(TrayMouse, MenuDestroyedByAPendingEventIsNotOpened) {
    RecordRightClicks();
    QMenu* menu = ClosingMenu();
    tray->setPopupMenu(menu);
    QTimer::singleShot(0, [this] { menus.clear(); });
    QCursor::setPos(5, 6);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"right 5,6"}));
}

TEST_F(TrayMouse, IconDestroyedFromItsMenuRaisesNothingMore) {
    RecordRightClicks();
    QMenu* menu = ClosingMenu();
    QObject::connect(menu, &QMenu::aboutToShow, [this] { tray.reset(); });
    tray->setPopupMenu(menu);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
    EXPECT_EQ(shell->EntryCount(), 0u);
}

TEST_F(TrayMouse, HandlerMayDestroyTheIcon) {
    tray->setOnClick([this](QObject*) { tray.reset(); });
    const uint32_t window = Window();
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(tray, nullptr);
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(TrayMouse, HandlerMayReplaceItself) {
    const std::string name(100, 'n');  // long enough to live on the heap
    tray->setOnDblClick([this, name](QObject*) {
        tray->setOnDblClick(nullptr);
        events.push_back(name);  // the capture must still be alive here
    });
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(events, (std::vector<std::string>{name}));
}

TEST_F(TrayMouse, TipRewriteMessageWritesTheToolTipAgain) {
    shell->ClearCalls();
    EXPECT_EQ(SendWindowMessage(Window(), kTrayRewriteTipMessage, 0, 0), 0);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_MODIFY}));
    EXPECT_EQ(NotifyTip(LastCall().data), "Vexlo");
}

TEST_F(TrayMouse, OtherWindowMessagesGetTheDefaultHandling) {
    shell->ClearCalls();
    const uint32_t taskbarCreated = 0xC0F3;
    EXPECT_EQ(SendWindowMessage(Window(), taskbarCreated, 1, 2), 0);
    EXPECT_EQ(SendWindowMessage(Window(), WM_USER + 3, 0, WM_LBUTTONUP), 0);
    EXPECT_TRUE(shell->Calls().empty());
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayMouse, NoReportsReachAnInactiveIcon) {
    tray->setActive(false);
    EXPECT_FALSE(Mouse(WM_LBUTTONUP));
    EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace vexlo::test
