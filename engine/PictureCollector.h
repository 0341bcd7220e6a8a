#pragma once

#include <QCollator>
#include <string>
#include <vector>

namespace vexlo {

// The pictures the rotation may choose: full paths, either in the order the
// file system gives them (random mode) or sorted ascending by the locale's
// case-insensitive collation without case-only repeats (sequential mode).
class PictureList {
public:
    explicit PictureList(bool sorted);

    bool Sorted() const { return sorted_; }
    // Appends `path`; a sorted list keeps its order and drops repeats.
    void Add(std::string path);
    // Sorts and drops repeats now (Add defers that work for speed).
    const std::vector<std::string>& Items() const;
    std::size_t Count() const { return Items().size(); }
    // Position of `path`, compared without regard to case; -1 when absent.
    long IndexOf(const std::string& path) const;

private:
    bool sorted_;
    QCollator collator_;
    mutable std::vector<std::string> items_;
    mutable std::size_t settled_ = 0;
};

// True for the extensions the rotation takes: ".bmp", ".gif", ".jpg", ".jpeg",
// without regard to case. ".png" is not one of them.
bool IsRotationPicture(const std::string& name);

// Appends the pictures under `folder` and all its subfolders to `list`.
// Every directory is entered once (by device and inode), so symbolic links and
// bind mounts that loop end; directories that cannot be read are skipped;
// pseudo file systems (/proc, /sys, ...) are not entered. A subdirectory named
// like a picture is both descended into and listed.
void CollectPictures(const std::string& folder, PictureList& list);

}  // namespace vexlo
