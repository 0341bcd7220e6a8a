// The global hot key Ctrl+Alt+C under Wine: real key presses, a second
// registration, and another process that wants the same key.
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "TinyTest.h"
#include "Win32HotKey.h"
#include "Win32Platform.h"

using namespace testsupport;
using vexlo::Win32Platform;

namespace {

using Delivery = std::pair<std::uint32_t, std::uint64_t>;

// Ctrl+Alt+C pressed and released, as a keyboard would.
void PressCtrlAltC() {
    const WORD keys[3] = {VK_CONTROL, VK_MENU, 'C'};
    INPUT input[6] = {};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = keys[i];
        input[5 - i].type = INPUT_KEYBOARD;
        input[5 - i].ki.wVk = keys[i];
        input[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, input, sizeof(INPUT));
}

// Pumps until `count` deliveries arrived or five seconds passed.
void PumpUntil(const std::vector<Delivery>& seen, size_t count) {
    for (int i = 0; i < 500 && seen.size() < count; ++i) {
        PumpMessages();
        Sleep(10);
    }
}

HWND HotKeyWindow() {
    return FindWindowExW(HWND_MESSAGE, nullptr, vexlo::win32::HotKeyWindow::kClassName, nullptr);
}

// Exit code 0 when this process could take Ctrl+Alt+C, 1 when not.
int TryHotKey() {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return RegisterHotKey(window, 1025, MOD_CONTROL | MOD_ALT, 67) ? 0 : 1;
}

}  // namespace

HELPER(tryhotkey) {
    return TryHotKey();
}

HELPER(holdhotkey) {
    NamedEvent ready(argv[0]);
    NamedEvent quit(argv[1]);
    if (TryHotKey() != 0) {
        return 1;
    }
    ready.Set();
    quit.Wait(20000);
    return 0;
}

TEST(HotKey, PressReachesTheSinkAsWmHotKey) {
    Win32Platform platform;
    std::vector<Delivery> seen;
    REQUIRE(platform.RegisterGlobalHotKey([&seen](std::uint32_t message, std::uint64_t wParam) {
        seen.emplace_back(message, wParam);
    }));
    PressCtrlAltC();
    PumpUntil(seen, 1);
    REQUIRE(seen.size() == 1);
    CHECK_EQ(seen[0].first, std::uint32_t{786});
    CHECK_EQ(seen[0].second, std::uint64_t{1025});

    // Other hot key identifiers to the same window are not ours.
    const HWND window = HotKeyWindow();
    REQUIRE(window != nullptr);
    PostMessageW(window, WM_HOTKEY, 7, 0);
    PumpMessages();
    CHECK_EQ(seen.size(), size_t{1});
}

TEST(HotKey, RegisteredOnceLaterCallsOnlyChangeTheSink) {
    Win32Platform platform;
    int first = 0;
    int second = 0;
    REQUIRE(platform.RegisterGlobalHotKey([&first](std::uint32_t, std::uint64_t) { ++first; }));
    CHECK(platform.RegisterGlobalHotKey([&second](std::uint32_t, std::uint64_t) { ++second; }));
    PostMessageW(HotKeyWindow(), WM_HOTKEY, 1025, 0);
    PumpMessages();
    CHECK_EQ(first, 0);
    CHECK_EQ(second, 1);

    // A second backend in the same session cannot have the key, and says so quietly.
    Win32Platform other;
    CHECK(!other.RegisterGlobalHotKey([](std::uint32_t, std::uint64_t) {}));
}

TEST(HotKey, AnotherProcessCannotTakeItWhileWeHoldIt) {
    {
        Win32Platform platform;
        REQUIRE(platform.RegisterGlobalHotKey([](std::uint32_t, std::uint64_t) {}));
        ChildProcess rival("tryhotkey", "");
        CHECK_EQ(rival.Wait(20000), std::optional<DWORD>(1));
    }
    // Released with the backend.
    ChildProcess later("tryhotkey", "");
    CHECK_EQ(later.Wait(20000), std::optional<DWORD>(0));
}

TEST(HotKey, HeldElsewhereRegistrationFailsSilently) {
    const std::string readyName = UniqueName("hotkey-ready");
    const std::string quitName = UniqueName("hotkey-quit");
    NamedEvent ready(readyName);
    NamedEvent quit(quitName);
    ChildProcess holder("holdhotkey", readyName + " " + quitName);
    REQUIRE(ready.Wait(20000));

    Win32Platform platform;
    int presses = 0;
    auto sink = [&presses](std::uint32_t, std::uint64_t) { ++presses; };
    CHECK(!platform.RegisterGlobalHotKey(sink));
    quit.Set();
    CHECK_EQ(holder.Wait(20000), std::optional<DWORD>(0));
    // Once the other process is gone, a later attempt has it.
    CHECK(platform.RegisterGlobalHotKey(sink));
}

TEST(HotKey, SinkErrorsReachTheMessageLoopAndTheKeyKeepsWorking) {
    Win32Platform platform;
    int calls = 0;
    REQUIRE(platform.RegisterGlobalHotKey([&calls](std::uint32_t, std::uint64_t) {
        if (++calls == 1) {
            throw std::runtime_error("Cannot open file broken.jpg");
        }
    }));
    PostMessageW(HotKeyWindow(), WM_HOTKEY, 1025, 0);
    CHECK_THROWS_WITH(PumpMessages(), "Cannot open file broken.jpg");
    PostMessageW(HotKeyWindow(), WM_HOTKEY, 1025, 0);
    PumpMessages();
    CHECK_EQ(calls, 2);
}
