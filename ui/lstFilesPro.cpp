#include "lstFilesPro.h"

#include <QTreeWidget>

#include "ImageList.h"

namespace vexlo {

void FillFolderTree(QTreeWidget* tree, const std::vector<std::string>& keyNames,
                    const ImageList& images) {
    tree->clear();
    for (const std::string& name : keyNames) {
        auto* node = new QTreeWidgetItem(tree, {QString::fromUtf8(name)});
        node->setIcon(0, images.Icon(ImageList::Folder));
        node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
}

}  // namespace vexlo
