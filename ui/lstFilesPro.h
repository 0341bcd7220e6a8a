#pragma once

#include <string>
#include <vector>

class QTreeWidget;

namespace vexlo {

class ImageList;

// Removes every node, then adds one root folder node per key name, in order.
void FillFolderTree(QTreeWidget* tree, const std::vector<std::string>& keyNames,
                    const ImageList& images);

}  // namespace vexlo
