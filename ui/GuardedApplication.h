#pragma once

#include <QApplication>

namespace vexlo {

// The application object. Every event passes through notify(); whatever a
// handler raises (a widget, a timer, the tray, the hot key) ends that handler,
// is reported through ReportError, and the program goes on. No exception
// crosses Qt's event loop.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vexlo
