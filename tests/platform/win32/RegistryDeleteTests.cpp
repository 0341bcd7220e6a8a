// Deleting values and key trees, and the writes that Windows refuses.
#include "TestSupport.h"
#include "TinyTest.h"
#include "Win32Platform.h"

using namespace testsupport;
using vexlo::RegistryRoot;
using vexlo::Win32Platform;

namespace {

constexpr auto kUser = RegistryRoot::CurrentUser;

}  // namespace

TEST(RegistryDelete, ValueGoesOthersStay) {
    Win32Platform platform;
    TestKey key;
    platform.WriteRegistryString(kUser, key.path, "Vexlo", "run");
    platform.WriteRegistryString(kUser, key.path, "Other", "keep");
    platform.WriteRegistryString(kUser, key.path, "", "default");
    platform.DeleteRegistryValue(kUser, key.path, "vexlo");
    CHECK(!RegistryString(HKEY_CURRENT_USER, key.wide, L"Vexlo"));
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, key.wide, L"Other"),
             std::optional<std::wstring>(L"keep"));
    platform.DeleteRegistryValue(kUser, key.path, "");
    CHECK(!RegistryString(HKEY_CURRENT_USER, key.wide, L""));
    CHECK(RegistryKeyExists(HKEY_CURRENT_USER, key.wide));

    // Absent values and keys: nothing happens, nothing is thrown.
    platform.DeleteRegistryValue(kUser, key.path, "Vexlo");
    platform.DeleteRegistryValue(kUser, key.path + "\\absent", "Other");
    platform.DeleteRegistryValue(kUser, key.path, std::string("Other\0x", 7));
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, key.wide, L"Other"),
             std::optional<std::wstring>(L"keep"));
}

TEST(RegistryDelete, KeyGoesWithEveryNestedSubkey) {
    Win32Platform platform;
    TestKey key;
    const std::string verbs = key.path + "\\Folder\\shell";
    for (const char* leaf : {"\\Add to Vexlo\\command", "\\Add to Vexlo\\ddeexec\\topic",
                             "\\Add to Vexlo\\a\\b\\c\\d", "\\Keep\\command"}) {
        platform.WriteRegistryString(kUser, verbs + leaf, "", "x");
    }
    for (int i = 0; i < 30; ++i) {
        platform.WriteRegistryString(kUser, verbs + "\\Add to Vexlo\\many\\k" + std::to_string(i),
                                     "v", "x");
    }
    platform.DeleteRegistryKey(kUser, verbs + "\\add to vexlo");
    CHECK(!RegistryKeyExists(HKEY_CURRENT_USER, Wide(verbs + "\\Add to Vexlo")));
    CHECK_EQ(RegistryString(HKEY_CURRENT_USER, Wide(verbs + "\\Keep\\command"), L""),
             std::optional<std::wstring>(L"x"));

    platform.DeleteRegistryKey(kUser, verbs + "\\Add to Vexlo");  // absent: nothing happens
    CHECK(RegistryKeyExists(HKEY_CURRENT_USER, Wide(verbs + "\\Keep")));
}

TEST(RegistryDelete, NeverWipesARootOrAnotherKey) {
    Win32Platform platform;
    TestKey key;
    platform.WriteRegistryString(kUser, key.path + "\\child", "v", "x");
    // An empty path would name the root itself; a NUL would cut the path short.
    platform.DeleteRegistryKey(kUser, "");
    platform.DeleteRegistryKey(kUser, "\\");
    platform.DeleteRegistryKey(kUser, key.path + std::string("\0\\child", 7));
    platform.DeleteRegistryKey(static_cast<RegistryRoot>(3), key.path);
    CHECK(RegistryKeyExists(HKEY_CURRENT_USER, key.wide + L"\\child"));
    CHECK(RegistryKeyExists(HKEY_CURRENT_USER, L"Software"));
}

TEST(RegistryWriteFailure, KeyThatCannotBeCreated) {
    Win32Platform platform;
    TestKey key;
    platform.WriteRegistryString(kUser, key.path, "kept", "old");
    // Windows keeps no lasting key below a volatile one.
    HKEY volatileKey = nullptr;
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, (key.wide + L"\\volatile").c_str(), 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey,
                            nullptr) == ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    const std::string below = key.path + "\\volatile\\Desktop";
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, below, "Wallpaper", "x"),
                      "Failed to create key " + below);
    CHECK(!RegistryKeyExists(HKEY_CURRENT_USER, Wide(below)));

    const std::string tooLong = key.path + "\\" + std::string(300, 'n');
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, tooLong, "v", "x"),
                      "Failed to create key " + tooLong);
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, "\\" + key.path + "\\\xC3", "v", "x"),
                      "Failed to create key \\" + key.path + "\\\xC3");
    CHECK_THROWS_WITH(
        platform.WriteRegistryString(static_cast<RegistryRoot>(5), key.path, "v", "x"),
        "Failed to create key " + key.path);
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "kept", ""), "old");
}

TEST(RegistryWriteFailure, ValueThatCannotBeSet) {
    Win32Platform platform;
    TestKey key;
    platform.WriteRegistryString(kUser, key.path, "kept", "old");
    // Windows takes value names of at most 16383 characters.
    const std::string tooLong(16384, 'v');
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, key.path, tooLong, "x"),
                      "Failed to set data for '" + tooLong + "'");

    // Text that is not UTF-8, or holds a NUL that Windows would cut at, is not
    // written at all, and leaves no empty key behind.
    const std::string fresh = key.path + "\\fresh";
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, fresh, "Wallpaper", "C:\\\xE9t\xE9.bmp"),
                      "Failed to set data for 'Wallpaper'");
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, fresh, "Wallpaper",
                                                   std::string("C:\\a.bmp\0C:\\b", 13)),
                      "Failed to set data for 'Wallpaper'");
    CHECK_THROWS_WITH(platform.WriteRegistryString(kUser, fresh, "Wall\x80", "x"),
                      "Failed to set data for 'Wall\x80'");
    CHECK(!RegistryKeyExists(HKEY_CURRENT_USER, Wide(fresh)));
    CHECK_EQ(platform.ReadRegistryString(kUser, key.path, "kept", ""), "old");
}
