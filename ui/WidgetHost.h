#pragma once

#include <QObject>
#include <QPointer>

#include "EngineHost.h"

namespace vexlo {

// The engine's host in the windows: the application-wide busy cursor, the
// information box, and one-shot timers bound to `context`, so that none fires
// after its owner is gone.
class WidgetHost : public EngineHost {
public:
    explicit WidgetHost(QObject* context);

    void BeginBusy() override;
    void EndBusy() override;
    void ShowMessage(const std::string& text) override;
    void StartOneShotTimer(int milliseconds, std::function<void()> work) override;

private:
    QPointer<QObject> context_;
};

}  // namespace vexlo
