// The options dialog's folder list and its folder browser.
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>

#include "OptionsForm.h"
#include "PathRules.h"
#include "SettingsNames.h"
#include "VexloError.h"
#include "profile/ProfileName.h"
#include "ui_OptionsForm.h"

namespace vexlo {

std::optional<std::string> TfrmOptions::BrowseForFolder(QWidget* owner, const QString& title) {
    // The home folder stands where Windows starts at drive C:; the whole file
    // system can be reached from it.
    QFileDialog dialog(owner, title, QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    // cleanPath drops a trailing separator except the root's.
    return QDir::toNativeSeparators(QDir::cleanPath(dialog.selectedFiles().constFirst()))
        .toStdString();
}

std::optional<std::string> TfrmOptions::Browse(const QString& title) {
    return browse_ ? browse_(this, title) : BrowseForFolder(this, title);
}

void TfrmOptions::AddFolderRow(const std::string& path, bool checked) {
    auto* row = new QListWidgetItem(QString::fromStdString(path), ui_->lstFolders);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TfrmOptions::CheckFolderRow(const std::string& path, const QListWidgetItem* replacing,
                                 const std::string& action) const {
    // A row is saved under its folder's last name: one the settings file
    // cannot hold would make the whole OK fail, and two rows of one name
    // would leave only one of them.
    const std::string key = FolderKeyName(path);
    SettingsStore::CheckEntry(key, path);
    for (int i = 0; i < ui_->lstFolders->count(); ++i) {
        const QListWidgetItem* row = ui_->lstFolders->item(i);
        const std::string other = row->text().toStdString();
        if (row != replacing &&
            ProfileNamesEqual(TrimProfileBlanks(FolderKeyName(other)), TrimProfileBlanks(key))) {
            throw VexloError("Cannot " + action + " " + path + ": the list already holds " + other +
                             ", and both folders would be kept under the one name \"" +
                             std::string(TrimProfileBlanks(key)) +
                             "\". Rename one of the folders first.");
        }
    }
}

void TfrmOptions::btnAddClick() {
    const std::optional<std::string> path =
        Browse(QStringLiteral("Please select a folder to add..."));
    if (!path) {
        return;
    }
    CheckFolderRow(*path, nullptr, "add");
    AddFolderRow(*path, false);
    foldersChanged_ = true;
}

void TfrmOptions::btnEditClick() {
    QListWidgetItem* row = ui_->lstFolders->currentItem();
    if (row == nullptr || !row->isSelected()) {
        return;
    }
    const std::optional<std::string> path =
        Browse(QStringLiteral("Please select new directory..."));
    if (!path) {
        return;
    }
    CheckFolderRow(*path, row, "change the folder to");
    row->setText(QString::fromStdString(*path));
    foldersChanged_ = true;
}

void TfrmOptions::btnRemoveClick() {
    QListWidgetItem* row = ui_->lstFolders->currentItem();
    if (row == nullptr || !row->isSelected()) {
        return;
    }
    const QString text = row->text();
    const auto answer =
        QMessageBox::question(this, QStringLiteral("Confirm"),
                              QStringLiteral("Remove \"%1\" folder from the list?").arg(text),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        return;
    }
    const std::string key = FolderKeyName(text.toStdString());
    try {
        settings_.Update([&](SettingsBatch& batch) {
            batch.DeleteKey(ini::kFolders, key);
            batch.DeleteKey(ini::kUseFolders, key);
        });
    } catch (const VexloError&) {
        // A key delete that fails is ignored, as every key delete is.
    }
    delete ui_->lstFolders->takeItem(ui_->lstFolders->row(row));
    foldersChanged_ = true;
}

void TfrmOptions::MoveSelectedRow(int by) {
    QListWidget* list = ui_->lstFolders;
    QListWidgetItem* row = list->currentItem();
    if (row == nullptr || !row->isSelected()) {
        return;
    }
    const int from = list->row(row);
    const int to = from + by;
    if (to < 0 || to >= list->count()) {
        return;
    }
    list->insertItem(to, list->takeItem(from));
    list->setCurrentItem(row);
    list->setFocus();
    foldersChanged_ = true;
}

void TfrmOptions::btnMoveUpClick() {
    MoveSelectedRow(-1);
}

void TfrmOptions::btnMoveDownClick() {
    MoveSelectedRow(1);
}

}  // namespace vexlo
