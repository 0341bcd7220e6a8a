// The desktop size, the wallpaper call and the icon caption colours under Wine.
// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <fstream>

#include "DesktopTree.h"
#include "TestSupport.h"
#include "TinyTest.h"
#include "WideText.h"
#include "Win32Platform.h"

using namespace testsupport;
using vexlo::Win32Platform;

namespace {

RECT PrimaryMonitor() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

bool SetDisplayMode(DWORD width, DWORD height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

std::wstring CurrentWallpaper() {
    wchar_t path[MAX_PATH + 1] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

// A 1 x 1 24-bit BMP.
void WriteBitmap(const std::filesystem::path& path) {
    const unsigned char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0,  0, 40, 0,
                                   0,   0,   1,  0, 0, 0, 1, 0, 0, 0, 1,  0, 24, 0, 0,  0,
                                   0,   0,   4,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0,  0, 0,  0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof(bmp));
}

}  // namespace

TEST(Desktop, SizeIsThePrimaryDisplayReadAtEveryCall) {
    Win32Platform platform;
    const RECT monitor = PrimaryMonitor();
    const vexlo::DesktopSize size = platform.GetDesktopSize();
    CHECK(size.width > 0 && size.height > 0);
    CHECK_EQ(size.width, monitor.right - monitor.left);
    CHECK_EQ(size.height, monitor.bottom - monitor.top);

    const int width = size.width;
    const int height = size.height;
    REQUIRE(SetDisplayMode(width == 800 ? 640 : 800, width == 800 ? 480 : 600));
    const vexlo::DesktopSize changed = platform.GetDesktopSize();
    ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    CHECK_EQ(changed.width, width == 800 ? 640 : 800);
    CHECK_EQ(changed.height, width == 800 ? 480 : 600);
    CHECK_EQ(platform.GetDesktopSize().width, width);
    CHECK_EQ(platform.GetDesktopSize().height, height);
}

TEST(Desktop, WallpaperIsShownButNotRecorded) {
    Win32Platform platform;
    TempFolder folder;
    const auto recorded =
        RegistryString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper");
    // A folder name outside the ANSI code page: the path reaches the desktop whole.
    const auto bitmap = folder.path() / L"\u65E5\u672C \u00C9t\u00E9" / L"wallpaper.bmp";
    std::filesystem::create_directories(bitmap.parent_path());
    WriteBitmap(bitmap);
    CHECK(platform.SetDesktopWallpaper(vexlo::WideToUtf8(bitmap.wstring())));
    CHECK_EQ(CurrentWallpaper(), bitmap.wstring());
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper"), recorded);

    // A path that is not UTF-8 or holds a NUL names no file: refused, the wallpaper stays.
    CHECK(!platform.SetDesktopWallpaper("C:\\\xE9t\xE9.bmp"));
    CHECK(
        !platform.SetDesktopWallpaper(vexlo::WideToUtf8(bitmap.wstring()) + std::string("\0x", 2)));
    CHECK_EQ(CurrentWallpaper(), bitmap.wstring());
}

TEST(Desktop, ScreensAreTheMonitorsWithThePrimaryAtTheDesktopSize) {
    Win32Platform platform;
    const std::vector<vexlo::ScreenInfo> screens = platform.GetScreens();
    REQUIRE(!screens.empty());
    int primaries = 0;
    for (const vexlo::ScreenInfo& screen : screens) {
        CHECK(screen.width > 0 && screen.height > 0);
        CHECK(!screen.name.empty());
        if (screen.primary) {
            ++primaries;
            CHECK_EQ(screen.width, platform.GetDesktopSize().width);
            CHECK_EQ(screen.height, platform.GetDesktopSize().height);
            CHECK_EQ(screen.x, 0);
            CHECK_EQ(screen.y, 0);
        }
    }
    CHECK_EQ(primaries, 1);
}

// Several screens go through IDesktopWallpaper where it exists; where it does
// not (Wine), the primary's picture is shown as on one monitor.
TEST(Desktop, SeveralScreensShowAtLeastThePrimarysPicture) {
    Win32Platform platform;
    TempFolder folder;
    const auto bitmap = folder.path() / L"wallpaper.bmp";
    WriteBitmap(bitmap);
    const std::uint32_t pixels[4] = {0xff102030u, 0xff405060u, 0xff708090u, 0xffa0b0c0u};
    const vexlo::PixelRows rows{pixels, 2, 2, 2};
    const std::vector<vexlo::ScreenWallpaper> screens = {
        {{"\\\\.\\DISPLAY1", 0, 0, 800, 600, true}, rows, "0"},
        {{"\\\\.\\DISPLAY2", 800, 0, 1024, 768, false}, {pixels + 1, 1, 1, 2}, "2"}};
    CHECK(platform.SetScreenWallpapers(vexlo::WideToUtf8(bitmap.wstring()), screens));
    CHECK_EQ(CurrentWallpaper(), bitmap.wstring());
}

TEST(IconColours, CaptionsTakeTheColoursAndAreRepainted) {
    Win32Platform platform;
    DesktopTree tree;
    platform.SetDesktopIconColours(0x0000FF00u, 0x00102030u, false);
    CHECK_EQ(tree.TextColour(), COLORREF{0x0000FF00u});
    CHECK_EQ(tree.TextBackgroundColour(), COLORREF{0x00102030u});
    CHECK(tree.Paints() > 0);
    CHECK(!GetUpdateRect(tree.list(), nullptr, FALSE));

    platform.SetDesktopIconColours(0x00FFFFFFu, 0x00102030u, true);
    CHECK_EQ(tree.TextColour(), COLORREF{0x00FFFFFFu});
    CHECK_EQ(tree.TextBackgroundColour(), CLR_NONE);

    // System colours pass unconverted; the short form is transparent.
    platform.SetDesktopIconColours(0x00000000u, vexlo::kDesktopBackgroundColour, false);
    CHECK_EQ(tree.TextBackgroundColour(), COLORREF{vexlo::kDesktopBackgroundColour});
    platform.SetDesktopIconColours(0x80000008u);
    CHECK_EQ(tree.TextColour(), COLORREF{0x80000008u});
    CHECK_EQ(tree.TextBackgroundColour(), CLR_NONE);
}

TEST(IconColours, EmptyListIsColouredToo) {
    Win32Platform platform;
    DesktopTreeShape shape;
    shape.items = 0;
    DesktopTree tree(shape);
    platform.SetDesktopIconColours(0x00ABCDEFu, 0, false);
    CHECK_EQ(tree.TextColour(), COLORREF{0x00ABCDEFu});
}

TEST(IconColours, NoListFoundNoChange) {
    Win32Platform platform;
    platform.SetDesktopIconColours(0x00ABCDEFu, 0, false);  // no desktop tree at all

    DesktopTreeShape wrongTitle;
    wrongTitle.progmanTitle = L"Programme Manager";
    DesktopTreeShape noView;
    noView.withView = false;
    DesktopTreeShape listOutsideView;
    listOutsideView.listInView = false;
    DesktopTreeShape titledView;
    titledView.viewTitle = L"FolderView";
    DesktopTreeShape titledList;
    titledList.listTitle = L"FolderView";
    for (const DesktopTreeShape& shape :
         {wrongTitle, noView, listOutsideView, titledView, titledList}) {
        DesktopTree tree(shape);
        const COLORREF text = tree.TextColour();
        const COLORREF background = tree.TextBackgroundColour();
        platform.SetDesktopIconColours(0x00ABCDEFu, 0x00123456u, false);
        CHECK_EQ(tree.TextColour(), text);
        CHECK_EQ(tree.TextBackgroundColour(), background);
        CHECK_EQ(tree.Paints(), 0);
    }
}

// The desktop's list lives in the shell's process on Windows.
HELPER(desktop) {
    DesktopTree tree;
    NamedEvent ready(argv[0]);
    NamedEvent quit(argv[1]);
    ready.Set();
    const HANDLE handle = quit.handle();
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        PumpMessages();
    }
    return 0;
}

TEST(IconColours, ListInAnotherProcess) {
    const std::string readyName = UniqueName("desktop-ready");
    const std::string quitName = UniqueName("desktop-quit");
    NamedEvent ready(readyName);
    NamedEvent quit(quitName);
    ChildProcess shell("desktop", readyName + " " + quitName);
    REQUIRE(shell.started());
    REQUIRE(ready.Wait(20000));

    Win32Platform platform;
    platform.SetDesktopIconColours(0x00336699u, 0x00000000u, false);
    const HWND progman = FindWindowW(L"Progman", L"Program Manager");
    const HWND list = FindWindowExW(FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", L""),
                                    nullptr, WC_LISTVIEWW, L"");
    REQUIRE(list != nullptr);
    CHECK_EQ(ListTextColour(list), COLORREF{0x00336699u});
    CHECK_EQ(ListTextBackgroundColour(list), COLORREF{0x00000000u});
    platform.SetDesktopIconColours(0x00FFFFFFu);
    CHECK_EQ(ListTextBackgroundColour(list), CLR_NONE);
    quit.Set();
    CHECK_EQ(shell.Wait(10000), std::optional<DWORD>(0));
}
