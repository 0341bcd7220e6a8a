// Property writes of the tray icon and what they ask of the shell.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

using Tray = TrayFixture;

TEST_F(Tray, StartsInactiveWithDefaultsAndNoShellEntry) {
    EXPECT_FALSE(tray->Active());
    EXPECT_FALSE(tray->Animate());
    EXPECT_EQ(tray->AnimateInterval(), 100);
    EXPECT_FALSE(tray->ShowDesigning());
    EXPECT_TRUE(tray->Icon().isNull());
    EXPECT_EQ(tray->Images(), nullptr);
    EXPECT_TRUE(tray->ToolTip().isEmpty());
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    EXPECT_FALSE(tray->OnClick());
    EXPECT_NE(tray->WindowHandle(), 0u);
    EXPECT_TRUE(shell->Calls().empty());
}

TEST(TrayConstruction, WithoutAShellIsAClearError) {
    try {
        TTrayIcon tray(nullptr, nullptr);
        FAIL() << "constructed without a shell";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "The tray icon needs a shell to show itself in.");
    }
}

TEST_F(Tray, ToolTipKeepsAtMost62Characters) {
    tray->setActive(true);
    const QString tip62 = QString("0123456789").repeated(6) + "ab";
    tray->setToolTip(tip62);
    EXPECT_EQ(tray->ToolTip(), tip62);
    EXPECT_EQ(EntryTip(), tip62);

    tray->setToolTip(tip62 + "c");
    EXPECT_EQ(tray->ToolTip(), tip62);
    EXPECT_EQ(EntryTip(), tip62);

    tray->setToolTip(QString(500, 'q'));
    EXPECT_EQ(tray->ToolTip(), QString(62, 'q'));
    EXPECT_EQ(LastCall().message, NIM_MODIFY);
    EXPECT_EQ(LastCall().data.szTip[62], '\0');
}

TEST_F(Tray, ToolTipCountsCharactersNotUtf16Units) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    tray->setToolTip(emoji.repeated(70));
    EXPECT_EQ(tray->ToolTip(), emoji.repeated(62));
    tray->setToolTip(QString(61, 'a') + emoji + "b");
    EXPECT_EQ(tray->ToolTip(), QString(61, 'a') + emoji);
}

TEST_F(Tray, EmptyToolTipAtActivationIsWrittenAgainOnce) {
    tray->setActive(true);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD}));
    Drain();
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(EntryTip(), QString());
    Drain();
    EXPECT_EQ(shell->Calls().size(), 2u);
}

TEST_F(Tray, ActivationWithToolTipIsASingleAdd) {
    tray->setToolTip("Vexlo");
    tray->setActive(true);
    Drain();
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD}));
    EXPECT_EQ(EntryTip(), "Vexlo");
}

TEST_F(Tray, ActiveTwiceAddsOnceAndInactiveTwiceRemovesOnce) {
    tray->setToolTip("t");
    tray->setActive(true);
    tray->setActive(true);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD}));
    tray->setActive(false);
    tray->setActive(false);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD, NIM_DELETE}));
    EXPECT_EQ(shell->EntryCount(), 0u);
    EXPECT_EQ(LastCall().data.hWnd, Window());
    EXPECT_EQ(LastCall().data.uID, 0u);
}

TEST_F(Tray, WritingTheOwnIconDoesNothing) {
    const QIcon red = ColourIcon(Qt::red);
    tray->setIcon(red);
    tray->setActive(true);
    Drain();
    shell->ClearCalls();
    tray->setIcon(tray->Icon());
    EXPECT_TRUE(shell->Calls().empty());
    EXPECT_EQ(tray->Icon().cacheKey(), red.cacheKey());
}

TEST_F(Tray, WritingAnotherIconChangesTheEntryAtOnce) {
    tray->setToolTip("t");
    tray->setActive(true);
    const QIcon blue = ColourIcon(Qt::blue);
    tray->setIcon(blue);
    EXPECT_EQ(LastCall().message, NIM_MODIFY);
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), blue.cacheKey());
    // An equal but separate icon object is still a write.
    const QIcon copy = blue;
    tray->setIcon(copy);
    EXPECT_EQ(shell->Calls().size(), 3u);
}

TEST_F(Tray, WritesWhileInactiveReachTheShellOnlyAtActivation) {
    const QIcon green = ColourIcon(Qt::green);
    tray->setIcon(green);
    tray->setToolTip("later");
    EXPECT_TRUE(shell->Calls().empty());
    EXPECT_EQ(tray->NotifyData().hWnd, Window());  // refilled all the same

    tray->setActive(true);
    EXPECT_EQ(EntryTip(), "later");
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), green.cacheKey());

    tray->setActive(false);
    shell->ClearCalls();
    tray->setToolTip("gone");
    tray->setIcon(ColourIcon(Qt::black));
    EXPECT_TRUE(shell->Calls().empty());
}

TEST_F(Tray, RefusedAddKeepsActiveAndLaterWritesFailQuietly) {
    shell->SetRefusing(true);
    tray->setToolTip("t");
    tray->setActive(true);
    EXPECT_TRUE(tray->Active());
    tray->setToolTip("u");
    EXPECT_EQ(tray->ToolTip(), "u");
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{NIM_ADD, NIM_MODIFY}));
    EXPECT_FALSE(LastCall().accepted);
}

TEST_F(Tray, AnimateIntervalIgnoresZeroAndNegative) {
    tray->setAnimateInterval(250);
    EXPECT_EQ(tray->AnimateInterval(), 250);
    tray->setAnimateInterval(0);
    tray->setAnimateInterval(-40);
    EXPECT_EQ(tray->AnimateInterval(), 250);
    EXPECT_TRUE(shell->Calls().empty());
}

TEST_F(Tray, ShowDesigningWritesAreIgnored) {
    tray->setShowDesigning(true);
    EXPECT_FALSE(tray->ShowDesigning());
    EXPECT_TRUE(tray->setProperty("ShowDesigning", true));
    EXPECT_FALSE(tray->property("ShowDesigning").toBool());
    EXPECT_TRUE(shell->Calls().empty());
}

TEST_F(Tray, PropertiesCanBeSetByName) {
    tray->setProperty("ToolTip", "named");
    tray->setProperty("AnimateInterval", 40);
    tray->setProperty("Active", true);
    EXPECT_EQ(EntryTip(), "named");
    EXPECT_EQ(tray->AnimateInterval(), 40);
}

TEST_F(Tray, DestroyedMenuIsForgotten) {
    auto* menu = new QMenu;
    tray->setPopupMenu(menu);
    EXPECT_EQ(tray->PopupMenu(), menu);
    delete menu;
    EXPECT_EQ(tray->PopupMenu(), nullptr);
}

TEST(TrayLifecycle, DestroyingTheOwnerRemovesTheIconAndItsWindow) {
    auto shell = std::make_shared<RecordingTrayShell>();
    auto* owner = new QObject;
    auto* tray = new TTrayIcon(owner, shell);
    tray->setToolTip("Vexlo");
    tray->setActive(true);
    const uint32_t window = tray->WindowHandle();
    ASSERT_TRUE(IsWindow(window));
    delete owner;
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
    EXPECT_EQ(shell->EntryCount(), 0u);
    EXPECT_FALSE(IsWindow(window));
}

TEST(TrayLifecycle, DestroyingAnInactiveIconCallsNoShell) {
    auto shell = std::make_shared<RecordingTrayShell>();
    auto tray = std::make_unique<TTrayIcon>(nullptr, shell);
    tray->setActive(true);
    tray->setActive(false);
    shell->ClearCalls();
    tray.reset();
    EXPECT_TRUE(shell->Calls().empty());
}

TEST(TrayLifecycle, TipRewriteQueuedForADestroyedIconIsDropped) {
    auto shell = std::make_shared<RecordingTrayShell>();
    auto tray = std::make_unique<TTrayIcon>(nullptr, shell);
    tray->setActive(true);  // queues the tooltip rewrite
    tray.reset();
    Drain();
    ASSERT_EQ(shell->Calls().size(), 2u);
    EXPECT_EQ(shell->Calls()[1].message, NIM_DELETE);
}

TEST(TrayLifecycle, IconHandlesAreReleased) {
    const size_t before = IconHandle::LiveCount();
    {
        auto shell = std::make_shared<RecordingTrayShell>();
        TTrayIcon tray(nullptr, shell);
        tray.setActive(true);
        for (int i = 0; i < 20; ++i) {
            tray.setIcon(ColourIcon(QColor(i, 0, 0)));
        }
        EXPECT_EQ(IconHandle::LiveCount(), before + 1);
        EXPECT_EQ(IconHandle::Lookup(shell->Calls().back().data.hIcon).cacheKey(),
                  tray.Icon().cacheKey());
    }
    EXPECT_EQ(IconHandle::LiveCount(), before);
}

}  // namespace
}  // namespace vexlo::test
