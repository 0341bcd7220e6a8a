#include "shortcut/PortalShortcut.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QRandomGenerator>

namespace vexlo {
namespace {

// One entry of the portal's shortcut list, a(sa{sv}): the id and its
// "description" and "preferred_trigger".
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcutEntry>;

}  // namespace
}  // namespace vexlo

Q_DECLARE_METATYPE(vexlo::PortalShortcutEntry)
Q_DECLARE_METATYPE(vexlo::PortalShortcutList)

namespace vexlo {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcutEntry& entry) {
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcutEntry& entry) {
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

PortalShortcutList Shortcuts() {
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalShortcutEntry>();
        qDBusRegisterMetaType<PortalShortcutList>();
        return true;
    }();
    (void)registered;
    return {{QString::fromLatin1(kPortalShortcutId),
             {{QStringLiteral("description"), QStringLiteral("Change Wallpaper")},
              {QStringLiteral("preferred_trigger"), QStringLiteral("CTRL+ALT+c")}}}};
}

QString NewToken() {
    return QStringLiteral("vexlo%1").arg(QRandomGenerator::global()->generate());
}

// A session handle as the portal sends it: an object path, or (Plasma 5.27) a string.
QString PathText(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    return value.toString();
}

// The two arguments of a Request's Response signal.
std::pair<uint, QVariantMap> ResponseOf(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    return {arguments.value(0).toUInt(), qdbus_cast<QVariantMap>(arguments.value(1))};
}

}  // namespace

PortalShortcut::PortalShortcut(const Environment& env) : bus_(env) {}

PortalShortcut::~PortalShortcut() {
    if (!session_.isEmpty() && bus_.IsConnected()) {
        bus_.Connection().send(QDBusMessage::createMethodCall(
            kService, session_, QStringLiteral("org.freedesktop.portal.Session"),
            QStringLiteral("Close")));
    }
}

bool PortalShortcut::Offered(const Environment& env, int timeoutMs) {
    SessionBus bus(env);
    if (!bus.IsConnected()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    return bus.Connection().call(get, QDBus::Block, timeoutMs).type() == QDBusMessage::ReplyMessage;
}

bool PortalShortcut::Register(NativeMessageSink sink) {
    sink_ = std::move(sink);
    if (started_) {
        return failure_.empty();
    }
    if (!bus_.IsConnected()) {
        failure_ = "no session bus";
        return false;
    }
    started_ = true;
    RegisterAppId();
    return true;
}

void PortalShortcut::RegisterAppId() {
    // Newer portals name a plain process by what it registers here, before
    // any other call; older ones have no registry and use an empty id.
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    call << QString::fromLatin1(kPortalAppId) << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(bus_.Connection().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                CreateSession();
            });
}

QString PortalShortcut::RequestPath(const QString& token) {
    QString sender = bus_.Connection().baseService();
    sender.remove(0, sender.startsWith(QLatin1Char(':')) ? 1 : 0)
        .replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void PortalShortcut::Request(QDBusMessage call, const QString& token, const char* slot) {
    // Subscribed before the call, so that a quick answer is not missed.
    QDBusConnection& connection = bus_.Connection();
    connection.connect(QString(), RequestPath(token), kRequestInterface, QStringLiteral("Response"),
                       this, slot);
    auto* watcher = new QDBusPendingCallWatcher(connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, token, slot](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    Stop(reply.error().message().toStdString());
                    return;
                }
                // Older portals chose a path of their own.
                if (reply.value().path() != RequestPath(token)) {
                    bus_.Connection().connect(QString(), reply.value().path(), kRequestInterface,
                                              QStringLiteral("Response"), this, slot);
                }
            });
}

void PortalShortcut::CreateSession() {
    sessionToken_ = NewToken();
    const QString token = NewToken();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("CreateSession"));
    // The shortcuts here too: Plasma 5.27 binds these and ignores BindShortcuts' own.
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), sessionToken_},
                        {QStringLiteral("shortcuts"), QVariant::fromValue(Shortcuts())}};
    Request(call, token, SLOT(CreateSessionResponse(QDBusMessage)));
}

void PortalShortcut::CreateSessionResponse(const QDBusMessage& message) {
    if (!session_.isEmpty() || !failure_.empty()) {
        return;
    }
    const auto [response, results] = ResponseOf(message);
    if (response != 0) {
        Stop("the portal refused the session (response " + std::to_string(response) + ")");
        return;
    }
    session_ = PathText(results.value(QStringLiteral("session_handle")));
    if (session_.isEmpty()) {
        Stop("the portal gave no session handle");
        return;
    }
    // Activated goes to every client of the portal: each filters by its session.
    bus_.Connection().connect(QString(), kPath, kInterface, QStringLiteral("Activated"), this,
                              SLOT(Activated(QDBusMessage)));
    BindShortcuts();
}

void PortalShortcut::BindShortcuts() {
    const QString token = NewToken();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(Shortcuts())
         << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    Request(call, token, SLOT(BindResponse(QDBusMessage)));
}

void PortalShortcut::BindResponse(const QDBusMessage& message) {
    if (bound_ || !failure_.empty()) {
        return;
    }
    const auto [response, results] = ResponseOf(message);
    (void)results;
    if (response != 0) {
        Stop("the portal did not bind the shortcut (response " + std::to_string(response) + ")");
        return;
    }
    bound_ = true;
}

void PortalShortcut::Activated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (PathText(arguments.value(0)) != session_ ||
        arguments.value(1).toString() != QLatin1String(kPortalShortcutId) || !sink_) {
        return;
    }
    // Run from an event of its own, not inside the bus's delivery: what the
    // sink throws then leaves through the application's event dispatch.
    QMetaObject::invokeMethod(
        this, [sink = sink_] { sink(kWmHotKey, kHotKeyId); }, Qt::QueuedConnection);
}

void PortalShortcut::Stop(const std::string& why) {
    if (failure_.empty()) {
        failure_ = why.empty() ? "the portal failed" : why;
    }
}

}  // namespace vexlo
