// The tree's handlers, its popup menu and the preview.
#include <QTreeWidget>

#include "MainForm.h"
#include "ui_MainForm.h"

namespace vexlo {

void TfrmMain::ConnectTree() {}
void TfrmMain::treeFilesChange() {}
void TfrmMain::treeFilesExpanding(QTreeWidgetItem*) {}
void TfrmMain::treeFilesDblClick() {}
void TfrmMain::treeFilesKeyPress(QChar) {}
void TfrmMain::treeFilesKeyUp(int, Qt::KeyboardModifiers) {}
void TfrmMain::treeFilesEdited(QTreeWidgetItem*, const QString&) {}
void TfrmMain::mnuTreeFilesPopup(const QPoint&) {}
void TfrmMain::PreviewWallpaper1Click() {}
void TfrmMain::ApplyOptions1Click() {}

}  // namespace vexlo
