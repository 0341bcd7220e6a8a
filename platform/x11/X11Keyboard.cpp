#include "x11/X11Keyboard.h"

#include "x11/XcbConnection.h"

namespace vexlo {

xcb_keycode_t KeycodeFor(const XcbConnection& x, std::uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(x.get());
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const XcbPtr<xcb_get_keyboard_mapping_reply_t> reply(xcb_get_keyboard_mapping_reply(
        x.get(),
        xcb_get_keyboard_mapping(x.get(), setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    if (reply == nullptr) {
        return 0;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perCode = reply->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    for (int code = 0; code < count && found == 0; ++code) {
        for (int i = 0; i < perCode; ++i) {
            if (syms[code * perCode + i] == keysym) {
                found = static_cast<xcb_keycode_t>(setup->min_keycode + code);
                break;
            }
        }
    }
    return found;
}

std::uint16_t ModifierMaskFor(const XcbConnection& x, std::uint32_t keysym) {
    const xcb_keycode_t code = KeycodeFor(x, keysym);
    if (code == 0) {
        return 0;
    }
    const XcbPtr<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(x.get(), xcb_get_modifier_mapping(x.get()), nullptr));
    if (reply == nullptr) {
        return 0;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    std::uint16_t mask = 0;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (codes[modifier * perModifier + i] == code) {
                mask = static_cast<std::uint16_t>(1u << modifier);
                break;
            }
        }
    }
    return mask;
}

}  // namespace vexlo
