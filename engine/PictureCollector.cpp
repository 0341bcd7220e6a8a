#include "PictureCollector.h"

#include <QLocale>
#include <algorithm>
#include <numeric>
#include <set>
#include <utility>

#include "PathRules.h"
#include "PictureKinds.h"
#include "listing/FolderListing.h"
#include "profile/ProfileText.h"

namespace vexlo {

namespace {

// Case is folded before collating, so that paths differing only in case are
// equal whatever the locale's collator makes of case (the C locale keeps it).
QString Folded(const std::string& path) {
    return QString::fromStdString(path).toCaseFolded();
}

}  // namespace

PictureList::PictureList(bool sorted) : sorted_(sorted), collator_(QLocale()) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

void PictureList::Add(std::string path) {
    items_.push_back(std::move(path));
}

const std::vector<std::string>& PictureList::Items() const {
    if (!sorted_ || settled_ == items_.size()) {
        return items_;
    }
    // One sort key per path, then a stable sort: of paths equal without regard
    // to case, the first one added is kept.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(items_.size());
    for (const std::string& item : items_) {
        keys.push_back(collator_.sortKey(Folded(item)));
    }
    std::vector<std::size_t> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(items_.size());
    const QCollatorSortKey* last = nullptr;
    for (std::size_t index : order) {
        if (last != nullptr && last->compare(keys[index]) == 0) {
            continue;
        }
        last = &keys[index];
        sorted.push_back(std::move(items_[index]));
    }
    items_ = std::move(sorted);
    settled_ = items_.size();
    return items_;
}

long PictureList::IndexOf(const std::string& path) const {
    const auto& items = Items();
    const QString wanted = Folded(path);
    const auto same = [&](const std::string& item) {
        return collator_.compare(Folded(item), wanted) == 0;
    };
    if (sorted_) {
        auto it = std::lower_bound(items.begin(), items.end(), wanted,
                                   [&](const std::string& item, const QString& value) {
                                       return collator_.compare(Folded(item), value) < 0;
                                   });
        return it != items.end() && same(*it) ? static_cast<long>(it - items.begin()) : -1;
    }
    const auto it = std::find_if(items.begin(), items.end(), same);
    return it != items.end() ? static_cast<long>(it - items.begin()) : -1;
}

bool IsRotationPicture(const std::string& name) {
    return IsInPictureSet(PictureSet::Rotation, name);
}

namespace {

// Every directory is entered once, by its identity, so that symbolic links and
// bind mounts that loop end; pseudo file systems are never entered.
class Collector {
public:
    explicit Collector(PictureList& list) : list_(list) {}

    bool Enter(const FolderEntry& folder) {
        return folder.isDirectory && !folder.isPseudoFileSystem &&
               visited_.insert({folder.device, folder.inode}).second;
    }

    // `folder` ends with a separator. A subdirectory named like a picture is
    // both descended into and listed.
    void Walk(const std::string& folder) {
        std::vector<FolderEntry> entries;
        if (!ListFolder(folder, entries)) {
            return;  // unreadable: skipped
        }
        for (const FolderEntry& entry : entries) {
            const bool enter = Enter(entry);
            const bool picture = IsRotationPicture(entry.name);
            if (!enter && !picture) {
                continue;  // most entries: no path is built for them
            }
            std::string path = folder + entry.name;
            if (enter) {
                Walk(IncludeTrailingSeparator(path));
            }
            // A path the settings file cannot remember (a line break in a
            // name, or longer than a value can be) would be shown again at
            // every step: it is left out.
            if (picture && path.size() <= kProfileValueLimit &&
                path.find_first_of("\r\n") == std::string::npos) {
                list_.Add(std::move(path));
            }
        }
    }

private:
    PictureList& list_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> visited_;
};

}  // namespace

void CollectPictures(const std::string& folder, PictureList& list) {
    Collector collector(list);
    FolderEntry top;
    if (ReadFolderEntry(folder, top) && collector.Enter(top)) {
        collector.Walk(IncludeTrailingSeparator(folder));
    }
}

}  // namespace vexlo
