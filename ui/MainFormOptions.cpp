// The main window's "Options" button.
#include <QTreeWidget>

#include "MainForm.h"
#include "OptionsForm.h"
#include "SettingsNames.h"
#include "lstFilesPro.h"
#include "ui_MainForm.h"

namespace vexlo {

void TfrmMain::btnOptionsClick() {
    // A dialog of its own for each opening, released when this handler ends.
    OptionsContext context;
    context.settings = settings_;
    context.platform = platform_;
    context.executablePath = executablePath_;
    TfrmOptions dialog(context, this);
    dialog.exec();
    // However the dialog closed, Cancel included: Remove has written at once.
    const std::vector<std::string> folders = settings_->ReadSection(ini::kFolders);
    // An empty tree is refilled too: folders added by "addfolder" since then show.
    if (dialog.FoldersChanged() || ui_->treeFiles->topLevelItemCount() == 0) {
        FillFolderTree(ui_->treeFiles, folders, *imageList_);
    }
    // The timer follows the file; the hot key follows its setting at the next start.
    ArmTimerFromSettings();
}

}  // namespace vexlo
