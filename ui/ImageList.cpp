#include "ImageList.h"

#include <QImageReader>
#include <utility>

// The images are compiled into the windows' static library, whose resources
// must be registered by hand before the first use.
static void RegisterImages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(ui);
        return true;
    }();
    (void)registered;
}

namespace vexlo {

namespace {

// The compiled-in images are all PNG: the reader is told so, rather than
// asking every image plugin about each file as QPixmap(path) and
// QIcon::addFile do, which cost more than the decoding at start-up.
QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

}  // namespace

ImageList::ImageList(QObject* parent) : QObject(parent) {
    RegisterImages();
    for (int i = 0; i < kCount; ++i) {
        QPixmap image = QPixmap::fromImage(
            ReadPng(QStringLiteral(":/images/list/%1.png").arg(i, 2, 10, QLatin1Char('0'))));
        if (image.isNull()) {
            image = QPixmap(16, 16);
            image.fill(Qt::transparent);
        }
        images_.push_back(image);
    }
}

QIcon ImageList::Icon(int index) const {
    const QPixmap image = Pixmap(index);
    return image.isNull() ? QIcon() : QIcon(image);
}

QPixmap ImageList::Pixmap(int index) const {
    if (index < 0 || index >= static_cast<int>(images_.size())) {
        return {};
    }
    return images_[static_cast<std::size_t>(index)];
}

ApplicationIconLoader::ApplicationIconLoader() {
    RegisterImages();
    images_ = std::async(std::launch::async, [] {
        std::vector<QImage> images;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QImage image = ReadPng(QStringLiteral(":/images/vexlo-%1.png").arg(size));
            if (!image.isNull()) {
                images.push_back(std::move(image));
            }
        }
        return images;
    });
}

ApplicationIconLoader::~ApplicationIconLoader() {
    if (images_.valid()) {
        images_.wait();
    }
}

QIcon ApplicationIconLoader::Take() {
    QIcon icon;
    if (images_.valid()) {
        // Pixmaps belong to the GUI thread: only the decoding ran beside it.
        for (const QImage& image : images_.get()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

}  // namespace vexlo
