#include "lstFilesPro.h"

#include <QStatusBar>
#include <QTreeWidget>
#include <algorithm>

#include "DesktopPlatform.h"
#include "EngineHost.h"
#include "ImageList.h"
#include "PathRules.h"
#include "PictureDecoding.h"
#include "PictureKinds.h"
#include "PictureStatus.h"
#include "PreviewImage.h"
#include "SettingsNames.h"
#include "SettingsStore.h"
#include "listing/FolderListing.h"

namespace vexlo {

namespace {

unsigned char Folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

// What a loaded folder's child is before it becomes a node.
struct Child {
    std::string name;
    bool folder;
};

bool ChildLess(const Child& a, const Child& b) {
    if (a.folder != b.folder) {
        return a.folder;
    }
    return CompareNodeTexts(a.name, b.name) < 0;
}

bool IsInside(const QTreeWidgetItem* item, const QTreeWidgetItem* node) {
    for (const QTreeWidgetItem* p = item ? item->parent() : nullptr; p != nullptr;
         p = p->parent()) {
        if (p == node) {
            return true;
        }
    }
    return false;
}

}  // namespace

TreeNode::TreeNode(const QString& text, bool hasChildren, int image, const ImageList& images)
    : QTreeWidgetItem(QStringList{text}, kType),
      images_(images),
      image_(image),
      hasChildren_(hasChildren) {
    if (hasChildren) {
        // Opened before its children are read.
        setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
}

QVariant TreeNode::data(int column, int role) const {
    if (role == kHasChildrenRole) {
        return hasChildren_;
    }
    if (role == kImageIndexRole) {
        return image_;
    }
    if (role == Qt::DecorationRole && column == 0) {
        return image_ < 0 ? QVariant() : QVariant(images_.Pixmap(image_));
    }
    return QTreeWidgetItem::data(column, role);
}

void FillFolderTree(QTreeWidget* tree, const std::vector<std::string>& keyNames,
                    const ImageList& images) {
    tree->clear();
    QList<QTreeWidgetItem*> roots;
    roots.reserve(static_cast<qsizetype>(keyNames.size()));
    for (const std::string& name : keyNames) {
        roots.append(new TreeNode(QString::fromStdString(name), true, ImageList::Folder, images));
    }
    tree->addTopLevelItems(roots);
}

void LoadFolderNode(QTreeWidgetItem* node, const std::string& folderPath, const ImageList& images,
                    EngineHost& host) {
    BusyScope busy(host);
    const std::string folder = IncludeTrailingSeparator(folderPath);
    if (QTreeWidget* tree = node->treeWidget()) {
        if (IsInside(tree->currentItem(), node)) {
            tree->setCurrentItem(node);
        }
    }
    node->setExpanded(false);
    qDeleteAll(node->takeChildren());

    std::vector<FolderEntry> entries;
    ListFolder(folder, entries);  // an unreadable folder lists nothing
    std::vector<Child> children;
    children.reserve(entries.size());
    for (FolderEntry& entry : entries) {
        if (entry.isDirectory) {
            children.push_back({entry.name, true});
        }
    }
    // The name alone decides: a folder named like a picture is listed again.
    for (FolderEntry& entry : entries) {
        if (IsInPictureSet(PictureSet::Tree, entry.name)) {
            children.push_back({std::move(entry.name), false});
        }
    }
    std::stable_sort(children.begin(), children.end(), ChildLess);

    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(std::max<std::size_t>(children.size(), 1)));
    for (const Child& child : children) {
        items.append(new TreeNode(QString::fromStdString(child.name), child.folder,
                                  child.folder ? ImageList::Folder : ImageList::PreviewWallpaper,
                                  images));
    }
    if (items.isEmpty()) {
        items.append(new TreeNode(QString::fromLatin1(kNoFilesText), false, -1, images));
    }
    node->addChildren(items);
}

std::string GetFolderPath(const SettingsStore& settings, const std::string& keyName) {
    return IncludeTrailingSeparator(settings.ReadString(ini::kFolders, keyName, ""));
}

std::string GetNodePath(const QTreeWidgetItem* node, const SettingsStore& settings) {
    std::string tail;
    while (node->parent() != nullptr) {
        tail = node->text(0).toStdString() + PathSeparator() + tail;
        node = node->parent();
    }
    return ExcludeTrailingSeparator(GetFolderPath(settings, node->text(0).toStdString()) + tail);
}

bool IsFolderNode(const QTreeWidgetItem* node) {
    return node != nullptr && node->data(0, kHasChildrenRole).toBool();
}

QTreeWidgetItem* SelectedNode(const QTreeWidget* tree) {
    QTreeWidgetItem* node = tree->currentItem();
    return node != nullptr && node->isSelected() ? node : nullptr;
}

std::string GetCurrentFile(const QTreeWidget* tree, const SettingsStore& settings) {
    const QTreeWidgetItem* node = SelectedNode(tree);
    return node == nullptr ? std::string(kNoneSelected) : GetNodePath(node, settings);
}

int CompareNodeTexts(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool treeFilesCompare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return ChildLess({a->text(0).toStdString(), IsFolderNode(a)},
                     {b->text(0).toStdString(), IsFolderNode(b)});
}

void PreviewPicture(const std::string& path, PreviewImage& preview, QStatusBar& status,
                    DesktopPlatform& platform) {
    LoadedPreview picture = LoadPreviewPicture(path, preview.size());
    const DesktopSize desktop = platform.GetDesktopSize();
    preview.SetPicture(picture.image);
    status.showMessage(PictureStatusLine(picture.width, picture.height, picture.bytes,
                                         desktop.width, desktop.height));
}

}  // namespace vexlo
