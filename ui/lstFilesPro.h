#pragma once

#include <QString>
#include <QTreeWidgetItem>
#include <string>
#include <string_view>
#include <vector>

class QStatusBar;
class QTreeWidget;

namespace vexlo {

class DesktopPlatform;
class EngineHost;
class ImageList;
class PreviewImage;
class SettingsStore;

// A node of the picture tree holds its text, its has-children flag and its
// image index (also the selected image), nothing else: every path is rebuilt
// from the node texts (GetNodePath).
inline constexpr int kHasChildrenRole = Qt::UserRole + 1;
inline constexpr int kImageIndexRole = Qt::UserRole + 2;
// The child of a folder that yields nothing.
inline constexpr const char* kNoFilesText = "No files";
// GetCurrentFile without a selected node.
inline constexpr const char* kNoneSelected = "None Selected";

class TreeNode : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    // `image` -1 for none; `images` outlives the node.
    TreeNode(const QString& text, bool hasChildren, int image, const ImageList& images);

    QVariant data(int column, int role) const override;

private:
    const ImageList& images_;
    int image_;
    bool hasChildren_;
};

// Removes every node, then adds one root folder node per key name, in order.
void FillFolderTree(QTreeWidget* tree, const std::vector<std::string>& keyNames,
                    const ImageList& images);

// Replaces the node's children by the folder's current contents: sub-folders,
// then the files named like pictures of the tree's set (a folder named like a
// picture is both), sorted by treeFilesCompare; "No files" when nothing is
// there or the folder cannot be read. Collapses the node; the busy cursor is on
// meanwhile. A selection inside the node moves to the node first.
void LoadFolderNode(QTreeWidgetItem* node, const std::string& folderPath, const ImageList& images,
                    EngineHost& host);

// The node's full path, without a trailing separator: its root's folder from
// [Folders] followed by the texts of the nodes below the root.
std::string GetNodePath(const QTreeWidgetItem* node, const SettingsStore& settings);

// The value of `keyName` in [Folders] with a trailing separator (the bare
// separator when the key is absent).
std::string GetFolderPath(const SettingsStore& settings, const std::string& keyName);

bool IsFolderNode(const QTreeWidgetItem* node);

// The selected node, or none. The tree's current item counts only while it is
// selected: the view makes the first node current when it gets the focus,
// which selects nothing.
QTreeWidgetItem* SelectedNode(const QTreeWidget* tree);

// "None Selected" without a selected node, else its path.
std::string GetCurrentFile(const QTreeWidget* tree, const SettingsStore& settings);

// Node texts compared byte by byte as unsigned values with only "a" to "z"
// folded onto "A" to "Z"; a prefix comes first. <0, 0 or >0.
int CompareNodeTexts(std::string_view a, std::string_view b);

// The sort rule of a folder's children: folders before the rest, then by text.
// True when `a` goes before `b`.
bool treeFilesCompare(const QTreeWidgetItem* a, const QTreeWidgetItem* b);

// Shows the picture fitted into `preview` and describes it in `status`. When
// it cannot be loaded, the error propagates and both keep what they showed.
void PreviewPicture(const std::string& path, PreviewImage& preview, QStatusBar& status,
                    DesktopPlatform& platform);

}  // namespace vexlo
