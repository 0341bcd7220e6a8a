#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>
#include <memory>
#include <vector>

#include "RecordingTrayShell.h"
#include "TrayIcon.h"

namespace vexlo::test {

// A 16 x 16 icon of one colour; every call makes a distinct icon.
inline QIcon ColourIcon(const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Runs what the event loop has queued, deferred deletions included.
inline void Drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A tray icon over a recording shell.
class TrayFixture : public ::testing::Test {
protected:
    std::shared_ptr<RecordingTrayShell> shell = std::make_shared<RecordingTrayShell>();
    std::unique_ptr<TTrayIcon> tray = std::make_unique<TTrayIcon>(nullptr, shell);

    uint32_t Window() const { return tray->WindowHandle(); }
    bool Mouse(uint32_t message) { return shell->SendMouse(Window(), 0, message); }

    std::vector<uint32_t> Messages() const {
        std::vector<uint32_t> out;
        for (const auto& call : shell->Calls()) {
            out.push_back(call.message);
        }
        return out;
    }
    const RecordingTrayShell::Call& LastCall() const { return shell->Calls().back(); }
    QString EntryTip() const { return shell->FindEntry(Window())->tip; }

    void TearDown() override { Drain(); }
};

}  // namespace vexlo::test
