#pragma once

#include <cstdint>

#include "NotifyIconData.h"

namespace vexlo {

// The notification area as the tray component sees it: one call, modelled on
// the Windows shell's.
//
// Shell_NotifyIconA(NIM_ADD, data) creates the entry named by data.hWnd and
// data.uID, NIM_MODIFY changes it and NIM_DELETE removes it; of the fields,
// only those data.uFlags marks (NIF_MESSAGE, NIF_ICON, NIF_TIP) are taken.
// The result says whether the shell accepted the call: adding an entry that
// exists, or changing or removing one that does not, is refused.
//
// While an entry whose callback message was given (NIF_MESSAGE) exists, the
// shell reports the mouse on its icon by sending data.uCallbackMessage to the
// window data.hWnd (see HiddenWindow.h) with wParam = data.uID and lParam = the
// mouse message: WM_LBUTTONUP for a left click, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
// WM_LBUTTONUP for a double click, WM_RBUTTONUP for a right click.
class TrayShell {
public:
    TrayShell() = default;
    virtual ~TrayShell() = default;
    TrayShell(const TrayShell&) = delete;
    TrayShell& operator=(const TrayShell&) = delete;

    virtual bool Shell_NotifyIconA(uint32_t message, const NOTIFYICONDATAA& data) = 0;
};

}  // namespace vexlo
