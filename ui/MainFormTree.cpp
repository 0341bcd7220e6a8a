// The tree's handlers, its popup menu and the preview.
#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <memory>
#include <optional>
#include <utility>

#include "ApplyOptionsForm.h"
#include "ErrorReport.h"
#include "MainForm.h"
#include "PathRules.h"
#include "SettingsNames.h"
#include "VexloError.h"
#include "files/RenameNoReplace.h"
#include "lstFilesPro.h"
#include "ui_MainForm.h"

namespace vexlo {

namespace {

// Hands the events of the tree and of its viewport to the window before they
// see them.
class EventHook : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> hook)
        : QObject(parent), hook_(std::move(hook)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return hook_(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> hook_;
};

// The label editor's delegate: a committed text goes to the rename handler
// instead of into the node, which changes only when the rename succeeded.
class LabelDelegate : public QStyledItemDelegate {
public:
    using Commit = std::function<void(const QModelIndex&, const QString&)>;
    LabelDelegate(QObject* parent, Commit commit)
        : QStyledItemDelegate(parent), commit_(std::move(commit)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor_ = qobject_cast<QLineEdit*>(editor);
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            commit_(index, line->text());
        }
    }
    // The editor made last, while it lives.
    QLineEdit* Editor() const { return editor_; }

private:
    Commit commit_;
    mutable QPointer<QLineEdit> editor_;
};

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find(PathSeparator()) == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

void TfrmMain::ConnectTree() {
    QTreeWidget* tree = ui_->treeFiles;
    openDefault_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    connect(tree, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunGuarded([this] { treeFilesChange(); }); });
    connect(tree, &QTreeWidget::itemExpanded, this, Guarded(this, &TfrmMain::treeFilesExpanding));
    connect(tree, &QTreeWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { treeFilesDblClick(); }); });
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this] { RunGuarded([this] { ShowTreeMenu(); }); });
    connect(ui_->imgPreview, &PreviewImage::doubleClicked, this,
            Guarded(this, &TfrmMain::PreviewWallpaper1Click));
    auto* hook = new EventHook(
        this, [this](QObject* watched, QEvent* event) { return TreeEvent(watched, event); });
    hook->setObjectName(QStringLiteral("treeFilesHook"));
    tree->installEventFilter(hook);
    tree->viewport()->installEventFilter(hook);
    // The committed text is kept until the editor is gone: a message box shown
    // while it is open would take its focus and commit it a second time.
    auto pending = std::make_shared<std::optional<std::pair<QPersistentModelIndex, QString>>>();
    auto* delegate =
        new LabelDelegate(tree, [pending](const QModelIndex& index, const QString& text) {
            pending->emplace(index, text);
        });
    tree->setItemDelegate(delegate);
    // The edit ends here whether committed or cancelled; the view has let go
    // of the editor by now.
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this, pending] {
        EndLabelEdit();
        if (auto edit = std::exchange(*pending, std::nullopt)) {
            RunGuarded(
                [&] { treeFilesEdited(ui_->treeFiles->itemFromIndex(edit->first), edit->second); });
        }
    });
}

void TfrmMain::DisconnectTree() {
    // The tree and the preview outlive this part of the window while it is
    // destroyed: nothing they do from here on may reach the handlers.
    delete findChild<QObject*>(QStringLiteral("treeFilesHook"), Qt::FindDirectChildrenOnly);
    disconnect(ui_->treeFiles, nullptr, this, nullptr);
    disconnect(ui_->treeFiles->itemDelegate(), nullptr, this, nullptr);
    disconnect(ui_->imgPreview, nullptr, this, nullptr);
}

bool TfrmMain::TreeEvent(QObject* watched, QEvent* event) {
    QTreeWidget* tree = ui_->treeFiles;
    if (watched == tree->viewport()) {
        // A double click on a node reaches treeFilesDblClick through the
        // tree's own signal; one on the empty space below the nodes applies
        // the selected picture all the same.
        if (event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                tree->itemAt(mouse->position().toPoint()) == nullptr) {
                RunGuarded([this] { treeFilesDblClick(); });
                return true;
            }
        }
        return false;
    }
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        RunGuarded([this] { ShowTreeMenuAtSelection(); });
        return true;
    }
    if (event->type() == QEvent::KeyPress && keyPressAttached_) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Shift+F10 is the Menu key's stand-in on keyboards without one.
        if (key->key() == Qt::Key_F10 &&
            (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) ==
                Qt::ShiftModifier) {
            RunGuarded([this] { ShowTreeMenuAtSelection(); });
            return true;
        }
        QChar typed;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            typed = QChar(13);
        } else if (key->text() == QStringLiteral(" ")) {
            typed = QChar(32);
        } else {
            return false;
        }
        RunGuarded([&] { treeFilesKeyPress(typed); });
        return true;
    }
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            RunGuarded([&] { treeFilesKeyUp(key->key(), key->modifiers()); });
        }
    }
    return false;
}

void TfrmMain::treeFilesChange() {
    QTreeWidgetItem* node = SelectedNode(ui_->treeFiles);
    if (node == nullptr) {
        return;
    }
    if (IsFolderNode(node)) {
        const bool active =
            settings_->ReadBool(ini::kUseFolders, node->text(0).toStdString(), true);
        ui_->StatusBar1->showMessage(
            QString::fromStdString(GetNodePath(node, *settings_)) +
            (active ? QStringLiteral(" | Active") : QStringLiteral(" | Not Active")));
        return;
    }
    if (ui_->chkPreview->isChecked()) {
        const std::string path = GetCurrentFile(ui_->treeFiles, *settings_);
        if (QFileInfo(QString::fromStdString(path)).isFile()) {
            PreviewPicture(path, *ui_->imgPreview, *ui_->StatusBar1, *platform_);
        }
    }
}

void TfrmMain::treeFilesExpanding(QTreeWidgetItem* node) {
    // Putting the node back open below runs this again: that one is ours.
    if (expanding_) {
        return;
    }
    expanding_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{expanding_};
    LoadFolderNode(node, GetNodePath(node, *settings_), *imageList_, *host_);
    node->setExpanded(true);
}

void TfrmMain::treeFilesDblClick() {
    QTreeWidgetItem* node = SelectedNode(ui_->treeFiles);
    if (node == nullptr || IsFolderNode(node)) {
        return;
    }
    const std::string path = GetCurrentFile(ui_->treeFiles, *settings_);
    if (QFileInfo(QString::fromStdString(path)).isFile()) {
        engine_->ApplyWallpaper(path, engine_->WallpaperBitmap());
    }
}

void TfrmMain::treeFilesKeyPress(QChar key) {
    if (key == QChar(13)) {
        treeFilesDblClick();
    } else if (key == QChar(32)) {
        PreviewPicture(GetCurrentFile(ui_->treeFiles, *settings_), *ui_->imgPreview,
                       *ui_->StatusBar1, *platform_);
    }
}

void TfrmMain::treeFilesKeyUp(int key, Qt::KeyboardModifiers shift) {
    QTreeWidgetItem* selected = SelectedNode(ui_->treeFiles);
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // An empty tree has no node to select: Shift+F5 refills it all the same, so
    // a folder added meanwhile ("addfolder") shows without a restart.
    if (selected == nullptr && !(ui_->treeFiles->topLevelItemCount() == 0 && key == Qt::Key_F5 &&
                                 held == Qt::ShiftModifier)) {
        return;
    }
    if (key == Qt::Key_F5 && held == Qt::ShiftModifier) {
        FillFolderTree(ui_->treeFiles, settings_->ReadSection(ini::kFolders), *imageList_);
    } else if (key == Qt::Key_F5) {
        QTreeWidgetItem* folder = IsFolderNode(selected) ? selected : selected->parent();
        if (folder == nullptr) {
            return;
        }
        const bool expanded = folder->isExpanded();
        LoadFolderNode(folder, GetNodePath(folder, *settings_), *imageList_, *host_);
        if (expanded) {
            // Runs the expansion rule: the folder is read a second time.
            folder->setExpanded(true);
        }
    } else if (key == Qt::Key_F2) {
        BeginLabelEdit(selected);
    }
}

void TfrmMain::BeginLabelEdit(QTreeWidgetItem* node) {
    keyPressAttached_ = false;
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    ui_->treeFiles->editItem(node);
    // A picture's name is offered without its extension, as file managers do,
    // so that typing a new name keeps the picture a picture.
    const auto* delegate = static_cast<const LabelDelegate*>(ui_->treeFiles->itemDelegate());
    if (QLineEdit* editor = delegate->Editor(); editor != nullptr && !IsFolderNode(node)) {
        const qsizetype dot = editor->text().lastIndexOf(QLatin1Char('.'));
        if (dot > 0) {
            editor->setSelection(0, static_cast<int>(dot));
        }
    }
}

void TfrmMain::EndLabelEdit() {
    for (QTreeWidgetItemIterator it(ui_->treeFiles); *it != nullptr; ++it) {
        if ((*it)->flags() & Qt::ItemIsEditable) {
            (*it)->setFlags((*it)->flags() & ~Qt::ItemIsEditable);
        }
    }
    keyPressAttached_ = true;
}

void TfrmMain::treeFilesEdited(QTreeWidgetItem* node, const QString& text) {
    if (node == nullptr || text == node->text(0)) {
        return;
    }
    const std::string name = text.toStdString();
    const std::string oldPath = GetNodePath(node, *settings_);
    if (node->parent() == nullptr) {
        // Its folder would drop out of [Folders], out of the tree and out of
        // the rotation; the options window is where a picture folder changes.
        throw VexloError("Cannot rename \"" + node->text(0).toStdString() +
                         "\": it is one of the picture folders. Change it with Options.");
    }
    if (!IsPlainName(name)) {
        throw VexloError("Cannot rename \"" + node->text(0).toStdString() + "\" to \"" + name +
                         "\": a name must not be empty, \".\" or \"..\" nor hold \"" +
                         PathSeparator() + "\".");
    }
    const std::string newPath = oldPath.substr(0, oldPath.rfind(PathSeparator()) + 1) + name;
    const std::string reason = RenameNoReplace(oldPath, newPath);
    if (!reason.empty()) {
        throw VexloError("Cannot rename " + oldPath + " to " + newPath + ": " + reason);
    }
    node->setText(0, text);
}

void TfrmMain::ShowTreeMenu() {
    const QPoint global = QCursor::pos();
    mnuTreeFilesPopup(ui_->treeFiles->viewport()->mapFromGlobal(global));
    mnuTreeFiles_->exec(global);
}

void TfrmMain::ShowTreeMenuAtSelection() {
    // From the keyboard the pointer may be anywhere: the menu opens on the
    // selected node and names it (at the tree's corner when none is selected).
    QTreeWidget* tree = ui_->treeFiles;
    QTreeWidgetItem* selected = SelectedNode(tree);
    QPoint at(0, 0);
    if (selected != nullptr) {
        tree->scrollToItem(selected);
        const QRect row = tree->visualItemRect(selected);
        at = QPoint(row.left() + row.height(), row.center().y());
    }
    SetUpTreeMenu(selected);
    mnuTreeFiles_->exec(tree->viewport()->mapToGlobal(at));
}

void TfrmMain::mnuTreeFilesPopup(const QPoint& treePosition) {
    SetUpTreeMenu(ui_->treeFiles->itemAt(treePosition));
}

void TfrmMain::SetUpTreeMenu(QTreeWidgetItem* node) {
    QTreeWidget* tree = ui_->treeFiles;
    if (node != nullptr) {
        tree->setCurrentItem(node);
        QString caption = node->text(0);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        ApplyWallpaper1->setText(QStringLiteral("Apply \"%1\"").arg(caption));
    }
    QTreeWidgetItem* selected = SelectedNode(tree);
    // Without a node every item would act on nothing.
    const bool picture = selected != nullptr && !IsFolderNode(selected);
    ApplyWallpaper1->setEnabled(picture);
    PreviewWallpaper1->setEnabled(picture);
    ApplyOptions1->setEnabled(selected != nullptr);
}

void TfrmMain::PreviewWallpaper1Click() {
    if (SelectedNode(ui_->treeFiles) == nullptr) {
        return;
    }
    const std::string path = GetCurrentFile(ui_->treeFiles, *settings_);
    if (!openDefault_(QUrl::fromLocalFile(QString::fromStdString(path)))) {
        throw VexloError("Cannot open " + path +
                         ": no program for opening it could be started (on Linux, xdg-open "
                         "from xdg-utils starts the desktop's default program).");
    }
}

void TfrmMain::ApplyOptions1Click() {
    if (QTreeWidgetItem* node = SelectedNode(ui_->treeFiles)) {
        TfrmApplyOptions::Open(this, *settings_, *platform_, node->text(0).toStdString());
    }
}

}  // namespace vexlo
