// The main window's "Options" button.
#include <QTreeWidget>

#include "MainForm.h"
#include "OptionsForm.h"
#include "lstFilesPro.h"
#include "ui_MainForm.h"

namespace vexlo {

void TfrmMain::btnOptionsClick() {
    // 1, 2. One dialog per opening, shown modally, closed whichever way.
    OptionsContext context;
    context.settings = settings_.get();
    context.platform = platform_;
    context.executablePath = executablePath_;
    TfrmOptions dialog(context, this);
    dialog.exec();
    // 3. The folder list, after Cancel too: Remove writes at once.
    const std::vector<std::string> folders = settings_->ReadSection("Folders");
    // An empty tree is refilled too: folders added by "addfolder" since then show.
    if (dialog.FoldersChanged() || ui_->treeFiles->topLevelItemCount() == 0) {
        FillFolderTree(ui_->treeFiles, folders, *imageList_);
    }
    // 4. The timer; the hot key follows its setting at the next start.
    ArmTimerFromSettings();
}  // 5. The dialog is released here.

}  // namespace vexlo
