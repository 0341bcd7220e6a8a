// The recording backend that the engine's and the windows' tests stand on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "VexloError.h"
#include "recording/RecordingPlatform.h"

namespace vexlo {
namespace {

using ::testing::ElementsAre;
using Op = PlatformCall::Op;

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;

TEST(RecordingPlatform, RecordsEveryCallInOrder) {
    RecordingPlatform p;
    p.SetDesktopSize(1920, 1080);
    const DesktopSize size = p.GetDesktopSize();
    EXPECT_EQ(size.width, 1920);
    EXPECT_EQ(size.height, 1080);
    p.WriteRegistryString(HKCU, "Control Panel\\desktop", "WallPaperStyle", "2");
    EXPECT_TRUE(p.SetDesktopWallpaper("/p/wallpaper.bmp"));
    p.SetDesktopIconColours(0x008000);
    p.SetDesktopIconColours(0xFFFFFF, kDesktopBackgroundColour, false);
    EXPECT_EQ(p.ReadRegistryString(HKLM, "\\Software", "", "def"), "def");
    p.DeleteRegistryValue(HKCU, "Run", "Vexlo");
    p.DeleteRegistryKey(HKLM, "Software\\Classes\\*\\shell\\Vexlo");
    EXPECT_THAT(p.Log(),
                ElementsAre("GetDesktopSize()",
                            "WriteRegistryString(HKCU, Control Panel\\desktop, WallPaperStyle, 2)",
                            "SetDesktopWallpaper(/p/wallpaper.bmp)",
                            "SetDesktopIconColours(0x00008000, 0x80000001, transparent)",
                            "SetDesktopIconColours(0x00FFFFFF, 0x80000001, opaque)",
                            "ReadRegistryString(HKLM, \\Software, )",
                            "DeleteRegistryValue(HKCU, Run, Vexlo)",
                            "DeleteRegistryKey(HKLM, Software\\Classes\\*\\shell\\Vexlo)"));
    EXPECT_EQ(p.Effects().size(), 6u);
    EXPECT_EQ(p.LastWallpaper(), "/p/wallpaper.bmp");
    const auto colours = p.CallsOf(Op::SetDesktopIconColours);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[1].text, 0xFFFFFFu);
    EXPECT_FALSE(colours[1].transparent);
    p.ClearCalls();
    EXPECT_TRUE(p.Log().empty());
    EXPECT_EQ(p.LastWallpaper(), std::nullopt);
}

TEST(RecordingPlatform, RegistryBehavesLikeTheRealOnes) {
    RecordingPlatform p;
    p.WriteRegistryString(HKCU, "\\Control Panel\\\\Desktop\\", "Wallpaper", "/a.bmp");
    p.WriteRegistryString(HKCU, "control panel\\desktop", "WALLPAPER", "/b.bmp");
    p.WriteRegistryString(HKCU, "Control Panel\\Desktop", "", "default");
    EXPECT_EQ(p.RegistryValue(HKCU, "Control Panel\\Desktop", "wallpaper"), "/b.bmp");
    EXPECT_EQ(p.ReadRegistryString(HKCU, "CONTROL PANEL\\DESKTOP\\", "", "-"), "default");
    EXPECT_EQ(p.RegistryValue(HKLM, "Control Panel\\Desktop", "Wallpaper"), std::nullopt);
    p.PutRegistryValue(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\command", "", "cmd");
    p.PutRegistryValue(HKLM, "Software\\Classes\\*\\shell\\VexloX", "", "stays");
    EXPECT_THAT(p.RegistryDump(),
                ElementsAre("HKCU\\Control Panel\\Desktop: @=default",
                            "HKCU\\Control Panel\\Desktop: Wallpaper=/b.bmp",
                            "HKLM\\Software\\Classes\\*\\shell\\VexloX: @=stays",
                            "HKLM\\Software\\Classes\\*\\shell\\Vexlo\\command: @=cmd"));
    EXPECT_TRUE(p.RegistryKeyExists(HKLM, "software\\classes\\*\\shell\\vexlo"));
    p.DeleteRegistryKey(HKLM, "Software\\Classes\\*\\shell\\Vexlo");
    EXPECT_FALSE(p.RegistryKeyExists(HKLM, "Software\\Classes\\*\\shell\\Vexlo"));
    EXPECT_TRUE(p.RegistryKeyExists(HKLM, "Software\\Classes\\*\\shell\\VexloX"));
    p.DeleteRegistryKey(HKLM, "\\");
    EXPECT_TRUE(p.RegistryKeyExists(HKLM, "Software"));
    p.DeleteRegistryValue(HKCU, "Control Panel\\Desktop", "Wallpaper");
    EXPECT_EQ(p.RegistryValue(HKCU, "Control Panel\\Desktop", "Wallpaper"), std::nullopt);
}

TEST(RecordingPlatform, InjectedWriteFailuresCarryTheRealTexts) {
    RecordingPlatform p;
    p.FailNextRegistryWrite(HKCU, "\\Control Panel\\Desktop", "wallpaperstyle");
    p.FailNextRegistryWrite(HKCU, "Software\\Run", "Vexlo", RegistryFailure::CreateKey);
    p.WriteRegistryString(HKCU, "Control Panel\\Desktop", "TileWallpaper", "0");  // not this one
    try {
        p.WriteRegistryString(HKCU, "Control Panel\\desktop", "WallPaperStyle", "2");
        ADD_FAILURE() << "no error";
    } catch (const VexloError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'WallPaperStyle'");
    }
    try {
        p.WriteRegistryString(HKCU, "Software\\Run", "Vexlo", "x");
        ADD_FAILURE() << "no error";
    } catch (const VexloError& e) {
        EXPECT_STREQ(e.what(), "Failed to create key Software\\Run");
    }
    EXPECT_EQ(p.RegistryValue(HKCU, "Control Panel\\Desktop", "WallPaperStyle"), std::nullopt);
    EXPECT_EQ(p.CallsOf(Op::WriteRegistryString).size(), 3u);  // failed ones are recorded too
    // Once only.
    p.WriteRegistryString(HKCU, "Control Panel\\desktop", "WallPaperStyle", "2");
    EXPECT_EQ(p.RegistryValue(HKCU, "Control Panel\\Desktop", "WallPaperStyle"), "2");
}

TEST(RecordingPlatform, HotKeyAndDesktopAnswers) {
    RecordingPlatform p;
    EXPECT_FALSE(p.PressHotKey());
    std::vector<std::pair<std::uint32_t, std::uint64_t>> received;
    EXPECT_TRUE(p.RegisterGlobalHotKey([&](std::uint32_t message, std::uint64_t wParam) {
        received.emplace_back(message, wParam);
    }));
    EXPECT_TRUE(p.HotKeyRegistered());
    EXPECT_TRUE(p.PressHotKey());
    EXPECT_TRUE(p.PressHotKey());
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].first, kWmHotKey);
    EXPECT_EQ(received[0].second, kHotKeyId);

    RecordingPlatform busy;
    busy.SetHotKeyAvailable(false);
    busy.SetWallpaperResult(false);
    EXPECT_FALSE(busy.RegisterGlobalHotKey([](std::uint32_t, std::uint64_t) {}));
    EXPECT_FALSE(busy.PressHotKey());
    EXPECT_FALSE(busy.SetDesktopWallpaper("/x.bmp"));
    EXPECT_THAT(busy.Log(), ElementsAre("RegisterGlobalHotKey()", "SetDesktopWallpaper(/x.bmp)"));
}

}  // namespace
}  // namespace vexlo
