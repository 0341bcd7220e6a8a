#pragma once

#include <string>

#include "shortcut/GlobalShortcut.h"

namespace vexlo {

// sway and the other wlroots compositors: key bindings live in the user's own
// configuration file, which Vexlo does not edit. The options dialog says which
// line to add there.
class CompositorConfigNote : public GlobalShortcut {
public:
    explicit CompositorConfigNote(std::string executable) : executable_(std::move(executable)) {}

    bool Register(NativeMessageSink) override { return false; }
    std::string Note() override;

private:
    std::string executable_;
};

}  // namespace vexlo
