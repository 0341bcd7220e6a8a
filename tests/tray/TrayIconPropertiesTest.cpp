// Property writes of the tray icon, what they ask of the shell, and the
// icon's end.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

using Tray = TrayFixture;
using Msgs = std::vector<uint32_t>;

TEST(TrayConstruction, WithoutAShellIsAClearError) {
    EXPECT_THROW(
        {
            try {
                TTrayIcon tray(nullptr, nullptr);
            } catch (const std::invalid_argument& e) {
                EXPECT_STREQ(e.what(), "The tray icon needs a shell to show itself in.");
                throw;
            }
        },
        std::invalid_argument);
}

TEST_F(Tray, ToolTipKeepsAtMost62Characters) {
    tray->setActive(true);
    const QString tip62 = QString("0123456789").repeated(6) + "ab";
    tray->setToolTip(tip62);
    EXPECT_EQ(EntryTip(), tip62);
    tray->setToolTip(tip62 + "c");
    EXPECT_EQ(tray->ToolTip(), tip62);
    EXPECT_EQ(EntryTip(), tip62);
    tray->setToolTip(QString(500, 'q'));
    EXPECT_EQ(tray->ToolTip(), QString(62, 'q'));
    // Characters, not UTF-16 units; none is split.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    tray->setToolTip(QString(61, 'a') + emoji + "b");
    EXPECT_EQ(tray->ToolTip(), QString(61, 'a') + emoji);
}

TEST_F(Tray, EmptyToolTipAtActivationIsWrittenAgainOnce) {
    tray->setActive(true);
    EXPECT_EQ(Messages(), Msgs{NIM_ADD});
    Drain();
    Drain();
    EXPECT_EQ(Messages(), (Msgs{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(EntryTip(), "");

    tray->setActive(false);
    tray->setToolTip("Vexlo");
    shell->ClearCalls();
    tray->setActive(true);
    Drain();
    EXPECT_EQ(Messages(), Msgs{NIM_ADD});  // with a tooltip, the add is all
}

TEST_F(Tray, ActiveTwiceAddsOnceAndInactiveTwiceRemovesOnce) {
    tray->setToolTip("t");
    tray->setActive(true);
    tray->setActive(true);
    tray->setActive(false);
    tray->setActive(false);
    EXPECT_EQ(Messages(), (Msgs{NIM_ADD, NIM_DELETE}));
    EXPECT_EQ(shell->EntryCount(), 0u);
}

TEST_F(Tray, IconWritesChangeTheEntryUnlessItIsTheOwnIcon) {
    tray->setToolTip("t");
    tray->setActive(true);
    const QIcon blue = ColourIcon(Qt::blue);
    tray->setIcon(blue);
    EXPECT_EQ(Messages(), (Msgs{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), blue.cacheKey());
    tray->setIcon(tray->Icon());
    EXPECT_EQ(shell->Calls().size(), 2u);
    tray->setIcon(QIcon(blue));  // an equal but separate object is a write
    EXPECT_EQ(shell->Calls().size(), 3u);
}

TEST_F(Tray, WritesWhileInactiveReachTheShellOnlyAtActivation) {
    const QIcon green = ColourIcon(Qt::green);
    tray->setIcon(green);
    tray->setToolTip("later");
    EXPECT_TRUE(shell->Calls().empty());
    tray->setActive(true);
    EXPECT_EQ(EntryTip(), "later");
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), green.cacheKey());
}

TEST_F(Tray, RefusedAddKeepsActiveAndLaterWritesFailQuietly) {
    shell->SetRefusing(true);
    tray->setToolTip("t");
    tray->setActive(true);
    tray->setToolTip("u");
    EXPECT_TRUE(tray->Active());
    EXPECT_EQ(tray->ToolTip(), "u");
    EXPECT_EQ(Messages(), (Msgs{NIM_ADD, NIM_MODIFY}));
}

TEST_F(Tray, IgnoredWrites) {
    tray->setAnimateInterval(250);
    tray->setAnimateInterval(0);
    tray->setAnimateInterval(-40);
    EXPECT_EQ(tray->AnimateInterval(), 250);
    tray->setProperty("ShowDesigning", true);  // no design mode in Qt Widgets
    EXPECT_FALSE(tray->ShowDesigning());
    EXPECT_TRUE(shell->Calls().empty());
}

TEST_F(Tray, DestroyedMenuIsForgotten) {
    auto* menu = new QMenu;
    tray->setPopupMenu(menu);
    delete menu;
    EXPECT_EQ(tray->PopupMenu(), nullptr);
}

TEST(TrayLifecycle, DestroyingTheOwnerRemovesTheIconAndItsWindow) {
    auto shell = std::make_shared<RecordingTrayShell>();
    auto* owner = new QObject;
    auto* tray = new TTrayIcon(owner, shell);
    tray->setActive(true);  // queues the tooltip rewrite
    const uint32_t window = tray->WindowHandle();
    delete owner;
    Drain();  // the queued rewrite dies with the window
    ASSERT_EQ(shell->Calls().size(), 2u);
    EXPECT_EQ(shell->Calls()[1].message, NIM_DELETE);
    EXPECT_EQ(shell->Calls()[1].data.hWnd, window);
    EXPECT_EQ(shell->EntryCount(), 0u);
    EXPECT_FALSE(IsWindow(window));
}

TEST(TrayLifecycle, InactiveIconLeavesQuietlyAndIconHandlesAreReleased) {
    const size_t handlesBefore = IconHandle::LiveCount();
    auto shell = std::make_shared<RecordingTrayShell>();
    auto tray = std::make_unique<TTrayIcon>(nullptr, shell);
    for (int i = 0; i < 20; ++i) {
        tray->setIcon(ColourIcon(QColor(i, 0, 0)));
    }
    EXPECT_EQ(IconHandle::LiveCount(), handlesBefore + 1);
    tray.reset();
    EXPECT_TRUE(shell->Calls().empty());
    EXPECT_EQ(IconHandle::LiveCount(), handlesBefore);
}

}  // namespace
}  // namespace vexlo::test
