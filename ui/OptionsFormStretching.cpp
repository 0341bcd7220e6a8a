// The options dialog's track bars: their labels and the coupling of the two
// smaller-picture thresholds.
#include <QLabel>
#include <QSlider>
#include <cmath>

#include "OptionsForm.h"
#include "ui_OptionsForm.h"

namespace vexlo {

QString TfrmOptions::PixelSizeText(int percent) {
    const DesktopSize size = platform_.GetDesktopSize();
    // nearbyint rounds a half to the even neighbour: 1366 at 75% gives 1024.
    const double part = percent / 100.0;
    return QStringLiteral("(%1x%2)")
        .arg(static_cast<long long>(std::nearbyint(size.width * part)))
        .arg(static_cast<long long>(std::nearbyint(size.height * part)));
}

void TfrmOptions::trkLargerStretchChange() {
    ui_->lblLargerStretchSize->setText(QString::number(ui_->trkLargerStretch->value()) + "%");
}

void TfrmOptions::trkSmallerStretchChange() {
    const int p = ui_->trkSmallerStretch->value();
    ui_->lblStretchSize->setText(PixelSizeText(p));
    ui_->lblSmallerStretch->setText(QString::number(p) + "% of desktop");
    if (p < ui_->trkSmallerTile->value()) {
        ui_->trkSmallerTile->setValue(p);
    }
}

void TfrmOptions::trkSmallerTileChange() {
    const int p = ui_->trkSmallerTile->value();
    ui_->lblTileSize->setText(PixelSizeText(p));
    ui_->lblSmallerTile->setText(QString::number(p) + "% of desktop");
    if (ui_->trkSmallerStretch->value() < p) {
        ui_->trkSmallerStretch->setValue(p);
    }
}

}  // namespace vexlo
