#pragma once

#include <functional>
#include <memory>

#include "shortcut/GlobalShortcut.h"

namespace vexlo {

// A road chosen at its first use, not at start-up: choosing may ask the
// session bus, which the program need not wait for when the key is off.
class DeferredShortcut : public GlobalShortcut {
public:
    using Maker = std::function<std::unique_ptr<GlobalShortcut>()>;
    explicit DeferredShortcut(Maker make) : make_(std::move(make)) {}

    bool Register(NativeMessageSink sink) override { return Road().Register(std::move(sink)); }
    void Store(bool on) override { Road().Store(on); }
    std::string Note() override { return Road().Note(); }

    // The road, made now if it was not yet; never null.
    GlobalShortcut& Road();

private:
    Maker make_;
    std::unique_ptr<GlobalShortcut> road_;
};

}  // namespace vexlo
