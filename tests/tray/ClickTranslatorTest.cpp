// Qt's activation reports become the shell's mouse messages.
#include <gtest/gtest.h>

#include "ClickTranslator.h"
#include "HiddenWindow.h"

namespace vexlo {
namespace {

using Msgs = std::vector<uint32_t>;
constexpr int kDouble = 400;

TEST(ClickTranslator, SingleClicksAreButtonUps) {
    ClickTranslator t(kDouble);
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 0), Msgs{WM_LBUTTONUP});
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 1000), Msgs{WM_LBUTTONUP});
    EXPECT_FALSE(t.Holding());
}

TEST(ClickTranslator, DoubleClickAsWindowsQtReportsIt) {
    // Trigger on the first release, DoubleClick, no report of the last release.
    ClickTranslator t(kDouble);
    Msgs all = t.Activated(QSystemTrayIcon::Trigger, 0);
    for (uint32_t m : t.Activated(QSystemTrayIcon::DoubleClick, 150)) {
        all.push_back(m);
    }
    EXPECT_EQ(all, (Msgs{WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    EXPECT_FALSE(t.Holding());
}

TEST(ClickTranslator, DoubleClickAsX11QtReportsIt) {
    // A Trigger on each press, then DoubleClick.
    ClickTranslator t(kDouble);
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 0), Msgs{WM_LBUTTONUP});
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 120), Msgs{});
    EXPECT_TRUE(t.Holding());
    EXPECT_EQ(t.Activated(QSystemTrayIcon::DoubleClick, 121),
              (Msgs{WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    EXPECT_FALSE(t.Holding());
    EXPECT_EQ(t.Expire(), Msgs{});
    // A press soon after the double click starts afresh.
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 200), Msgs{WM_LBUTTONUP});
}

TEST(ClickTranslator, HeldClickWithoutDoubleClickIsSentOnExpiry) {
    ClickTranslator t(kDouble);
    t.Activated(QSystemTrayIcon::Trigger, 0);
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, kDouble), Msgs{});
    EXPECT_EQ(t.Expire(), Msgs{WM_LBUTTONUP});
    EXPECT_EQ(t.Expire(), Msgs{});
}

TEST(ClickTranslator, HeldClickGoesOutBeforeAnyOtherReport) {
    ClickTranslator t(kDouble);
    t.Activated(QSystemTrayIcon::Trigger, 0);
    t.Activated(QSystemTrayIcon::Trigger, 10);
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Context, 20), (Msgs{WM_LBUTTONUP, WM_RBUTTONUP}));

    t.Activated(QSystemTrayIcon::Trigger, 30);
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 40), Msgs{});
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Trigger, 50), Msgs{WM_LBUTTONUP});
    EXPECT_TRUE(t.Holding());
}

TEST(ClickTranslator, OtherButtonsAndReasons) {
    ClickTranslator t(kDouble);
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Context, 0), Msgs{WM_RBUTTONUP});
    EXPECT_EQ(t.Activated(QSystemTrayIcon::MiddleClick, 0), Msgs{WM_MBUTTONUP});
    EXPECT_EQ(t.Activated(QSystemTrayIcon::Unknown, 0), Msgs{});
}

}  // namespace
}  // namespace vexlo
