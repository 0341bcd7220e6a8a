// Window and icon handles: how messages find a window, and what happens to
// messages for windows that are gone.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "HiddenWindow.h"
#include "IconHandle.h"
#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

struct Received {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

TEST(HiddenWindow, MessagesReachTheWindowOfTheirHandle) {
    std::vector<Received> a, b;
    HiddenWindow first([&](uint32_t m, uintptr_t w, intptr_t l) -> intptr_t {
        a.push_back({m, w, l});
        return 7;
    });
    HiddenWindow second([&](uint32_t m, uintptr_t w, intptr_t l) -> intptr_t {
        b.push_back({m, w, l});
        return 0;
    });
    ASSERT_NE(first.Handle(), 0u);
    ASSERT_NE(first.Handle(), second.Handle());

    EXPECT_EQ(SendWindowMessage(first.Handle(), 1025, 3, -4), 7);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].message, 1025u);
    EXPECT_EQ(a[0].wParam, 3u);
    EXPECT_EQ(a[0].lParam, -4);
    EXPECT_TRUE(b.empty());

    EXPECT_TRUE(PostWindowMessage(second.Handle(), 1026, 0, 0));
    EXPECT_TRUE(b.empty());  // not before the event loop runs
    Drain();
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].message, 1026u);
}

TEST(HiddenWindow, UnknownOrDestroyedWindowsTakeNoMessages) {
    EXPECT_EQ(SendWindowMessage(0, 1025, 0, 0), 0);
    EXPECT_FALSE(PostWindowMessage(0, 1025, 0, 0));
    EXPECT_FALSE(IsWindow(0));

    int calls = 0;
    auto window = std::make_unique<HiddenWindow>([&](uint32_t, uintptr_t, intptr_t) -> intptr_t {
        ++calls;
        return 1;
    });
    const uint32_t handle = window->Handle();
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_TRUE(PostWindowMessage(handle, 1, 0, 0));
    window.reset();
    Drain();  // the queued message is dropped with its window
    EXPECT_EQ(SendWindowMessage(handle, 1, 0, 0), 0);
    EXPECT_FALSE(PostWindowMessage(handle, 1, 0, 0));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(calls, 0);
}

TEST(HiddenWindow, WindowWithoutProcedureGetsDefaultHandling) {
    HiddenWindow window(nullptr);
    EXPECT_EQ(SendWindowMessage(window.Handle(), 1025, 0, WM_LBUTTONUP), 0);
    EXPECT_EQ(DefaultWindowProc(window.Handle(), 1, 2, 3), 0);
}

TEST(HiddenWindow, ProcedureMayDestroyItsOwnWindow) {
    std::unique_ptr<HiddenWindow> window;
    window = std::make_unique<HiddenWindow>([&](uint32_t, uintptr_t, intptr_t) -> intptr_t {
        window.reset();
        return 5;
    });
    const uint32_t handle = window->Handle();
    EXPECT_EQ(SendWindowMessage(handle, 1, 0, 0), 5);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(IconHandle, LivesAsLongAsItsObject) {
    const QIcon icon = ColourIcon(Qt::magenta);
    uint32_t value = 0;
    {
        IconHandle handle(icon);
        value = handle.Value();
        ASSERT_NE(value, 0u);
        EXPECT_EQ(IconHandle::Lookup(value).cacheKey(), icon.cacheKey());

        IconHandle moved(std::move(handle));
        EXPECT_EQ(handle.Value(), 0u);
        EXPECT_EQ(moved.Value(), value);
        EXPECT_FALSE(IconHandle::Lookup(value).isNull());

        IconHandle other(ColourIcon(Qt::cyan));
        const uint32_t otherValue = other.Value();
        other = std::move(moved);
        EXPECT_TRUE(IconHandle::Lookup(otherValue).isNull());  // released by the assignment
        EXPECT_EQ(other.Value(), value);
    }
    EXPECT_TRUE(IconHandle::Lookup(value).isNull());
}

TEST(IconHandle, NullIconsAndUnknownHandles) {
    IconHandle none((QIcon()));
    EXPECT_EQ(none.Value(), 0u);
    EXPECT_TRUE(IconHandle::Lookup(0).isNull());
    EXPECT_TRUE(IconHandle::Lookup(0xFFFFFFFFu).isNull());
}

}  // namespace
}  // namespace vexlo::test
