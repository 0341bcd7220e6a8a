// Qt's activation reports become the shell's mouse messages.
#include <gtest/gtest.h>

#include "ClickTranslator.h"
#include "HiddenWindow.h"

namespace vexlo {
namespace {

using Msgs = std::vector<uint32_t>;
using R = QSystemTrayIcon;
const Msgs kUp{WM_LBUTTONUP}, kNone{}, kDoubleUp{WM_LBUTTONDBLCLK, WM_LBUTTONUP};

TEST(ClickTranslator, DoubleClickReadsUpDoubleUpAsEitherQtReportsIt) {
    ClickTranslator windows(400);  // Trigger on the first release, then DoubleClick
    EXPECT_EQ(windows.Activated(R::Trigger, 0), kUp);
    EXPECT_EQ(windows.Activated(R::DoubleClick, 150), kDoubleUp);

    ClickTranslator x11(400);  // Trigger on each press, then DoubleClick
    EXPECT_EQ(x11.Activated(R::Trigger, 0), kUp);
    EXPECT_EQ(x11.Activated(R::Trigger, 120), kNone);
    EXPECT_EQ(x11.Activated(R::DoubleClick, 121), kDoubleUp);
    EXPECT_EQ(x11.Expire(), kNone);
    EXPECT_EQ(x11.Activated(R::Trigger, 200), kUp);  // a new click starts afresh
}

TEST(ClickTranslator, HeldClickGoesOutOnExpiryOrBeforeTheNextReport) {
    ClickTranslator t(400);
    t.Activated(R::Trigger, 0);
    EXPECT_EQ(t.Activated(R::Trigger, 400), kNone);
    EXPECT_EQ(t.Expire(), kUp);
    EXPECT_EQ(t.Activated(R::Trigger, 1000), kUp);  // slow clicks are clicks
    t.Activated(R::Trigger, 1010);
    EXPECT_EQ(t.Activated(R::Context, 1020), (Msgs{WM_LBUTTONUP, WM_RBUTTONUP}));
    EXPECT_EQ(t.Activated(R::Trigger, 1030), kUp);  // another button broke the pair
    EXPECT_EQ(t.Activated(R::MiddleClick, 5000), Msgs{WM_MBUTTONUP});
    EXPECT_EQ(t.Activated(R::Unknown, 6000), kNone);
}

}  // namespace
}  // namespace vexlo
