#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

namespace vexlo {

// What Shell_NotifyIconA is asked to do with the entry the record names.
inline constexpr uint32_t NIM_ADD = 0;
inline constexpr uint32_t NIM_MODIFY = 1;
inline constexpr uint32_t NIM_DELETE = 2;

// uFlags: which fields of the record carry a value.
inline constexpr uint32_t NIF_MESSAGE = 1;
inline constexpr uint32_t NIF_ICON = 2;
inline constexpr uint32_t NIF_TIP = 4;

inline constexpr int kNotifyTipBytes = 64;

// The notify record in its first, 88-byte form, laid out as a 32-bit Windows
// program sees it: six 32-bit fields and a 64-byte tooltip. Window and icon
// handles are the 32-bit handles of HiddenWindow.h and IconHandle.h.
struct NOTIFYICONDATAA {
    uint32_t cbSize = 0;
    uint32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    uint32_t hIcon = 0;
    char szTip[kNotifyTipBytes] = {};
};
static_assert(sizeof(NOTIFYICONDATAA) == 88);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24);

// Writes text to szTip as UTF-8 followed by a NUL. Text longer than the field
// holds is cut before the first character that would not fit whole, so the
// field never overflows and never ends in half a character.
void SetNotifyTip(NOTIFYICONDATAA& data, const QString& text);

// The tooltip text up to its NUL; a field without NUL is read to its end only.
QString NotifyTip(const NOTIFYICONDATAA& data);

}  // namespace vexlo
