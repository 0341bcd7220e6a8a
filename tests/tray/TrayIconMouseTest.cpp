// The shell's mouse reports: events, the right-click menu, other messages.
#include <gtest/gtest.h>

#include <QCursor>
#include <QTimer>
#include <string>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

using Strings = std::vector<std::string>;

class TrayMouse : public TrayFixture {
protected:
    void SetUp() override {
        tray->setToolTip("Vexlo");
        tray->setActive(true);
        tray->setOnClick([this](QObject* sender) { Record(sender, "click"); });
        tray->setOnDblClick([this](QObject* sender) { Record(sender, "double"); });
    }
    void Record(QObject* sender, const std::string& what) {
        EXPECT_EQ(sender, tray.get());
        events.push_back(what);
    }
    void RecordRightClicks() {
        tray->setOnRightClick([this](QObject* sender, Qt::MouseButton button,
                                     Qt::KeyboardModifiers shift, int x, int y) {
            EXPECT_EQ(button, Qt::RightButton);
            EXPECT_EQ(shift, Qt::NoModifier);
            Record(sender, "right " + std::to_string(x) + "," + std::to_string(y));
        });
    }
    // A menu that records its before-popup handler and closes itself.
    QMenu* ClosingMenu() {
        menu = std::make_unique<QMenu>();
        menu->addAction("Quit");
        QObject::connect(menu.get(), &QMenu::aboutToShow, menu.get(), [this] {
            events.push_back("popup");
            QTimer::singleShot(0, menu.get(), &QMenu::close);
        });
        tray->setPopupMenu(menu.get());
        return menu.get();
    }

    Strings events;
    std::unique_ptr<QMenu> menu;
};

TEST_F(TrayMouse, DoubleClickRaisesClickDoubleClickClick) {
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(events, (Strings{"click", "double", "click"}));
    tray->setOnClick(nullptr);
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(TrayMouse, OtherMouseMessagesAreIgnored) {
    RecordRightClicks();
    ClosingMenu();
    for (uint32_t m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK,
                       WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, 0u, 0xFFFFu}) {
        Mouse(m);
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayMouse, RightClickWithoutMenuRaisesOnlyOnRightClick) {
    Mouse(WM_RBUTTONUP);  // neither menu nor handler: nothing
    RecordRightClicks();
    QCursor::setPos(40, 50);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, Strings{"right 40,50"});
}

TEST_F(TrayMouse, RightClickRunsPendingEventsThenMenuThenHandlerAtTheClickPosition) {
    RecordRightClicks();
    // The mouse moves while the menu is open; the handler gets the click's place.
    QObject::connect(ClosingMenu(), &QMenu::aboutToShow, [] { QCursor::setPos(300, 310); });
    QTimer::singleShot(0, [this] { events.push_back("pending"); });
    QCursor::setPos(12, 34);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (Strings{"pending", "popup", "right 12,34"}));
    tray->setOnRightClick(nullptr);
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events.back(), "popup");
}

TEST_F(TrayMouse, MenuDestroyedBeforeOrByAPendingEventIsNotOpened) {
    RecordRightClicks();
    ClosingMenu();
    menu.reset();
    QCursor::setPos(1, 2);
    Mouse(WM_RBUTTONUP);
    ClosingMenu();
    QTimer::singleShot(0, [this] { menu.reset(); });
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, (Strings{"right 1,2", "right 1,2"}));
}

TEST_F(TrayMouse, IconDestroyedFromItsMenuRaisesNothingMore) {
    RecordRightClicks();
    QObject::connect(ClosingMenu(), &QMenu::aboutToShow, [this] { tray.reset(); });
    Mouse(WM_RBUTTONUP);
    EXPECT_EQ(events, Strings{"popup"});
    EXPECT_EQ(shell->EntryCount(), 0u);
}

TEST_F(TrayMouse, HandlerMayDestroyTheIconOrReplaceItself) {
    const std::string name(100, 'n');  // long enough to live on the heap
    tray->setOnDblClick([this, name](QObject*) {
        tray->setOnDblClick(nullptr);
        events.push_back(name);  // the capture must still be alive here
    });
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(events, Strings{name});

    tray->setOnClick([this](QObject*) { tray.reset(); });
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(tray, nullptr);
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
}

TEST_F(TrayMouse, TipRewriteAndOtherWindowMessages) {
    shell->ClearCalls();
    EXPECT_EQ(SendWindowMessage(Window(), kTrayRewriteTipMessage, 0, 0), 0);
    EXPECT_EQ(Messages(), std::vector<uint32_t>{NIM_MODIFY});
    EXPECT_EQ(NotifyTip(LastCall().data), "Vexlo");
    // The taskbar-created broadcast and the like get the default handling.
    EXPECT_EQ(SendWindowMessage(Window(), 0xC0F3, 1, 2), 0);
    EXPECT_EQ(SendWindowMessage(Window(), WM_USER + 3, 0, WM_LBUTTONUP), 0);
    EXPECT_EQ(shell->Calls().size(), 1u);
    EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace vexlo::test
