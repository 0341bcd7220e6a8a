#pragma once

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <future>
#include <vector>

namespace vexlo {

// The main window's eleven 16 x 16 images, shared by the tree and both menus.
class ImageList : public QObject {
    Q_OBJECT
public:
    enum Index {
        Configuration = 0,
        SetIconsTransparent = 1,
        ChangeWallpaper = 2,
        Autochanging = 3,
        Quit = 4,
        ApplyWallpaper = 5,
        FolderArrowGreen = 6,
        FolderArrowRed = 7,
        PreviewWallpaper = 8,
        Folder = 9,
        ApplyOptions = 10,
    };
    static constexpr int kCount = 11;

    explicit ImageList(QObject* parent = nullptr);

    // The image at `index`, or a null icon for -1 and indexes out of range.
    QIcon Icon(int index) const;
    QPixmap Pixmap(int index) const;

private:
    std::vector<QPixmap> images_;
};

// The program's icon, decoded on a thread of its own from construction on, so
// that a window can make its controls meanwhile; Take() waits for it and gives
// the icon (once).
class ApplicationIconLoader {
public:
    ApplicationIconLoader();
    ~ApplicationIconLoader();
    ApplicationIconLoader(const ApplicationIconLoader&) = delete;
    ApplicationIconLoader& operator=(const ApplicationIconLoader&) = delete;

    QIcon Take();

private:
    std::future<std::vector<QImage>> images_;
};

}  // namespace vexlo
