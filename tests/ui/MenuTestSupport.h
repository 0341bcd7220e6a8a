#pragma once

// The main window's two menus, built for a look at their pixels.
#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>
#include <memory>

#include "FakeHost.h"
#include "MainForm.h"
#include "RecordingPlatform.h"
#include "RecordingTrayShell.h"

namespace vexlo::test {

inline const QColor kMenuText(248, 248, 248);
inline const QColor kMenuBorder(112, 112, 160);
inline const QColor kMenuFill(208, 212, 232);
inline const QColor kMenuImage(255, 0, 0);

// A main window in a fresh program folder, on the recording desktop.
class MenuWindow {
public:
    MenuWindow() {
        platform_.SetCanColourIconCaptions(true);  // every item enabled
        MainFormContext context;
        context.platform = &platform_;
        context.trayShell = std::make_shared<RecordingTrayShell>();
        context.programFolder = QDir(folder_.path()).absolutePath().toStdString() + "/";
        context.host = &host_;
        settings_ = std::make_unique<SettingsStore>(context.programFolder + "Vexlo.ini");
        engine_ = std::make_unique<VexloPro>(*settings_, platform_, host_, context.programFolder);
        context.settings = settings_.get();
        context.engine = engine_.get();
        form_ = std::make_unique<TfrmMain>(context);
    }
    QMenu* Tray() const { return form_->mnuTray(); }
    QMenu* Tree() const { return form_->mnuTreeFiles(); }
    static QAction* Action(QMenu* menu, const char* name) {
        return menu->findChild<QAction*>(QLatin1String(name));
    }
    // A 16 x 16 image in one colour, to find where an item puts its image.
    static void SetSolidImage(QAction* action) {
        QPixmap image(16, 16);
        image.fill(kMenuImage);
        action->setIcon(QIcon(image));
    }

private:
    QTemporaryDir folder_;
    RecordingPlatform platform_;
    FakeHost host_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<VexloPro> engine_;
    std::unique_ptr<TfrmMain> form_;
};

// Every pixel of `area` has the colour `colour`.
inline bool AllOf(const QImage& image, const QRect& area, QColor colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != colour.rgb()) {
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
            if (image.pixel(x, y) == colour.rgb()) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

}  // namespace vexlo::test
