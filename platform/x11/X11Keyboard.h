#pragma once

#include <xcb/xcb.h>

#include <cstdint>

namespace vexlo {

class XcbConnection;

// The first key code that produces `keysym`; 0 when no key does.
xcb_keycode_t KeycodeFor(const XcbConnection& x, std::uint32_t keysym);

// The modifier mask of the key that produces `keysym` (Num_Lock: usually Mod2);
// 0 when it is no modifier.
std::uint16_t ModifierMaskFor(const XcbConnection& x, std::uint32_t keysym);

}  // namespace vexlo
