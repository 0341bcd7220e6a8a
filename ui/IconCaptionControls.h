#pragma once

#include <QAction>
#include <QString>
#include <QWidget>

namespace vexlo {

// Most desktops draw their icon captions themselves, and there the controls
// that colour them would do nothing. Such a control is disabled and says why;
// its value stays as loaded, so an OK saves it unchanged.
inline QString NoIconCaptionColoursNote() {
    return QStringLiteral(
        "This desktop draws its own icon captions: Vexlo cannot change their colours.");
}

template <class Control>
void DisableIconCaptionControl(Control* control) {
    control->setEnabled(false);
    control->setToolTip(NoIconCaptionColoursNote());
}

}  // namespace vexlo
