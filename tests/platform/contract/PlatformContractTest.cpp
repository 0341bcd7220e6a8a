// The promises of DesktopPlatform that hold on every backend, run on the
// recording backend (which the engine's and the windows' tests trust) and on
// the Linux backend with its file-backed registry and no desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "CreateDesktopPlatform.h"
#include "ErrorText.h"
#include "RecordingPlatform.h"
#include "TempDir.h"

namespace vexlo {
namespace {

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;

struct Recording {
    std::unique_ptr<RecordingPlatform> platform = std::make_unique<RecordingPlatform>();
    DesktopPlatform& Get() { return *platform; }
    // The next write under `key` cannot create the key.
    void BreakWrites(const std::string& key, const std::string& name) {
        platform->FailNextRegistryWrite(HKCU, key, name, RegistryFailure::CreateKey);
    }
};

struct FileBacked {
    test::TempDir dir;
    std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform(
        {.env = {{"VEXLO_REGISTRY_DIR", dir.File("registry")}, {"VEXLO_DESKTOP", "none"}},
         .homeFolder = dir.Path()});
    DesktopPlatform& Get() { return *platform; }
    // A regular file where the registry's folder belongs: nothing can be written.
    void BreakWrites(const std::string&, const std::string&) {
        std::filesystem::remove_all(dir.File("registry"));
        test::WriteFile(dir.File("registry"), "not a folder");
    }
};

template <typename Backend>
class EveryPlatform : public testing::Test {
protected:
    Backend backend_;
    DesktopPlatform& p = backend_.Get();
};

using Backends = testing::Types<Recording, FileBacked>;
TYPED_TEST_SUITE(EveryPlatform, Backends);

TYPED_TEST(EveryPlatform, RegistryKeysCompareWithoutCaseAndRootsAreApart) {
    DesktopPlatform& p = this->p;
    EXPECT_EQ(p.ReadRegistryString(HKCU, "Control Panel\\Desktop", "Wallpaper", "def"), "def");
    p.WriteRegistryString(HKCU, "\\Control Panel\\\\Desktop\\", "Wallpaper", "/a.bmp");
    p.WriteRegistryString(HKCU, "control panel\\desktop", "WALLPAPER", "/b.bmp");
    p.WriteRegistryString(HKCU, "Control Panel\\Desktop", "", "default");
    EXPECT_EQ(p.ReadRegistryString(HKCU, "Control Panel\\Desktop", "wallpaper", "-"), "/b.bmp");
    EXPECT_EQ(p.ReadRegistryString(HKCU, "CONTROL PANEL\\DESKTOP\\", "", "-"), "default");
    EXPECT_EQ(p.ReadRegistryString(HKLM, "Control Panel\\Desktop", "Wallpaper", "-"), "-");
    EXPECT_EQ(p.ReadRegistryString(HKCU, "Control Panel\\Desktop", "Other", "-"), "-");
}

TYPED_TEST(EveryPlatform, DeletingTakesTheValueOrTheWholeKeyAndNothingElse) {
    DesktopPlatform& p = this->p;
    p.WriteRegistryString(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\command", "", "cmd");
    p.WriteRegistryString(HKLM, "Software\\Classes\\*\\shell\\Vexlo", "", "Apply with Vexlo");
    p.WriteRegistryString(HKLM, "Software\\Classes\\*\\shell\\VexloX", "", "stays");
    p.WriteRegistryString(HKCU, "Run", "Vexlo", "vexlo change");
    p.WriteRegistryString(HKCU, "Run", "Other", "other");

    EXPECT_NO_THROW(p.DeleteRegistryValue(HKCU, "Run", "Absent"));
    EXPECT_NO_THROW(p.DeleteRegistryKey(HKLM, "Software\\Absent"));
    p.DeleteRegistryValue(HKCU, "run", "VEXLO");
    EXPECT_EQ(p.ReadRegistryString(HKCU, "Run", "Vexlo", "-"), "-");
    EXPECT_EQ(p.ReadRegistryString(HKCU, "Run", "Other", "-"), "other");

    p.DeleteRegistryKey(HKLM, "\\software\\classes\\*\\shell\\vexlo");
    EXPECT_EQ(p.ReadRegistryString(HKLM, "Software\\Classes\\*\\shell\\Vexlo", "", "-"), "-");
    EXPECT_EQ(p.ReadRegistryString(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\command", "", "-"),
              "-");
    EXPECT_EQ(p.ReadRegistryString(HKLM, "Software\\Classes\\*\\shell\\VexloX", "", "-"), "stays");
    p.DeleteRegistryKey(HKLM, "\\");  // never the whole root
    EXPECT_EQ(p.ReadRegistryString(HKLM, "Software\\Classes\\*\\shell\\VexloX", "", "-"), "stays");
}

TYPED_TEST(EveryPlatform, FailedWriteSaysWhichKeyAndKeepsWhatWasThere) {
    DesktopPlatform& p = this->p;
    p.WriteRegistryString(HKCU, "Control Panel\\Desktop", "Wallpaper", "/kept.bmp");
    this->backend_.BreakWrites("Software\\Vexlo", "Key");
    const std::string error =
        test::ErrorOf([&] { p.WriteRegistryString(HKCU, "Software\\Vexlo", "Key", "x"); });
    EXPECT_TRUE(error == "Failed to create key Software\\Vexlo" ||
                error == "Failed to set data for 'Key'")
        << error;
    EXPECT_EQ(p.ReadRegistryString(HKCU, "Software\\Vexlo", "Key", "-"), "-");
}

TYPED_TEST(EveryPlatform, DesktopCallsNeverThrow) {
    DesktopPlatform& p = this->p;
    const DesktopSize size = p.GetDesktopSize();
    EXPECT_GE(size.width, 0);
    EXPECT_GE(size.height, 0);
    EXPECT_NO_THROW(p.SetDesktopIconColours(0x008000));
    EXPECT_NO_THROW(p.SetDesktopIconColours(0xFFFFFF, kDesktopBackgroundColour, false));
    EXPECT_NO_THROW(p.SetDesktopWallpaper("/no/such/picture.bmp"));
}

// The recording backend's own promises that the other tests build on: the
// calls in order, and a hot key whose sink errors reach the caller.
TEST(RecordingPlatform, KeepsTheCallsAndLetsSinkErrorsThrough) {
    RecordingPlatform p;
    p.SetDesktopSize(1920, 1080);
    EXPECT_EQ(p.GetDesktopSize().width, 1920);
    EXPECT_TRUE(p.SetDesktopWallpaper("/p/wallpaper.bmp"));
    p.SetDesktopIconColours(0x008000);
    EXPECT_EQ(p.Log(), (std::vector<std::string>{
                           "GetDesktopSize()", "SetDesktopWallpaper(/p/wallpaper.bmp)",
                           "SetDesktopIconColours(0x00008000, 0x80000001, transparent)"}));
    EXPECT_EQ(p.LastWallpaper(), "/p/wallpaper.bmp");

    EXPECT_FALSE(p.PressHotKey());
    int presses = 0;
    ASSERT_TRUE(p.RegisterGlobalHotKey([&](std::uint32_t message, std::uint64_t wParam) {
        EXPECT_EQ(message, kWmHotKey);
        EXPECT_EQ(wParam, kHotKeyId);
        if (++presses == 1) {
            throw std::runtime_error("damaged picture");
        }
    }));
    EXPECT_THROW(p.PressHotKey(), std::runtime_error);
    EXPECT_TRUE(p.PressHotKey());  // still registered
    EXPECT_EQ(presses, 2);
}

}  // namespace
}  // namespace vexlo
