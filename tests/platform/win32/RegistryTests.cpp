// The registry operations of the Windows backend against Wine's real registry.
#include "TestSupport.h"
#include "TinyTest.h"
#include "Win32Platform.h"

using namespace testsupport;
using vexlo::RegistryRoot;
using vexlo::Win32Platform;

namespace {

constexpr auto kUser = RegistryRoot::CurrentUser;

void WriteRaw(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
              DWORD bytes) {
    HKEY opened = nullptr;
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &opened, nullptr) == ERROR_SUCCESS);
    RegSetValueExW(opened, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(opened);
}

}  // namespace

TEST(Registry, WritesCreateMissingKeysAndReplaceValues) {
    Win32Platform platform;
    TestKey key;
    const std::string nested = key.path + "\\Control Panel\\Desktop";
    platform.WriteRegistryString(kUser, nested, "WallPaperStyle", "2");
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, Wide(nested), L"WallPaperStyle"),
             std::optional<std::wstring>(L"2"));
    CHECK_EQ(platform.ReadRegistryString(kUser, nested, "WallPaperStyle", "def"), "2");

    platform.WriteRegistryString(kUser, nested, "WallPaperStyle", "0");
    platform.WriteRegistryString(kUser, nested, "TileWallpaper", "");
    CHECK_EQ(platform.ReadRegistryString(kUser, nested, "WallPaperStyle", "def"), "0");
    CHECK_EQ(platform.ReadRegistryString(kUser, nested, "TileWallpaper", "def"), "");
    // Names compare without regard to case, as Windows does.
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path + "\\control panel\\DESKTOP",
                                         "wallpaperstyle", "def"),
             "0");
}

TEST(Registry, EmptyNameIsTheDefaultValue) {
    Win32Platform platform;
    TestKey key;
    const std::string command = key.path + "\\shell\\Apply with Vexlo\\command";
    platform.WriteRegistryString(kUser, command, "", "\"C:\\Vexlo\\Vexlo.exe\" apply \"%1\"");
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, Wide(command), L""),
             std::optional<std::wstring>(L"\"C:\\Vexlo\\Vexlo.exe\" apply \"%1\""));
    CHECK_EQ(platform.ReadRegistryString(kUser, command, "", "def"),
             "\"C:\\Vexlo\\Vexlo.exe\" apply \"%1\"");
    // A key without a default value gives the caller's default.
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path + "\\shell", "", "def"), "def");
}

TEST(Registry, TextOutsideTheAnsiCodePageKeepsEveryCharacter) {
    Win32Platform platform;
    TestKey key;
    const std::string folder = key.path + "\\Bilder \xC3\x9C \xE6\x97\xA5\xE6\x9C\xAC";  // Ü 日本
    const std::string value = "D:\\\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE\\\xF0\x9F\x98\x80.bmp";
    platform.WriteRegistryString(kUser, folder, "Wallpaper \xC3\xA9", value);
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, Wide(key.path) + L"\\Bilder \u00DC \u65E5\u672C",
                            L"Wallpaper \u00E9"),
             std::optional<std::wstring>(L"D:\\\u0424\u043E\u0442\u043E\\\U0001F600.bmp"));
    CHECK_EQ(platform.ReadRegistryString(kUser, folder, "Wallpaper \xC3\xA9", ""), value);
}

TEST(Registry, LeadingBackslashNamesTheSameKey) {
    Win32Platform platform;
    TestKey key;
    platform.WriteRegistryString(kUser, "\\" + key.path, "Vexlo", "C:\\Vexlo\\Vexlo.exe change");
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, key.wide, L"Vexlo"),
             std::optional<std::wstring>(L"C:\\Vexlo\\Vexlo.exe change"));
    CHECK_EQ(platform.ReadRegistryString(kUser, "\\" + key.path, "Vexlo", "def"),
             "C:\\Vexlo\\Vexlo.exe change");
    platform.DeleteRegistryValue(kUser, "\\" + key.path, "Vexlo");
    CHECK(!RegistryString(HKEY_CURRENT_USER, key.wide, L"Vexlo"));
    platform.WriteRegistryString(kUser, key.path + "\\sub", "a", "1");
    platform.DeleteRegistryKey(kUser, "\\" + key.path + "\\sub");
    CHECK(!RegistryKeyExists(HKEY_CURRENT_USER, key.wide + L"\\sub"));
}

TEST(Registry, ReadsGiveTheDefaultForWhatIsNoString) {
    Win32Platform platform;
    TestKey key;
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path + "\\absent", "x", "fallback"),
             "fallback");
    platform.WriteRegistryString(kUser, key.path, "present", "v");
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "absent", "fallback"), "fallback");

    const DWORD number = 7;
    WriteRaw(key.wide, L"number", REG_DWORD, &number, sizeof(number));
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "number", "fallback"), "fallback");
    // Written by another program without the terminating NUL, or with data after it.
    WriteRaw(key.wide, L"unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "unterminated", ""), "abc");
    WriteRaw(key.wide, L"odd", REG_SZ, L"abc", 5);
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "odd", ""), "ab");
    WriteRaw(key.wide, L"embedded", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t));
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "embedded", ""), "ab");
    // Left unexpanded, as stored.
    WriteRaw(key.wide, L"expand", REG_EXPAND_SZ, L"%SystemRoot%\\x", 15 * sizeof(wchar_t));
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "expand", ""), "%SystemRoot%\\x");
    const std::wstring big(100000, L'w');
    WriteRaw(key.wide, L"big", REG_SZ, big.c_str(), (big.size() + 1) * sizeof(wchar_t));
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "big", "").size(), big.size());
}

TEST(Registry, ReadsRefuseNamesThatWindowsWouldCut) {
    Win32Platform platform;
    TestKey key;
    platform.WriteRegistryString(kUser, key.path, "a", "value");
    // A NUL would make Windows read the key or value before it.
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path + std::string("\0x", 2), "a", "def"),
             "def");
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, std::string("a\0b", 3), "def"), "def");
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "a\xFF", "def"), "def");
    CHECK_EQ(platform.ReadRegistryString(static_cast<RegistryRoot>(7), key.path, "a", "def"),
             "def");
}

TEST(Registry, MachineRootIsItsOwn) {
    Win32Platform platform;
    const std::string path = "Software\\VexloTests\\" + UniqueName("machine");
    platform.WriteRegistryString(RegistryRoot::LocalMachine, path, "v", "machine");
    CHECK_EQ(RegistryString(HKEY_LOCAL_MACHINE, Wide(path), L"v"),
             std::optional<std::wstring>(L"machine"));
    CHECK_EQ(platform.ReadRegistryString(kUser, path, "v", "none"), "none");
    platform.DeleteRegistryKey(RegistryRoot::LocalMachine, path);
    CHECK(!RegistryKeyExists(HKEY_LOCAL_MACHINE, Wide(path)));
}
