#include "instance/DBusInstanceChannel.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace vexlo {

std::string InstanceBusName(const std::string& programFolder) {
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(programFolder),
                                                       QCryptographicHash::Sha256);
    return "org.vexlo.Vexlo.i" + digest.toHex().left(16).toStdString();
}

void InstanceService::Next() {
    const std::string failure = next_ ? next_() : std::string();
    if (!failure.empty()) {
        sendErrorReply(QString::fromLatin1(kInstanceFailedError), QString::fromStdString(failure));
    }
}

DBusInstanceChannel::DBusInstanceChannel(const Environment& env, const std::string& programFolder)
    : bus_(env), name_(QString::fromStdString(InstanceBusName(programFolder))) {}

DBusInstanceChannel::~DBusInstanceChannel() {
    if (service_ != nullptr && bus_.IsConnected()) {
        bus_.Connection().unregisterObject(QString::fromLatin1(kInstancePath));
        bus_.Connection().unregisterService(name_);
    }
}

bool DBusInstanceChannel::Listen(std::function<std::string()> next) {
    if (!bus_.IsConnected() || service_ != nullptr) {
        return false;
    }
    service_ = std::make_unique<InstanceService>(std::move(next));
    QDBusConnection& connection = bus_.Connection();
    if (!connection.registerObject(QString::fromLatin1(kInstancePath), service_.get(),
                                   QDBusConnection::ExportScriptableSlots)) {
        service_.reset();
        return false;
    }
    // Queued behind a copy of the same folder that runs already: it answers
    // until it ends, then this one does.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        connection.interface()->registerService(name_, QDBusConnectionInterface::QueueService,
                                                QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() != QDBusConnectionInterface::ServiceNotRegistered;
}

InstanceReply DBusInstanceChannel::RequestNext(int timeoutMs) {
    if (!bus_.IsConnected()) {
        return {InstanceAnswer::NoInstance};  // without a bus no Vexlo can be reached
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        name_, QString::fromLatin1(kInstancePath), QString::fromLatin1(kInstanceInterface),
        QStringLiteral("Next"));
    const QDBusMessage reply = bus_.Connection().call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return {InstanceAnswer::Done};
    }
    const QString error = reply.errorName();
    if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        return {InstanceAnswer::NoInstance};
    }
    if (error == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
        error == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
        return {InstanceAnswer::NoAnswer};
    }
    if (error == QLatin1String(kInstanceFailedError)) {
        return {InstanceAnswer::Failed, reply.errorMessage().toStdString()};
    }
    return {InstanceAnswer::Failed,
            "The running Vexlo could not take the request: " + reply.errorMessage().toStdString()};
}

}  // namespace vexlo
