#include "TrayImageList.h"

namespace vexlo {

QIcon TTrayImageList::GetIcon(int index) const {
    return index >= 0 && index < Count() ? icons_.at(index) : QIcon();
}

void TTrayImageList::Add(const QIcon& icon) {
    icons_.append(icon);
    emit Changed();
}

void TTrayImageList::Replace(int index, const QIcon& icon) {
    if (index >= 0 && index < Count()) {
        icons_[index] = icon;
        emit Changed();
    }
}

void TTrayImageList::Delete(int index) {
    if (index >= 0 && index < Count()) {
        icons_.removeAt(index);
        emit Changed();
    }
}

void TTrayImageList::Clear() {
    if (!icons_.isEmpty()) {
        icons_.clear();
        emit Changed();
    }
}

void TTrayImageList::SetIcons(const QList<QIcon>& icons) {
    icons_ = icons;
    emit Changed();
}

}  // namespace vexlo
