#include "ApplyOptionsForm.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QFont>
#include <QPalette>
#include <algorithm>

#include "ErrorReport.h"
#include "IconCaptionControls.h"
#include "SettingsNames.h"
#include "WindowFont.h"
#include "WindowsColour.h"
#include "profile/ProfileName.h"
#include "ui_ApplyOptionsForm.h"

namespace vexlo {

namespace {

constexpr int kWidth = 297;
constexpr int kHeight = 194;
constexpr int kButtonTop = 160;
// Room for the note that an item's name is taken by the folder list.
constexpr int kNoteHeight = 34;

}  // namespace

QColor ScreenColour(std::int32_t colour, const QPalette& palette) {
    return ColourRefToQColor(static_cast<ColourRef>(colour), palette);
}

std::int32_t SettingsColour(const QColor& colour) {
    return static_cast<std::int32_t>(ColourRefFromQColor(colour));
}

TfrmApplyOptions::TfrmApplyOptions(SettingsStore& settings, QWidget* owner)
    : QDialog(owner), ui_(std::make_unique<Ui::TfrmApplyOptions>()), settings_(settings) {
    ui_->setupUi(this);
    setFont(WindowFont());
    setFixedSize(kWidth, kHeight);
    // The check box lies over the group's caption and hides it; it is no member
    // of the group, so the styles stay usable whether it is ticked or not.
    ui_->chkUseSpecificStretching->raise();
    // The swatch has no caption of its own: screen readers name it by its label.
    ui_->lblColour->setBuddy(ui_->shapeColour);

    methods_ = new QButtonGroup(this);
    methods_->addButton(ui_->rbCentre, 0);
    methods_->addButton(ui_->rbTile, 1);
    methods_->addButton(ui_->rbStretch, 2);
    SetIconCaptionColour(0);

    connect(ui_->Change, &QPushButton::clicked, this,
            Guarded(this, &TfrmApplyOptions::ChangeClick));
    connect(ui_->btnOK, &QPushButton::clicked, this, Guarded(this, &TfrmApplyOptions::btnOKClick));
    connect(ui_->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->btnDelete, &QPushButton::clicked, this,
            Guarded(this, &TfrmApplyOptions::btnDeleteClick));
}

TfrmApplyOptions::~TfrmApplyOptions() = default;

int TfrmApplyOptions::Open(QWidget* owner, SettingsStore& settings, const DesktopPlatform& desktop,
                           const std::string& sectionName) {
    const SettingsView file = settings.View();
    const bool transparent = file.ReadBool(ini::kSettings, ini::kTransparentIcons, false);
    const std::int32_t colour = file.ReadInteger(ini::kSettings, ini::kIconTextColour, 16777215);
    const std::int32_t style = file.ReadInteger(ini::kSettings, ini::kDefaultTileMethod, 0);

    TfrmApplyOptions dialog(settings, owner);
    dialog.SetSectionName(sectionName);
    dialog.ui_->chkIcons->setChecked(
        file.ReadBool(sectionName, ini::kUseTransparentIcons, transparent));
    dialog.SetIconCaptionColour(file.ReadInteger(sectionName, ini::kIconCaption, colour));
    dialog.ui_->chkUseSpecificStretching->setChecked(
        file.ReadBool(sectionName, ini::kUseSpecificApply, false));
    dialog.SetApplicationMethod(file.ReadInteger(sectionName, ini::kApplyMethod, style));
    if (!desktop.CanColourIconCaptions()) {
        dialog.DisableIconCaptionControls();
    }
    return dialog.exec();
}

void TfrmApplyOptions::DisableIconCaptionControls() {
    DisableIconCaptionControl(ui_->chkIcons);
    DisableIconCaptionControl(ui_->lblColour);
    DisableIconCaptionControl(ui_->shapeColour);
    DisableIconCaptionControl(ui_->Change);
}

void TfrmApplyOptions::SetSectionName(const std::string& name) {
    sectionName_ = name;
    setWindowTitle(QString::fromStdString(name));

    // [Folders] and [Use Folders] list one key per picture folder: the four
    // per-item keys written there would turn up as folders, and the options
    // dialog rewrites both lists anyway. Such an item only shows its options.
    const bool taken = NameTakenByFolderList();
    ui_->lblNote->setText(
        taken ? tr("\"%1\" is the name of Vexlo's list of folders, so this item cannot "
                   "keep options of its own.")
                    .arg(QString::fromStdString(std::string(TrimProfileBlanks(name))))
              : QString());
    ui_->lblNote->setVisible(taken);
    ui_->btnOK->setEnabled(!taken);
    ui_->btnDelete->setEnabled(!taken);
    const int grow = taken ? kNoteHeight : 0;
    for (QPushButton* button : {ui_->btnOK, ui_->btnCancel, ui_->btnDelete}) {
        button->move(button->x(), kButtonTop + grow);
    }
    setFixedSize(kWidth, kHeight + grow);
}

bool TfrmApplyOptions::NameTakenByFolderList() const {
    const std::string_view name = TrimProfileBlanks(sectionName_);
    return ProfileNamesEqual(name, ini::kFolders) || ProfileNamesEqual(name, ini::kUseFolders);
}

void TfrmApplyOptions::SetIconCaptionColour(std::int32_t colour) {
    swatchColour_ = colour;
    QPalette palette = ui_->shapeColour->palette();
    palette.setColor(QPalette::Window, ScreenColour(colour, palette));
    ui_->shapeColour->setPalette(palette);
}

int TfrmApplyOptions::ApplicationMethod() const {
    return methods_->checkedId();
}

void TfrmApplyOptions::SetApplicationMethod(int index) {
    index = std::clamp(index, -1, 2);
    if (index >= 0) {
        methods_->button(index)->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go.
    methods_->setExclusive(false);
    for (QAbstractButton* button : methods_->buttons()) {
        button->setChecked(false);
    }
    methods_->setExclusive(true);
}

void TfrmApplyOptions::ChangeClick() {
    QColorDialog dialog(colorDialogColour_, this);
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    colorDialogColour_ = dialog.selectedColor();
    SetIconCaptionColour(SettingsColour(colorDialogColour_));
}

void TfrmApplyOptions::btnOKClick() {
    if (NameTakenByFolderList()) {
        return;
    }
    // Every key on every OK, so the section holds what the dialog showed. A
    // refused write ends the handler here: the dialog stays open.
    settings_.WriteInteger(sectionName_, ini::kIconCaption, swatchColour_);
    settings_.WriteBool(sectionName_, ini::kUseTransparentIcons, ui_->chkIcons->isChecked());
    settings_.WriteBool(sectionName_, ini::kUseSpecificApply,
                        ui_->chkUseSpecificStretching->isChecked());
    settings_.WriteInteger(sectionName_, ini::kApplyMethod, ApplicationMethod());
    accept();
}

void TfrmApplyOptions::btnDeleteClick() {
    if (NameTakenByFolderList()) {
        return;
    }
    // For an item named like one of the program's own sections only the
    // per-item keys go; the program's settings stay.
    settings_.EraseItemSection(sectionName_);
    reject();
}

}  // namespace vexlo
