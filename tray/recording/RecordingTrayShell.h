#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "TrayShell.h"

namespace vexlo {

// A shell that keeps its entries in memory and records every call, for tests.
// It follows the shell's rules (a second add of an entry is refused, and so is
// a change or removal of a missing one) and can play the user's mouse on an
// entry's icon.
class RecordingTrayShell : public TrayShell {
public:
    struct Call {
        uint32_t message = 0;
        NOTIFYICONDATAA data;
        QIcon icon;  // the image data.hIcon stood for when the call was made
        bool accepted = false;
    };
    struct Entry {
        QIcon icon;
        QString tip;
        bool hasCallback = false;
        uint32_t callbackMessage = 0;
    };

    bool Shell_NotifyIconA(uint32_t message, const NOTIFYICONDATAA& data) override;

    const std::vector<Call>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

    const Entry* FindEntry(uint32_t hWnd, uint32_t uID = 0) const;
    size_t EntryCount() const { return entries_.size(); }

    // From now on refuse every call (a shell without a taskbar), or accept again.
    void SetRefusing(bool refusing) { refusing_ = refusing; }

    // Reports a mouse message on the entry's icon as the shell does. False when
    // the entry does not exist or was given no callback message.
    bool SendMouse(uint32_t hWnd, uint32_t uID, uint32_t mouseMessage);

private:
    bool Apply(uint32_t message, const NOTIFYICONDATAA& data);

    std::map<std::pair<uint32_t, uint32_t>, Entry> entries_;
    std::vector<Call> calls_;
    bool refusing_ = false;
};

}  // namespace vexlo
