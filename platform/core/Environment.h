#pragma once

#include <map>
#include <string>

namespace vexlo {

// A process environment as name -> value. Passed in explicitly so that the
// choices made from it (backend, file locations) can be tested.
using Environment = std::map<std::string, std::string>;

// The value of `name` in `env`; empty when it is not set.
std::string EnvValue(const Environment& env, const std::string& name);

// The user's base folders of the XDG base-directory rules.
enum class XdgBase {
    Config,  // $XDG_CONFIG_HOME, else ~/.config
    Data,    // $XDG_DATA_HOME, else ~/.local/share
};

// The folder `base` names: the variable's value when it is an absolute path
// (a relative one is invalid and ignored, as the rules say), else the default
// below `home` when that is absolute; else empty, for nowhere to keep anything.
std::string XdgBaseFolder(const Environment& env, XdgBase base, const std::string& home);
// The same below $HOME of `env`.
std::string XdgBaseFolder(const Environment& env, XdgBase base);

// What the platform knows of the process it serves. The program's entry reads
// it once (ReadProcessContext) and hands it down, so that no backend looks at
// the process behind the caller's back and a test can describe any session.
struct PlatformContext {
    Environment env = {};
    // The user's home folder, absolute; empty when unknown.
    std::string homeFolder = {};
    // The running program file, absolute; empty when unknown.
    std::string programFile = {};
    // A Qt application object exists, so an event loop can watch a connection
    // (the X11 hot key needs one).
    bool eventLoop = false;
    // That object is a QGuiApplication: its screens are the truth for the
    // desktop size, in any session (Wayland included).
    bool qtScreens = false;
};

// The environment of this process.
Environment CurrentEnvironment();

// This process: its environment, the home folder ($HOME, else the password
// database), the program file, and the Qt application object's kind. Call it
// once the application object is made.
PlatformContext ReadProcessContext();

}  // namespace vexlo
