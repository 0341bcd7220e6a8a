// The options dialog's icon caption colour: the swatch, the colour dialog and "Set Now".
#include <QColorDialog>

#include "OptionsForm.h"
#include "WindowsColour.h"
#include "ui_OptionsForm.h"

namespace vexlo {

void TfrmOptions::SetSwatchColour(ColourRef colour) {
    swatch_ = colour;
    QPalette palette = ui_->shapeColour->palette();
    palette.setColor(QPalette::Window, ColourRefToQColor(colour, ui_->shapeColour->palette()));
    ui_->shapeColour->setPalette(palette);
}

void TfrmOptions::ChangeClick() {
    // Qt keeps one set of custom colours for the whole program; this dialog's
    // own set stands in it only while the colour dialog is open.
    std::array<QColor, 16> outside;
    for (int i = 0; i < 16; ++i) {
        outside[i] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, customColours_[i]);
    }
    QColorDialog dialog(dialogColour_, this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i) {
        customColours_[i] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, outside[i]);
    }
    if (chosen) {
        dialogColour_ = dialog.selectedColor();
        SetSwatchColour(ColourRefFromQColor(dialogColour_));
    }
}

void TfrmOptions::Button5Click() {
    platform_.SetDesktopIconColours(swatch_);
}

}  // namespace vexlo
