#pragma once

// The main window's two menus, built for a look at their pixels.
#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "FakeHost.h"
#include "MainForm.h"
#include "RecordingTrayShell.h"
#include "recording/RecordingPlatform.h"

// Readable values in the failure messages.
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "QRect(" << r.x() << ", " << r.y() << " " << r.width() << "x" << r.height() << ")";
}
inline void PrintTo(const QColor& c, std::ostream* os) {
    *os << "RGB(" << c.red() << ", " << c.green() << ", " << c.blue() << ")";
}
inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "(" << p.x() << ", " << p.y() << ")";
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << "x" << s.height();
}

namespace vexlo::test {

// A main window in a fresh program folder, on the recording desktop.
class MenuWindow {
public:
    MenuWindow() {
        MainFormContext context;
        context.platform = &platform_;
        context.trayShell = std::make_shared<RecordingTrayShell>();
        context.programFolder = QDir(folder_.path()).absolutePath().toStdString() + "/";
        context.executablePath = context.programFolder + "Vexlo";
        context.host = &host_;
        form_ = std::make_unique<TfrmMain>(context);
    }
    TfrmMain& Form() { return *form_; }
    QAction* Action(QMenu* menu, const char* name) const {
        for (QAction* a : menu->actions()) {
            if (a->objectName() == QLatin1String(name)) {
                return a;
            }
        }
        return nullptr;
    }

private:
    QTemporaryDir folder_;
    RecordingPlatform platform_;
    FakeHost host_;
    std::unique_ptr<TfrmMain> form_;
};

// A 16 x 16 image in one colour, to find where an item puts its image.
inline QIcon SolidIcon(QColor colour) {
    QPixmap image(16, 16);
    image.fill(colour);
    return QIcon(image);
}

// Every pixel of `area` in `image` has the colour `colour`.
inline bool AllOf(const QImage& image, const QRect& area, QColor colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).rgb() != colour.rgb()) {
                return false;
            }
        }
    }
    return true;
}

// The bounding box of the pixels in `colour` within `area`.
inline QRect InkOf(const QImage& image, const QRect& area, QColor colour) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb()) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

}  // namespace vexlo::test
