#include "WidgetHost.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "ErrorReport.h"

namespace vexlo {

WidgetHost::WidgetHost(QObject* context) : context_(context) {}

void WidgetHost::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WidgetHost::EndBusy() {
    QApplication::restoreOverrideCursor();
}

void WidgetHost::ShowMessage(const std::string& text) {
    const QString message = QString::fromUtf8(text);
    if (!CanShowMessageBoxes()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vexlo"), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void WidgetHost::StartOneShotTimer(int milliseconds, std::function<void()> work) {
    if (context_ == nullptr) {
        return;
    }
    QTimer::singleShot(milliseconds, context_.data(),
                       [work = std::move(work)] { RunGuarded(work); });
}

}  // namespace vexlo
