#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vexlo {

// Registry roots, with the values the Windows API gives them.
enum class RegistryRoot : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

struct DesktopSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// One screen (monitor) of the desktop, in physical pixels, in the coordinates
// of the whole desktop (the primary screen need not start at 0,0; positions
// may be negative).
struct ScreenInfo {
    std::string name{};  // the system's name for the output ("DP-1"); may be empty
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool primary = false;
};

// A placed picture handed to the desktop from memory: `height` rows of `width`
// pixels 0xffRRGGBB (the top byte is not read), top row first, each row
// `stride` pixels after the one before. The memory belongs to the caller.
struct PixelRows {
    const std::uint32_t* first = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int64_t stride = 0;

    const std::uint32_t* Row(std::int32_t y) const { return first + stride * y; }
    bool Empty() const { return first == nullptr || width <= 0 || height <= 0; }
};

// One screen's wallpaper: the picture placed for that screen's size, and how
// the desktop shows it there, as the two style values hold it ("0" centred,
// "1" tiled, "2" stretched).
struct ScreenWallpaper {
    ScreenInfo screen{};
    PixelRows picture{};
    std::string style{};
};

// A colour as Windows stores it: 0x00BBGGRR, or 0x80000000 plus a system colour index.
using ColourRef = std::uint32_t;

// The system colour "desktop background" (COLOR_BACKGROUND = 1).
inline constexpr ColourRef kDesktopBackgroundColour = 0x80000001u;

// The message and identifier with which a press of the global hot key arrives.
inline constexpr std::uint32_t kWmHotKey = 786;
inline constexpr std::uint32_t kHotKeyId = 1025;

// Receives native messages that the platform delivers to the application
// (today only WM_HOTKEY with identifier 1025).
//
// The sink may throw. An exception it throws propagates to the caller of the
// platform's event delivery, that is to the application's event dispatch, and
// reaches the program's error report exactly as one from any other event
// handler does. No backend swallows it, and each leaves its own state as it
// was before the sink ran (the key stays registered; later presses arrive).
using NativeMessageSink = std::function<void(std::uint32_t message, std::uint64_t wParam)>;

// Everything Vexlo asks of the desktop, the shell and the registry.
//
// All strings are UTF-8. All operations run on the GUI thread. The backend is
// chosen once at start-up and handed to whoever needs it.
class DesktopPlatform {
public:
    DesktopPlatform() = default;
    virtual ~DesktopPlatform() = default;
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    // The primary display's size in device pixels, read afresh at every call.
    virtual DesktopSize GetDesktopSize() = 0;

    // Every screen of the desktop, read afresh at every call, in the order the
    // system lists them; exactly one is primary when the list is not empty.
    // A backend that cannot tell the screens apart gives one screen of
    // GetDesktopSize() at 0,0.
    virtual std::vector<ScreenInfo> GetScreens() = 0;

    // Shows the BMP at `path` as the wallpaper at once, placed by the current
    // "WallPaperStyle" and "TileWallpaper" values under
    // HKEY_CURRENT_USER\Control Panel\desktop ("TileWallpaper" "1" tiles, else
    // "WallPaperStyle" "2" stretches, else centred). Does not record the path
    // anywhere. Returns false when the desktop could not be told; callers ignore it.
    // Throws VexloError when the desktop cannot take the file's name at all (a
    // name that is not UTF-8 where the desktop takes UTF-8 only), rather than
    // reporting a success for another name.
    virtual bool SetDesktopWallpaper(const std::string& path) = 0;

    // Shows a wallpaper placed for each screen. `path` is the BMP the primary
    // screen's picture was just written to (as handed to SetDesktopWallpaper);
    // `screens` holds every screen with a size, each with its own placed
    // picture (screens may share one) and style. The pictures are valid until
    // the call returns. A desktop that takes pixels draws them from memory
    // without reading the file back; one that takes files gets the file for
    // the primary screen's picture and files of its own for the others; one
    // that shows one picture for all screens gets them composed. The default,
    // for a desktop that cannot tell screens apart: SetDesktopWallpaper(path).
    // Returns and throws as SetDesktopWallpaper does.
    virtual bool SetScreenWallpapers(const std::string& path,
                                     const std::vector<ScreenWallpaper>& screens) {
        (void)screens;
        return SetDesktopWallpaper(path);
    }

    // As SetScreenWallpapers, while `path` is still being written: `written`
    // returns once the file is complete and throws when it could not be made.
    // A desktop that takes pixels prepares them meanwhile and shows nothing
    // before `written` has returned; one that takes files calls it first. A
    // throw from `written` leaves the desktop as it was and propagates. The
    // default: written(), then SetScreenWallpapers.
    virtual bool SetScreenWallpapersOnceWritten(const std::string& path,
                                                const std::vector<ScreenWallpaper>& screens,
                                                const std::function<void()>& written) {
        written();
        return SetScreenWallpapers(path, screens);
    }

    // Calls `changed` on the GUI thread, from the event loop, whenever the
    // screens change (one added or removed, a size, position or turn
    // changed); one change may call it several times. Replaces an earlier
    // watch. False when this desktop cannot tell (no event loop, no screens
    // to watch); the default.
    virtual bool WatchScreens(std::function<void()> changed) {
        (void)changed;
        return false;
    }

    // Colours the captions of the desktop icons. With `transparent` the captions
    // get no background and `background` is not used. Changes nothing when the
    // desktop keeps no icon list of its own.
    virtual void SetDesktopIconColours(ColourRef text, ColourRef background, bool transparent) = 0;

    // The short form: text colour, always transparent.
    void SetDesktopIconColours(ColourRef text) {
        SetDesktopIconColours(text, kDesktopBackgroundColour, true);
    }

    // True when SetDesktopIconColours can change what the desktop shows: the
    // desktop keeps an icon list whose caption colours another program may set.
    // Desktops that draw their own icon captions answer false.
    virtual bool CanColourIconCaptions() const = 0;

    // Grabs Ctrl+Alt+C for the whole session. Each press is delivered to `sink`
    // as (kWmHotKey, kHotKeyId) on the GUI thread, from the event loop; what the
    // sink throws leaves through that loop (see NativeMessageSink). Returns false when the key
    // could not be had (another client holds it, no such facility); callers
    // ignore that. Never withdrawn while the backend lives.
    virtual bool RegisterGlobalHotKey(NativeMessageSink sink) = 0;

    // Keeps the choice "Ctrl+Alt+C on or off" where the desktop itself binds
    // the key to a command ("vexlo next"): written when on, removed when off.
    // Where the program holds the key only while it runs, nothing happens here
    // and the choice takes effect at the next start. Throws VexloError when
    // the desktop's binding cannot be written.
    virtual void StoreGlobalHotKey(bool on) { (void)on; }

    // A short note for the hot-key choice where Vexlo cannot bind the key
    // itself (the key bindings live in the compositor's own configuration);
    // empty elsewhere.
    virtual std::string GlobalHotKeyNote() { return {}; }

    // The string value `name` of `key` under `root`; `def` when the key does not
    // exist or has no such value. Never fails. Key paths may start with "\";
    // the empty name is the key's default value.
    virtual std::string ReadRegistryString(RegistryRoot root, const std::string& key,
                                           const std::string& name, const std::string& def) = 0;

    // Writes a string value, creating missing keys. Throws VexloError
    // "Failed to create key <key>" or "Failed to set data for '<name>'".
    virtual void WriteRegistryString(RegistryRoot root, const std::string& key,
                                     const std::string& name, const std::string& value) = 0;

    // Removes one value; nothing happens when it is absent.
    virtual void DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                     const std::string& name) = 0;

    // Removes the key with all its values and subkeys; nothing happens when absent.
    virtual void DeleteRegistryKey(RegistryRoot root, const std::string& key) = 0;
};

}  // namespace vexlo
