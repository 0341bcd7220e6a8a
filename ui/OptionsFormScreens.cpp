// The options dialog's "Screens" tab.
#include "OptionsFormScreens.h"

#include <QLabel>
#include <QRadioButton>
#include <algorithm>

#include "ScreenLayoutWidget.h"
#include "SettingsNames.h"
#include "profile/ProfileName.h"
#include "ui_OptionsFormScreens.h"

namespace vexlo {

OptionsScreensPage::OptionsScreensPage(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::OptionsScreensPage>()) {
    ui_->setupUi(this);
    // Every control is found by its caption (the group titles without their blanks).
    ui_->grpScreenLayout->setAccessibleName(QStringLiteral("Screen Layout"));
    ui_->grpWallpaper->setAccessibleName(QStringLiteral("Wallpaper"));
    ui_->rdoSamePicture->setAccessibleName(ui_->rdoSamePicture->text());
    ui_->rdoDifferentPictures->setAccessibleName(ui_->rdoDifferentPictures->text());
}

OptionsScreensPage::~OptionsScreensPage() = default;

void OptionsScreensPage::Load(const SettingsView& view, const std::vector<ScreenInfo>& screens) {
    ui_->ScreenLayout->SetScreens(screens);
    const auto keys = view.ReadSection(ini::kScreens);
    keyExisted_ = std::any_of(keys.begin(), keys.end(), [](const std::string& key) {
        return ProfileNamesEqual(key, ini::kDifferentPictures);
    });
    loadedDifferent_ = view.ReadBool(ini::kScreens, ini::kDifferentPictures, false);
    ui_->rdoDifferentPictures->setChecked(loadedDifferent_);
    ui_->rdoSamePicture->setChecked(!loadedDifferent_);

    // The choice is kept for when more screens are connected, but cannot be
    // made for one screen or none.
    const std::size_t count = ui_->ScreenLayout->Screens().size();
    const bool several = count >= 2;
    ui_->rdoSamePicture->setEnabled(several);
    ui_->rdoDifferentPictures->setEnabled(several);
    QString note;
    if (count == 1) {
        note =
            QStringLiteral("Only one screen is connected. The choice applies when there are more.");
    } else if (count == 0) {
        note = QStringLiteral("The choice applies when two or more screens are connected.");
    }
    ui_->lblScreensNote->setText(note);
    ui_->lblScreensNote->setAccessibleName(note);
    ui_->lblScreensNote->setVisible(!several);
}

void OptionsScreensPage::Save(SettingsBatch& batch) const {
    const bool different = ui_->rdoDifferentPictures->isChecked();
    if (keyExisted_ || different != loadedDifferent_) {
        batch.WriteBool(ini::kScreens, ini::kDifferentPictures, different);
    }
}

}  // namespace vexlo
