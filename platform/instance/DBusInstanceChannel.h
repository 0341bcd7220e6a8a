#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "Environment.h"
#include "InstanceChannel.h"
#include "shared/SessionBus.h"

namespace vexlo {

// The object path and interface of the running Vexlo on the session bus.
inline constexpr const char* kInstancePath = "/org/vexlo/Vexlo";
inline constexpr const char* kInstanceInterface = "org.vexlo.Vexlo.Instance";
// The error a failed change answers with; its message is the error's text.
inline constexpr const char* kInstanceFailedError = "org.vexlo.Vexlo.Error.ChangeFailed";

// The bus name of the Vexlo that runs on `programFolder`:
// "org.vexlo.Vexlo.i" and 16 hex digits of the folder's SHA-256, so that
// copies in other folders (portable ones) never answer for each other.
std::string InstanceBusName(const std::string& programFolder);

// What the running program exports: Next(), answered when the change ended.
class InstanceService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vexlo.Vexlo.Instance")
public:
    explicit InstanceService(std::function<std::string()> next) : next_(std::move(next)) {}

public slots:
    Q_SCRIPTABLE void Next();

private:
    std::function<std::string()> next_;
};

// The running-instance channel over the session bus (QtDBus): the program
// owns the bus name of its folder; a second process calls Next() on it.
class DBusInstanceChannel : public InstanceChannel {
public:
    DBusInstanceChannel(const Environment& env, const std::string& programFolder);
    ~DBusInstanceChannel() override;

    bool Listen(std::function<std::string()> next) override;
    InstanceReply RequestNext(int timeoutMs) override;

    const QString& BusName() const { return name_; }

private:
    SessionBus bus_;
    QString name_;
    std::unique_ptr<InstanceService> service_;
};

}  // namespace vexlo
