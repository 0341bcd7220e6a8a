#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DesktopPlatform.h"

namespace vexlo {

// One screen's wallpaper as SetScreenWallpapers was handed it.
struct RecordedScreen {
    ScreenInfo screen;
    std::int32_t width = 0;  // the placed picture's size
    std::int32_t height = 0;
    std::string style;
    int sharesWith = -1;       // an earlier screen of the call with the same pixels
    std::uint32_t centre = 0;  // the placed picture's middle pixel
};

// One call made on a RecordingPlatform, with its arguments.
struct PlatformCall {
    enum class Op {
        GetDesktopSize,
        GetScreens,
        SetDesktopWallpaper,
        SetDesktopIconColours,
        RegisterGlobalHotKey,
        ReadRegistryString,
        WriteRegistryString,
        DeleteRegistryValue,
        DeleteRegistryKey,
    };
    Op op = Op::GetDesktopSize;
    std::string path{};                             // SetDesktopWallpaper
    ColourRef text = 0;                             // SetDesktopIconColours
    ColourRef background = 0;                       // SetDesktopIconColours
    bool transparent = false;                       // SetDesktopIconColours
    RegistryRoot root = RegistryRoot::CurrentUser;  // registry calls
    std::string key{};                              // registry calls, as passed
    std::string name{};                             // registry values, as passed
    std::string value{};                            // WriteRegistryString
    // SetScreenWallpapers is recorded as SetDesktopWallpaper(path) (what a
    // desktop that knows one screen is told) with the screens' pictures here.
    std::vector<RecordedScreen> screens{};

    // One readable line, the form Log() uses:
    //   GetDesktopSize()
    //   GetScreens()
    //   SetDesktopWallpaper(/tmp/x/wallpaper.bmp)
    //   SetDesktopIconColours(0x00008000, 0x80000001, transparent)   or "opaque"
    //   RegisterGlobalHotKey()
    //   ReadRegistryString(HKCU, Control Panel\Desktop, Wallpaper)
    //   WriteRegistryString(HKCU, Control Panel\desktop, WallPaperStyle, 2)
    //   DeleteRegistryValue(HKCU, Software\...\Run, Vexlo)
    //   DeleteRegistryKey(HKLM, *\shell\Vexlo)
    std::string Describe() const;
};

// Which error a failing registry write raises: the key could not be created
// ("Failed to create key <key>") or the value not set ("Failed to set data for '<name>'").
enum class RegistryFailure { CreateKey, SetData };

// A DesktopPlatform for tests. It records every call in order, answers with a
// desktop size the test sets, keeps the registry in memory (key paths
// normalised and compared without regard to case, as the real registries do),
// can make chosen registry writes fail with the real error texts, and lets the
// test press the hot key.
class RecordingPlatform : public DesktopPlatform {
public:
    RecordingPlatform() = default;

    // --- DesktopPlatform ---
    DesktopSize GetDesktopSize() override;
    std::vector<ScreenInfo> GetScreens() override;
    bool SetDesktopWallpaper(const std::string& path) override;
    bool SetScreenWallpapers(const std::string& path,
                             const std::vector<ScreenWallpaper>& screens) override;
    void SetDesktopIconColours(ColourRef text, ColourRef background, bool transparent) override;
    using DesktopPlatform::SetDesktopIconColours;
    // What SetCanColourIconCaptions set; false until then. Not recorded as a call.
    bool CanColourIconCaptions() const override { return canColourIconCaptions_; }
    bool RegisterGlobalHotKey(NativeMessageSink sink) override;
    void StoreGlobalHotKey(bool on) override;
    std::string GlobalHotKeyNote() override { return hotKeyNote_; }
    bool WatchScreens(std::function<void()> changed) override;
    std::string ReadRegistryString(RegistryRoot root, const std::string& key,
                                   const std::string& name, const std::string& def) override;
    void WriteRegistryString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& value) override;
    void DeleteRegistryValue(RegistryRoot root, const std::string& key,
                             const std::string& name) override;
    void DeleteRegistryKey(RegistryRoot root, const std::string& key) override;

    // --- the record ---
    // Every call, oldest first (a failed registry write is recorded too).
    const std::vector<PlatformCall>& Calls() const { return calls_; }
    // The calls of one kind, oldest first.
    std::vector<PlatformCall> CallsOf(PlatformCall::Op op) const;
    // Every call as PlatformCall::Describe() gives it.
    std::vector<std::string> Log() const;
    // As Log(), without the calls that only read (GetDesktopSize, GetScreens, ReadRegistryString).
    std::vector<std::string> Effects() const;
    // The path of the last SetDesktopWallpaper, if any.
    std::optional<std::string> LastWallpaper() const;
    void ClearCalls() { calls_.clear(); }

    // --- what the desktop answers ---
    void SetDesktopSize(std::int32_t width, std::int32_t height) { size_ = {width, height}; }
    // The screens GetScreens() gives. Until set: one primary screen, unnamed,
    // at 0,0 with the desktop size.
    void SetScreens(std::vector<ScreenInfo> screens) { screens_ = std::move(screens); }
    void SetWallpaperResult(bool result) { wallpaperResult_ = result; }
    void SetCanColourIconCaptions(bool can) { canColourIconCaptions_ = can; }
    // false: RegisterGlobalHotKey fails and keeps no sink.
    void SetHotKeyAvailable(bool available) { hotKeyAvailable_ = available; }

    // --- the screens ---
    // Tells the watcher that the screens changed; false when none watches.
    bool ChangeScreens();

    // --- the hot key ---
    bool HotKeyRegistered() const { return !sinks_.empty(); }
    // Delivers one press, (kWmHotKey, kHotKeyId), to every registered sink.
    // Returns false when no sink is registered.
    bool PressHotKey();

    // --- the desktop's own binding of the key (not recorded as calls) ---
    // Every StoreGlobalHotKey choice that was kept, oldest first.
    const std::vector<bool>& StoredHotKeyChoices() const { return storedHotKey_; }
    void SetHotKeyNote(std::string note) { hotKeyNote_ = std::move(note); }
    // Makes the next StoreGlobalHotKey throw VexloError(message) and keep nothing.
    void FailNextHotKeyStore(std::string message) { hotKeyStoreFailure_ = std::move(message); }

    // --- the registry ---
    // The stored value, or nothing. Not recorded as a call.
    std::optional<std::string> RegistryValue(RegistryRoot root, const std::string& key,
                                             const std::string& name) const;
    // True when the key or any subkey of it holds a value.
    bool RegistryKeyExists(RegistryRoot root, const std::string& key) const;
    // Sets a value without recording a call (to prepare a test).
    void PutRegistryValue(RegistryRoot root, const std::string& key, const std::string& name,
                          const std::string& value);
    // Makes the next WriteRegistryString to this key and value name (normalised,
    // case ignored) throw the error of `failure` and store nothing. Once only.
    void FailNextRegistryWrite(RegistryRoot root, const std::string& key, const std::string& name,
                               RegistryFailure failure = RegistryFailure::SetData);
    // Every stored value as a line "HKCU\Control Panel\Desktop: Wallpaper=/x.bmp"
    // (key normalised, names as first written, "@" for the default value), sorted:
    // handy for whole-registry checks.
    std::vector<std::string> RegistryDump() const;

private:
    struct StoredValue {
        std::string name;  // as first written
        std::string value;
    };
    struct StoredKey {
        std::string key;                            // normalised, as first written
        std::map<std::string, StoredValue> values;  // folded name -> value
    };
    // (root, folded normalised key) -> key
    using Keys = std::map<std::pair<std::uint32_t, std::string>, StoredKey>;
    struct PendingFailure {
        std::uint32_t root;
        std::string key;
        std::string name;
        RegistryFailure failure;
    };

    std::vector<PlatformCall> calls_;
    DesktopSize size_{1024, 768};
    std::optional<std::vector<ScreenInfo>> screens_{};
    bool wallpaperResult_ = true;
    bool hotKeyAvailable_ = true;
    bool canColourIconCaptions_ = false;
    std::vector<NativeMessageSink> sinks_;
    std::vector<bool> storedHotKey_;
    std::string hotKeyNote_;
    std::optional<std::string> hotKeyStoreFailure_;
    std::function<void()> screenWatch_;
    Keys keys_;
    std::vector<PendingFailure> failures_;
};

}  // namespace vexlo
