#include "ImageList.h"

#include <QFile>

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

ImageList::ImageList(QObject* parent) : QObject(parent) {
    RegisterImages();
    for (int i = 0; i < kCount; ++i) {
        QPixmap image(QStringLiteral(":/images/list/%1.png").arg(i, 2, 10, QLatin1Char('0')));
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

QIcon ImageList::ApplicationIcon() {
    RegisterImages();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral(":/images/vexlo-%1.png").arg(size);
        if (QFile::exists(name)) {
            icon.addFile(name, QSize(size, size));
        }
    }
    return icon;
}

}  // namespace vexlo
