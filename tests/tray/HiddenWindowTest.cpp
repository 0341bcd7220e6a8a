// Window and icon handles: how messages find a window, and what becomes of
// messages for a window that is gone.
#include <gtest/gtest.h>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

TEST(HiddenWindow, SendAndPostReachOnlyTheWindowOfTheHandle) {
    std::vector<uint32_t> a, b;
    HiddenWindow first([&](uint32_t m, uintptr_t w, intptr_t l) -> intptr_t {
        a.push_back(m);
        return static_cast<intptr_t>(w) + l;
    });
    HiddenWindow second([&](uint32_t m, uintptr_t, intptr_t) -> intptr_t {
        b.push_back(m);
        return 0;
    });
    ASSERT_NE(first.Handle(), second.Handle());
    EXPECT_EQ(SendWindowMessage(first.Handle(), 1025, 3, 4), 7);
    EXPECT_TRUE(PostWindowMessage(second.Handle(), 1026, 0, 0));
    EXPECT_TRUE(b.empty());  // not before the event loop runs
    Drain();
    EXPECT_EQ(a, std::vector<uint32_t>{1025});
    EXPECT_EQ(b, std::vector<uint32_t>{1026});
}

TEST(HiddenWindow, MessagesForMissingWindowsAreDropped) {
    EXPECT_EQ(SendWindowMessage(0, 1025, 0, 0), 0);
    EXPECT_FALSE(PostWindowMessage(0, 1025, 0, 0));
    int calls = 0;
    auto window = std::make_unique<HiddenWindow>(
        [&](uint32_t, uintptr_t, intptr_t) -> intptr_t { return ++calls; });
    const uint32_t handle = window->Handle();
    EXPECT_TRUE(PostWindowMessage(handle, 1, 0, 0));
    window.reset();
    Drain();
    EXPECT_EQ(SendWindowMessage(handle, 1, 0, 0), 0);
    EXPECT_FALSE(PostWindowMessage(handle, 1, 0, 0));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(calls, 0);
    HiddenWindow bare(nullptr);  // no procedure: default handling
    EXPECT_EQ(SendWindowMessage(bare.Handle(), 1025, 0, WM_LBUTTONUP), 0);
}

TEST(HiddenWindow, ProcedureMayDestroyItsOwnWindow) {
    std::unique_ptr<HiddenWindow> window;
    window = std::make_unique<HiddenWindow>([&](uint32_t, uintptr_t, intptr_t) -> intptr_t {
        window.reset();
        return 5;
    });
    EXPECT_EQ(SendWindowMessage(window->Handle(), 1, 0, 0), 5);
}

TEST(IconHandle, LivesAsLongAsItsObjectAndMovesWithIt) {
    const QIcon icon = ColourIcon(Qt::magenta);
    EXPECT_EQ(IconHandle(QIcon()).Value(), 0u);
    uint32_t value = 0;
    {
        IconHandle other(ColourIcon(Qt::cyan));
        const uint32_t otherValue = other.Value();
        IconHandle handle(icon);
        value = handle.Value();
        other = std::move(handle);
        EXPECT_TRUE(IconHandle::Lookup(otherValue).isNull());  // released by the move
        EXPECT_EQ(IconHandle::Lookup(value).cacheKey(), icon.cacheKey());
    }
    EXPECT_TRUE(IconHandle::Lookup(value).isNull());
}

}  // namespace
}  // namespace vexlo::test
