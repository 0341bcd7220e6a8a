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

class QMenu;

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

    // Notification areas that draw the menu themselves (StatusNotifierItem
    // hosts: Plasma, GNOME with AppIndicator support, most Wayland sessions)
    // never ask for a menu at the cursor: hand them `menu` for the entry, and
    // leave the right click to them. Elsewhere (XEmbed) nothing changes: the
    // right click reaches the owner, which pops its own menu. Returns whether
    // the host took the menu.
    bool ShareMenuWithHost(uint32_t hWnd, uint32_t uID, QMenu* menu);
    // Whether the session's notification area draws menus itself.
    static bool HostDrawsMenus();

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
