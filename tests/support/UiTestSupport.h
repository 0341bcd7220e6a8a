#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace vexlo::test {

// The errors reported through ReportError since the last Take (the ui tests'
// main installs the sink that fills it).
QStringList& ReportedErrors();
inline QStringList TakeReportedErrors() {
    QStringList taken = ReportedErrors();
    ReportedErrors().clear();
    return taken;
}

// Runs `act` on the next modal widget to appear (a message box, a dialog), so
// that a test can answer it; gives up after `timeoutMs`.
inline void WhenModal(std::function<void(QWidget*)> act, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += 10;
        if (modal != nullptr || *waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (modal != nullptr) {
                act(modal);
            }
        }
    });
    timer->start();
}

// Clicks the message box button with the given role (Yes, No, Ok...).
inline void AnswerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    WhenModal([button, text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            return;
        }
        if (text != nullptr) {
            *text = box->windowTitle() + QLatin1Char('|') + box->text();
        }
        if (QAbstractButton* b = box->button(button)) {
            b->click();
        } else {
            box->reject();
        }
    });
}

}  // namespace vexlo::test
