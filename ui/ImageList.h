#pragma once

#include <QIcon>
#include <QObject>
#include <QPixmap>
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

    // The program's own icon (every size), for the window and the tray.
    static QIcon ApplicationIcon();

private:
    std::vector<QPixmap> images_;
};

}  // namespace vexlo
