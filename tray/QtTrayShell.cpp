#include "QtTrayShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QMenu>
#include <QPixmap>
#include <QStyleHints>
#include <QTimer>
#include <algorithm>

#include "ClickTranslator.h"
#include "HiddenWindow.h"
#include "IconHandle.h"

namespace vexlo {

struct QtTrayShell::Entry {
    explicit Entry(int doubleClickMs) : clicks(doubleClickMs) {}
    QSystemTrayIcon* icon = nullptr;
    QTimer* holdTimer = nullptr;  // a child of icon
    ClickTranslator clicks;
    bool hasCallback = false;
    bool hostMenu = false;  // the notification area shows the menu
    uint32_t callbackMessage = 0;
};

namespace {
// An entry without an image keeps an empty slot, as the shell does, rather
// than no slot at all.
QIcon BlankIcon() {
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}
}  // namespace

QtTrayShell::QtTrayShell(QObject* parent) : QObject(parent) {
    clock_.start();
}

QtTrayShell::~QtTrayShell() {
    for (auto& [key, entry] : entries_) {
        Retire(*entry);
    }
    entries_.clear();
    for (const QPointer<QSystemTrayIcon>& icon : retired_) {
        delete icon.data();
    }
}

bool QtTrayShell::Shell_NotifyIconA(uint32_t message, const NOTIFYICONDATAA& data) {
    const Key key{data.hWnd, data.uID};
    auto it = entries_.find(key);
    switch (message) {
        case NIM_ADD: {
            if (it != entries_.end()) {
                return false;
            }
            const int doubleClickMs = QGuiApplication::styleHints()->mouseDoubleClickInterval();
            auto entry = std::make_unique<Entry>(doubleClickMs);
            entry->icon = new QSystemTrayIcon(BlankIcon());
            entry->holdTimer = new QTimer(entry->icon);
            entry->holdTimer->setSingleShot(true);
            entry->holdTimer->setInterval(doubleClickMs);
            connect(entry->icon, &QSystemTrayIcon::activated, this,
                    [this, key](QSystemTrayIcon::ActivationReason r) { Activated(key, r); });
            connect(entry->holdTimer, &QTimer::timeout, this, [this, key] { Expired(key); });
            Apply(*entry, data);
            entry->icon->show();
            entries_.emplace(key, std::move(entry));
            return true;
        }
        case NIM_MODIFY:
            if (it == entries_.end()) {
                return false;
            }
            Apply(*it->second, data);
            return true;
        case NIM_DELETE:
            if (it == entries_.end()) {
                return false;
            }
            Retire(*it->second);
            entries_.erase(it);
            return true;
        default:
            return false;
    }
}

void QtTrayShell::Apply(Entry& entry, const NOTIFYICONDATAA& data) {
    if (data.uFlags & NIF_MESSAGE) {
        entry.hasCallback = true;
        entry.callbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & NIF_ICON) {
        const QIcon icon = IconHandle::Lookup(data.hIcon);
        entry.icon->setIcon(icon.isNull() ? BlankIcon() : icon);
    }
    if (data.uFlags & NIF_TIP) {
        entry.icon->setToolTip(NotifyTip(data));
    }
}

void QtTrayShell::Activated(Key key, QSystemTrayIcon::ActivationReason reason) {
    auto it = entries_.find(key);
    if (it == entries_.end()) {
        return;
    }
    Entry& entry = *it->second;
    if (reason == QSystemTrayIcon::Context && entry.hostMenu) {
        return;
    }
    // Qt reports the right click on the press. The shell reports it on the
    // release, and a menu opened while the button is still down would take the
    // release as a choice of the item under the pointer: wait for the release.
    if (reason == QSystemTrayIcon::Context && (QGuiApplication::mouseButtons() & Qt::RightButton)) {
        QTimer::singleShot(10, this, [this, key] { Activated(key, QSystemTrayIcon::Context); });
        return;
    }
    const std::vector<uint32_t> messages = entry.clicks.Activated(reason, clock_.elapsed());
    if (entry.clicks.Holding()) {
        entry.holdTimer->start();
    } else {
        entry.holdTimer->stop();
    }
    Send(key, messages);
}

void QtTrayShell::Expired(Key key) {
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        Send(key, it->second->clicks.Expire());
    }
}

void QtTrayShell::Send(Key key, const std::vector<uint32_t>& messages) {
    for (uint32_t mouse : messages) {
        // A handler may remove the entry: look it up again for every message.
        auto it = entries_.find(key);
        if (it == entries_.end() || !it->second->hasCallback) {
            return;
        }
        SendWindowMessage(key.first, it->second->callbackMessage, key.second,
                          static_cast<intptr_t>(mouse));
    }
}

bool QtTrayShell::HostDrawsMenus() {
    // Qt shows tray icons as StatusNotifierItems exactly when a watcher with a
    // registered host is on the session bus; those hosts draw the menu.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        return false;
    }
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool QtTrayShell::ShareMenuWithHost(uint32_t hWnd, uint32_t uID, QMenu* menu) {
    auto it = entries_.find({hWnd, uID});
    if (it == entries_.end() || !HostDrawsMenus()) {
        return false;
    }
    it->second->hostMenu = menu != nullptr;
    it->second->icon->setContextMenu(menu);
    return it->second->hostMenu;
}

QSystemTrayIcon* QtTrayShell::TrayIconOf(uint32_t hWnd, uint32_t uID) const {
    auto it = entries_.find({hWnd, uID});
    return it == entries_.end() ? nullptr : it->second->icon;
}

void QtTrayShell::Retire(Entry& entry) {
    disconnect(entry.icon, nullptr, this, nullptr);
    disconnect(entry.holdTimer, nullptr, this, nullptr);
    entry.holdTimer->stop();
    entry.icon->hide();
    entry.icon->deleteLater();
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                  [](const QPointer<QSystemTrayIcon>& p) { return p.isNull(); }),
                   retired_.end());
    retired_.emplace_back(entry.icon);
}

}  // namespace vexlo
