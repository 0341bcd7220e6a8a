#include "shortcut/DeferredShortcut.h"

namespace vexlo {
namespace {

class NoShortcut : public GlobalShortcut {
public:
    bool Register(NativeMessageSink) override { return false; }
};

}  // namespace

GlobalShortcut& DeferredShortcut::Road() {
    if (road_ == nullptr) {
        road_ = make_ ? make_() : nullptr;
        if (road_ == nullptr) {
            road_ = std::make_unique<NoShortcut>();
        }
    }
    return *road_;
}

}  // namespace vexlo
