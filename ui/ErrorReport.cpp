#include "ErrorReport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

namespace vexlo {
namespace {

ErrorSink& Sink() {
    static ErrorSink sink;
    return sink;
}

}  // namespace

bool CanShowMessageBoxes() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void ReportError(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
    if (Sink()) {
        Sink()(text);
    } else if (CanShowMessageBoxes()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Vexlo"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
}

void ReportError(const std::exception& error) {
    ReportError(QString::fromUtf8(error.what()));
}

ErrorSink SetErrorSink(ErrorSink sink) {
    ErrorSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace vexlo
