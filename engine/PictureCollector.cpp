#include "PictureCollector.h"

#include <dirent.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <QLocale>
#include <algorithm>
#include <numeric>
#include <set>
#include <utility>

#include "PathRules.h"
#include "PictureKinds.h"
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

void PictureList::Add(const std::string& path) {
    items_.push_back(path);
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

bool IsPseudoFileSystem(const std::string& path) {
    struct statfs fs {};
    if (statfs(path.c_str(), &fs) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(fs.f_type)) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEVPTS_SUPER_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case BPF_FS_MAGIC:
        case PSTOREFS_MAGIC:
        case 0x62656570:  // configfs
        case 0x65735543:  // fusectl
            return true;
        default:
            return false;
    }
}

class Collector {
public:
    explicit Collector(PictureList& list) : list_(list) {}

    // `folder` ends with a separator.
    void Walk(const std::string& folder, dev_t parentDevice) {
        struct stat self {};
        if (stat(folder.c_str(), &self) != 0 || !S_ISDIR(self.st_mode)) {
            return;
        }
        if (!visited_.insert({self.st_dev, self.st_ino}).second) {
            return;
        }
        if (self.st_dev != parentDevice && IsPseudoFileSystem(folder)) {
            return;
        }
        for (const auto& [name, type] : ReadEntries(folder)) {
            const std::string path = folder + name;
            if (IsDirectory(path, type)) {
                Walk(path + '/', self.st_dev);
            }
            // A path the settings file cannot remember (a line break in a
            // name, or longer than a value can be) would be shown again at
            // every step: it is left out.
            if (IsRotationPicture(name) && path.size() <= kProfileValueLimit &&
                path.find_first_of("\r\n") == std::string::npos) {
                list_.Add(path);
            }
        }
    }

private:
    // The whole listing first, so that only one directory is open at a time
    // however deep the tree goes.
    static std::vector<std::pair<std::string, unsigned char>> ReadEntries(
        const std::string& folder) {
        std::vector<std::pair<std::string, unsigned char>> entries;
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) {
            return entries;
        }
        while (const dirent* entry = readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            entries.emplace_back(name, entry->d_type);
        }
        closedir(dir);
        return entries;
    }

    static bool IsDirectory(const std::string& path, unsigned char type) {
        if (type == DT_DIR) {
            return true;
        }
        if (type != DT_LNK && type != DT_UNKNOWN) {
            return false;
        }
        struct stat target {};
        return stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    }

    PictureList& list_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

void CollectPictures(const std::string& folder, PictureList& list) {
    Collector(list).Walk(IncludeTrailingSeparator(folder), static_cast<dev_t>(-1));
}

}  // namespace vexlo
