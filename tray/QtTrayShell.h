#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "TrayShell.h"

namespace vexlo {

// The shell over Qt's QSystemTrayIcon: an added entry is a shown tray icon, a
// change sets its image and tooltip, a removal hides it. Qt's activation
// reports come back as the shell's callback messages (see ClickTranslator.h).
// Needs a QApplication. An add is accepted also while no notification area
// runs: Qt docks the icon as soon as one appears (or comes back).
class QtTrayShell : public QObject, public TrayShell {
    Q_OBJECT
public:
    explicit QtTrayShell(QObject* parent = nullptr);
    ~QtTrayShell() override;

    bool Shell_NotifyIconA(uint32_t message, const NOTIFYICONDATAA& data) override;

    // The Qt icon that shows the entry, or nullptr.
    QSystemTrayIcon* TrayIconOf(uint32_t hWnd, uint32_t uID = 0) const;

private:
    struct Entry;
    using Key = std::pair<uint32_t, uint32_t>;

    void Apply(Entry& entry, const NOTIFYICONDATAA& data);
    void Activated(Key key, QSystemTrayIcon::ActivationReason reason);
    void Expired(Key key);
    void Send(Key key, const std::vector<uint32_t>& messages);
    void Retire(Entry& entry);

    std::map<Key, std::unique_ptr<Entry>> entries_;
    // Removed icons wait for the event loop to delete them, since a removal may
    // come from inside one of their own signals.
    std::vector<QPointer<QSystemTrayIcon>> retired_;
    QElapsedTimer clock_;
};

}  // namespace vexlo
