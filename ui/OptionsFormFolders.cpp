// The options dialog's folder list and its folder browser.
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>

#include "OptionsForm.h"
#include "PathRules.h"
#include "VexloError.h"
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

void TfrmOptions::btnAddClick() {
    const std::optional<std::string> path =
        Browse(QStringLiteral("Please select a folder to add..."));
    if (!path) {
        return;
    }
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
            batch.DeleteKey("Folders", key);
            batch.DeleteKey("Use Folders", key);
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
