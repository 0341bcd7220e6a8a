#include "PreviewImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace vexlo {

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void PreviewImage::SetPicture(const QImage& picture) {
    picture_ = picture;
    Rescale();
    update();
}

void PreviewImage::Clear() {
    SetPicture(QImage());
}

QRect PreviewImage::PictureRect() const {
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        return {};
    }
    const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PreviewImage::Rescale() {
    const QRect target = PictureRect();
    if (target.isEmpty()) {
        scaled_ = QImage();
        return;
    }
    // Scaled once per picture and size, in device pixels, so that painting
    // only copies and a high-density screen shows the full detail.
    const qreal ratio = devicePixelRatioF();
    scaled_ =
        picture_.scaled(target.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled_.setDevicePixelRatio(ratio);
}

void PreviewImage::paintEvent(QPaintEvent*) {
    if (scaled_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(PictureRect().topLeft(), scaled_);
}

void PreviewImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}

void PreviewImage::resizeEvent(QResizeEvent*) {
    Rescale();
}

}  // namespace vexlo
