#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <string>

#include "Environment.h"
#include "shared/SessionBus.h"
#include "shortcut/GlobalShortcut.h"

namespace vexlo {

// The id the package installs its desktop entry under; the portal names the
// application by it.
inline constexpr const char* kPortalAppId = "org.vexlo.Vexlo";
// The one shortcut Vexlo asks the portal for.
inline constexpr const char* kPortalShortcutId = "change-wallpaper";

// Wayland desktops with org.freedesktop.portal.GlobalShortcuts (Plasma 5.27
// and later, GNOME 48 and later, Hyprland): one session holding the shortcut
// "change-wallpaper", Ctrl+Alt+C preferred. The desktop may let the user bind
// another key; that is its business. Everything runs asynchronously on the
// GUI thread's event loop; a refusal leaves the program without the key, as
// a failed X grab does.
class PortalShortcut : public QObject, public GlobalShortcut {
    Q_OBJECT
public:
    explicit PortalShortcut(const Environment& env);
    ~PortalShortcut() override;

    // True when the session bus of `env` offers the shortcut portal; waits at
    // most `timeoutMs` for the answer.
    static bool Offered(const Environment& env, int timeoutMs);

    // Starts the session (the host registry first, where the portal has one),
    // then binds the shortcut. True when the requests went out.
    bool Register(NativeMessageSink sink) override;

    // For tests and diagnostics: the session's handle once the portal gave
    // one, whether the shortcut is bound, and why the road stopped, if it did.
    const QString& SessionHandle() const { return session_; }
    const QString& SessionToken() const { return sessionToken_; }
    bool Bound() const { return bound_; }
    const std::string& Failure() const { return failure_; }

private slots:
    void CreateSessionResponse(const QDBusMessage& message);
    void BindResponse(const QDBusMessage& message);
    void Activated(const QDBusMessage& message);

private:
    void RegisterAppId();
    void CreateSession();
    void BindShortcuts();
    // Sends `call`, answered later by a Response signal on the request path
    // the portal derives from `token`; `slot` takes that signal.
    void Request(QDBusMessage call, const QString& token, const char* slot);
    QString RequestPath(const QString& token);
    void Stop(const std::string& why);

    SessionBus bus_;
    NativeMessageSink sink_;
    bool started_ = false;
    bool bound_ = false;
    QString sessionToken_;
    QString session_;
    std::string failure_;
};

}  // namespace vexlo
