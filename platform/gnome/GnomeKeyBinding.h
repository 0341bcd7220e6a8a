#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shared/CommandRunner.h"
#include "shortcut/GlobalShortcut.h"

namespace vexlo {

// The dconf path of Vexlo's own custom key binding, and where GNOME lists them.
inline constexpr const char* kMediaKeysSchema = "org.gnome.settings-daemon.plugins.media-keys";
inline constexpr const char* kCustomBindingSchema =
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
inline constexpr const char* kVexloBindingPath =
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/vexlo/";

// A GVariant string array as gsettings prints it ("['a', 'b']", "@as []");
// no value for other text.
std::optional<std::vector<std::string>> ParseGVariantStringList(const std::string& text);
// The list as gsettings takes it.
std::string GVariantStringList(const std::vector<std::string>& items);

// GNOME's Wayland sessions without the shortcut portal (before GNOME 48): a
// custom key binding of GNOME's own settings daemon, <Control><Alt>c running
// "<executable> next", which reaches the running Vexlo (or changes the
// wallpaper itself). It outlives the program, so it is written when the
// choice is on and removed when it is off; other entries of the list are
// never touched.
class GnomeKeyBinding : public GlobalShortcut {
public:
    GnomeKeyBinding(CommandRunner runner, std::string executable);

    // Makes sure the binding is there (the choice is on whenever this is
    // called); never throws. The presses arrive as "next" requests, not here.
    bool Register(NativeMessageSink sink) override;
    // Writes or removes the binding; throws VexloError when it cannot.
    void Store(bool on) override;

    // True when the list names Vexlo's path and its keys hold what Write gives.
    bool IsWritten() const;

private:
    std::optional<std::vector<std::string>> ReadList(std::string& errors) const;
    std::string Get(const std::string& key) const;
    void Set(const std::string& schema, const std::string& key, const std::string& value) const;
    void Write() const;
    void Remove() const;

    CommandRunner runner_;
    std::string executable_;
};

}  // namespace vexlo
