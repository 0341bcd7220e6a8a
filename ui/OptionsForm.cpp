// The options dialog: creation, loading and saving. The folder list, the colour
// and the track bars have files of their own.
#include "OptionsForm.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "ErrorReport.h"
#include "IconCaptionControls.h"
#include "OptionsFormScreens.h"
#include "PathRules.h"
#include "SettingsNames.h"
#include "ui_OptionsForm.h"

namespace vexlo {

std::string RunValueFor(const std::string& executable) {
    return executable + " change";
}

std::string VerbCommandFor(const std::string& executable, const char* verb) {
    return "\"" + executable + " \" \"" + verb + "\" \"%1\"";
}

namespace {

std::string CommandKey(const char* verbKey) {
    return std::string(verbKey) + "\\command";
}

// The registry value that a check box stands for: written when ticked, else deleted.
void SaveRunValue(DesktopPlatform& platform, bool ticked, const std::string& executable) {
    if (ticked) {
        platform.WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, kRunValueName,
                                     RunValueFor(executable));
    } else {
        platform.DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, kRunValueName);
    }
}

void SaveVerb(DesktopPlatform& platform, bool ticked, const char* verbKey,
              const std::string& command) {
    if (ticked) {
        platform.WriteRegistryString(RegistryRoot::LocalMachine, CommandKey(verbKey), "", command);
    } else {
        platform.DeleteRegistryKey(RegistryRoot::LocalMachine, verbKey);
    }
}

}  // namespace

TfrmOptions::TfrmOptions(const OptionsContext& context, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TfrmOptions>()),
      settings_(*context.settings),
      platform_(*context.platform),
      executable_(context.executablePath),
      browse_(context.browseForFolder) {
    customColours_.fill(QColor(Qt::white));  // how Qt shows a custom colour not yet set
    ui_->setupUi(this);
    screens_ = new OptionsScreensPage(this);
    ui_->PageControl1->addTab(screens_, QStringLiteral("Screens"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // A check box or radio button may shrink below its caption when a long
    // text elsewhere needs the room; the dialog grows instead.
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        QSizePolicy policy = button->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Minimum);
        button->setSizePolicy(policy);
    }
    tileMethod_ = new QButtonGroup(this);
    tileMethod_->addButton(ui_->rdoCentre, 0);
    tileMethod_->addButton(ui_->rdoTile, 1);
    tileMethod_->addButton(ui_->rdoStretch, 2);
    NameForAccessibility();
    ApplyIconCaptionCapability();
    // The labels as they stand for the bars' first position, 0, so that a
    // loaded 0 (no change, so no change rule) still shows its texts.
    trkLargerStretchChange();
    trkSmallerStretchChange();
    trkSmallerTileChange();
    ConnectHandlers();
    FormCreate();
    ui_->PageControl1->setCurrentIndex(0);
}

TfrmOptions::~TfrmOptions() = default;

void TfrmOptions::ConnectHandlers() {
    auto click = [this](QAbstractButton* button, void (TfrmOptions::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, Guarded(this, handler));
    };
    click(ui_->btnOK, &TfrmOptions::btnOKClick);
    connect(ui_->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    click(ui_->Change, &TfrmOptions::ChangeClick);
    click(ui_->Button5, &TfrmOptions::Button5Click);
    click(ui_->btnAdd, &TfrmOptions::btnAddClick);
    click(ui_->btnEdit, &TfrmOptions::btnEditClick);
    click(ui_->btnRemove, &TfrmOptions::btnRemoveClick);
    click(ui_->btnMoveUp, &TfrmOptions::btnMoveUpClick);
    click(ui_->btnMoveDown, &TfrmOptions::btnMoveDownClick);
    auto bar = [this](QSlider* slider, void (TfrmOptions::*handler)()) {
        connect(slider, &QSlider::valueChanged, this,
                [this, handler](int) { RunGuarded([&] { (this->*handler)(); }); });
    };
    bar(ui_->trkLargerStretch, &TfrmOptions::trkLargerStretchChange);
    bar(ui_->trkSmallerStretch, &TfrmOptions::trkSmallerStretchChange);
    bar(ui_->trkSmallerTile, &TfrmOptions::trkSmallerTileChange);
}

void TfrmOptions::NameForAccessibility() {
    // Buttons, check boxes and labels give their own text to screen readers,
    // the value labels beside the track bars too, as it changes: none of them
    // gets a fixed name. Group captions and tab pages are named without the
    // blanks around their captions.
    for (QGroupBox* group : findChildren<QGroupBox*>()) {
        group->setAccessibleName(group->title().trimmed());
    }
    for (int i = 0; i < ui_->PageControl1->count(); ++i) {
        ui_->PageControl1->widget(i)->setAccessibleName(ui_->PageControl1->tabText(i).trimmed());
    }
    // The controls without a caption of their own are named by the words
    // beside them: a label's through its buddy, a check box's by its caption.
    ui_->lblColour->setBuddy(ui_->shapeColour);
    ui_->lblMinutes->setBuddy(ui_->spnTimer);
    ui_->lstFolders->setAccessibleName(ui_->PageControl1->tabText(0).trimmed());
    ui_->trkSmallerTile->setAccessibleName(ui_->chkSmallerTile->text());
    ui_->trkSmallerStretch->setAccessibleName(ui_->chkSmallerStretch->text());
    ui_->trkLargerStretch->setAccessibleName(ui_->chkLargerDeformation->text());
}

void TfrmOptions::ApplyIconCaptionCapability() {
    if (platform_.CanColourIconCaptions()) {
        return;
    }
    DisableIconCaptionControl(ui_->chkIcons);
    DisableIconCaptionControl(ui_->lblColour);
    DisableIconCaptionControl(ui_->shapeColour);
    DisableIconCaptionControl(ui_->Change);
    DisableIconCaptionControl(ui_->Button5);
}

void TfrmOptions::FormCreate() {
    const SettingsView view = settings_.View();
    // The folders, each row ending in a separator, ticked unless switched off.
    for (const std::string& key : view.ReadSection(ini::kFolders)) {
        AddFolderRow(IncludeTrailingSeparator(view.ReadString(ini::kFolders, key, "")),
                     view.ReadBool(ini::kUseFolders, key, true));
    }
    // Start-up.
    ui_->chkChangeWallpaper->setChecked(view.ReadBool(ini::kStartup, ini::kChangeWallpaper, false));
    const bool random = view.ReadBool(ini::kStartup, ini::kRandom, true);
    ui_->rdoRandom->setChecked(random);
    ui_->rdoSequential->setChecked(!random);
    // The log-on value and the file manager items, recognised only by their exact text.
    ui_->chkLoad->setChecked(platform_.ReadRegistryString(RegistryRoot::CurrentUser, kRunKey,
                                                          kRunValueName,
                                                          "not set") == RunValueFor(executable_));
    ui_->chkApplyWithVexlo->setChecked(
        platform_.ReadRegistryString(RegistryRoot::LocalMachine, CommandKey(kApplyVerbKey), "",
                                     "not set") == VerbCommandFor(executable_, "apply"));
    ui_->chkAddToVexlo->setChecked(
        platform_.ReadRegistryString(RegistryRoot::LocalMachine, CommandKey(kAddVerbKey), "",
                                     "not set") == VerbCommandFor(executable_, "addfolder"));
    // The hot key, ticked when absent: start-up registers it then, and an
    // unticked box would switch a working key off at the next OK.
    ui_->chkUseCtrlAltC->setChecked(view.ReadBool(ini::kHotKeys, ini::kCtrlAltC, true));
    // Where the key is bound outside Vexlo, the box says where.
    if (const std::string note = platform_.GlobalHotKeyNote(); !note.empty()) {
        auto* label = new QLabel(QString::fromStdString(note), ui_->grpHotkeys);
        label->setObjectName(QStringLiteral("lblHotkeyNote"));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAccessibleName(label->text());
        ui_->layHotkeys->addWidget(label);
    }
    // Timer, icons, the swatch.
    ui_->chkTimer->setChecked(view.ReadBool(ini::kSettings, ini::kUseTimer, false));
    ui_->spnTimer->SetValue(view.ReadInteger(ini::kSettings, ini::kTimerTime, 10));
    ui_->chkIcons->setChecked(view.ReadBool(ini::kSettings, ini::kTransparentIcons, false));
    SetSwatchColour(static_cast<ColourRef>(
        view.ReadInteger(ini::kSettings, ini::kIconTextColour,
                         static_cast<std::int32_t>(kDesktopBackgroundColour))));
    // The default style.
    SetDefTileMethod(view.ReadInteger(ini::kSettings, ini::kDefaultTileMethod, 0));
    // The size rules; each bar's change rule runs as it moves, the stretch bar
    // first, so that a tile size above it pushes it up.
    ui_->chkLargerShrink->setChecked(view.ReadBool(ini::kLarger, ini::kStretchWallpaper, false));
    ui_->chkLargerDeformation->setChecked(view.ReadBool(ini::kDeform, ini::kUseDeform, false));
    ui_->trkLargerStretch->setValue(view.ReadInteger(ini::kDeform, ini::kDeformSize, 15));
    ui_->chkSmallerStretch->setChecked(view.ReadBool(ini::kSmaller, ini::kStretchWallpaper, false));
    ui_->chkSmallerTile->setChecked(view.ReadBool(ini::kSmaller, ini::kTileWallpaper, false));
    ui_->trkSmallerStretch->setValue(view.ReadInteger(ini::kSmaller, ini::kStretchSize, 75));
    ui_->trkSmallerTile->setValue(view.ReadInteger(ini::kSmaller, ini::kTileSize, 75));
    // The screens, read as the dialog opens, and the choice of pictures for them.
    screens_->Load(view, platform_.GetScreens());
}

void TfrmOptions::btnOKClick() {
    // The folder list and the start-up choices in one update: the folder list
    // is written whole or not at all.
    settings_.Update([&](SettingsBatch& batch) {
        std::vector<std::pair<std::string, std::string>> folders;
        std::vector<std::pair<std::string, std::string>> flags;
        for (int i = 0; i < ui_->lstFolders->count(); ++i) {
            const QListWidgetItem* row = ui_->lstFolders->item(i);
            const std::string path = row->text().toStdString();
            const std::string key = FolderKeyName(path);
            folders.emplace_back(key, path);
            flags.emplace_back(key, row->checkState() == Qt::Checked ? "1" : "0");
        }
        batch.EraseSection(ini::kUseFolders);  // both erased before either is written
        batch.WriteSection(ini::kFolders, folders);
        batch.WriteSection(ini::kUseFolders, flags);
        batch.WriteBool(ini::kStartup, ini::kChangeWallpaper, ui_->chkChangeWallpaper->isChecked());
        batch.WriteBool(ini::kStartup, ini::kRandom, ui_->rdoRandom->isChecked());
    });
    // The log-on value and the file manager items, written or removed on every OK.
    SaveRunValue(platform_, ui_->chkLoad->isChecked(), executable_);
    SaveVerb(platform_, ui_->chkApplyWithVexlo->isChecked(), kApplyVerbKey,
             VerbCommandFor(executable_, "apply"));
    SaveVerb(platform_, ui_->chkAddToVexlo->isChecked(), kAddVerbKey,
             VerbCommandFor(executable_, "addfolder"));
    // What the field shows is what is stored: "007" becomes 7, an empty field 0.
    ui_->spnTimer->SetValue(ui_->spnTimer->Value());
    // The desktop's own binding of the key, where it keeps one; a failure
    // stops here like a failed registry write.
    platform_.StoreGlobalHotKey(ui_->chkUseCtrlAltC->isChecked());
    // The rest in one update.
    settings_.Update([&](SettingsBatch& batch) {
        batch.WriteBool(ini::kHotKeys, ini::kCtrlAltC, ui_->chkUseCtrlAltC->isChecked());
        batch.WriteBool(ini::kSettings, ini::kUseTimer, ui_->chkTimer->isChecked());
        batch.WriteInteger(ini::kSettings, ini::kTimerTime, ui_->spnTimer->Value());
        batch.WriteInteger(ini::kSettings, ini::kDefaultTileMethod, DefTileMethod());
        batch.WriteBool(ini::kSettings, ini::kTransparentIcons, ui_->chkIcons->isChecked());
        batch.WriteInteger(ini::kSettings, ini::kIconTextColour,
                           static_cast<std::int32_t>(swatch_));
        batch.WriteBool(ini::kLarger, ini::kStretchWallpaper, ui_->chkLargerShrink->isChecked());
        batch.WriteBool(ini::kDeform, ini::kUseDeform, ui_->chkLargerDeformation->isChecked());
        batch.WriteInteger(ini::kDeform, ini::kDeformSize, ui_->trkLargerStretch->value());
        batch.WriteBool(ini::kSmaller, ini::kStretchWallpaper, ui_->chkSmallerStretch->isChecked());
        batch.WriteBool(ini::kSmaller, ini::kTileWallpaper, ui_->chkSmallerTile->isChecked());
        batch.WriteInteger(ini::kSmaller, ini::kStretchSize, ui_->trkSmallerStretch->value());
        batch.WriteInteger(ini::kSmaller, ini::kTileSize, ui_->trkSmallerTile->value());
        screens_->Save(batch);
    });
    accept();
}

int TfrmOptions::DefTileMethod() const {
    return tileMethod_->checkedId();
}

void TfrmOptions::SetDefTileMethod(int index) {
    index = std::clamp(index, -1, 2);
    if (index < 0) {
        // An exclusive group never lets its last button go: release it for a moment.
        tileMethod_->setExclusive(false);
        for (QAbstractButton* button : tileMethod_->buttons()) {
            button->setChecked(false);
        }
        tileMethod_->setExclusive(true);
        return;
    }
    tileMethod_->button(index)->setChecked(true);
}

}  // namespace vexlo
