#include "RecordingTrayShell.h"

#include "HiddenWindow.h"
#include "IconHandle.h"

namespace vexlo {

bool RecordingTrayShell::Shell_NotifyIconA(uint32_t message, const NOTIFYICONDATAA& data) {
    Call call;
    call.message = message;
    call.data = data;
    call.icon = IconHandle::Lookup(data.hIcon);
    call.accepted = !refusing_ && Apply(message, data);
    calls_.push_back(call);
    return call.accepted;
}

bool RecordingTrayShell::Apply(uint32_t message, const NOTIFYICONDATAA& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    auto it = entries_.find(key);
    switch (message) {
        case NIM_ADD:
            if (it != entries_.end()) {
                return false;
            }
            it = entries_.emplace(key, Entry{}).first;
            break;
        case NIM_MODIFY:
            if (it == entries_.end()) {
                return false;
            }
            break;
        case NIM_DELETE:
            if (it == entries_.end()) {
                return false;
            }
            entries_.erase(it);
            return true;
        default:
            return false;
    }
    Entry& entry = it->second;
    if (data.uFlags & NIF_MESSAGE) {
        entry.hasCallback = true;
        entry.callbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & NIF_ICON) {
        entry.icon = IconHandle::Lookup(data.hIcon);
    }
    if (data.uFlags & NIF_TIP) {
        entry.tip = NotifyTip(data);
    }
    return true;
}

const RecordingTrayShell::Entry* RecordingTrayShell::FindEntry(uint32_t hWnd, uint32_t uID) const {
    auto it = entries_.find({hWnd, uID});
    return it == entries_.end() ? nullptr : &it->second;
}

bool RecordingTrayShell::SendMouse(uint32_t hWnd, uint32_t uID, uint32_t mouseMessage) {
    const Entry* entry = FindEntry(hWnd, uID);
    if (!entry || !entry->hasCallback) {
        return false;
    }
    SendWindowMessage(hWnd, entry->callbackMessage, uID, static_cast<intptr_t>(mouseMessage));
    return true;
}

}  // namespace vexlo
