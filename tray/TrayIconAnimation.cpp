// The animation: Icon cycles through the images of Images.
#include <QTimer>

#include "TrayIcon.h"

namespace vexlo {

void TTrayIcon::setAnimate(bool value) {
    if (value) {
        // A second start would save an animation frame over the icon to come
        // back to: a running animation goes on unchanged.
        if (animate_ || !images_ || images_->Count() < 1 || !active_) {
            return;
        }
        animate_ = true;
        savedIcon_ = icon_;
        frameIndex_ = 0;
        timer_->start();
        return;
    }
    const bool wasRunning = animate_;
    animate_ = false;
    timer_->stop();
    if (wasRunning) {
        setIcon(savedIcon_);
    }
}

void TTrayIcon::setAnimateInterval(int milliseconds) {
    if (milliseconds <= 0) {
        return;
    }
    animateInterval_ = milliseconds;
    timer_->setInterval(milliseconds);
}

void TTrayIcon::setImages(TTrayImageList* images) {
    disconnect(imagesWatch_);
    images_ = images;
    if (images) {
        imagesWatch_ = connect(images, &QObject::destroyed, this, &TTrayIcon::ImagesDestroyed);
    }
}

void TTrayIcon::ImagesDestroyed() {
    setAnimate(false);
    images_ = nullptr;
}

void TTrayIcon::AnimationTick() {
    // Images taken away or emptied while running: nothing is left to show, so
    // the animation ends as if switched off.
    if (!images_ || images_->Count() == 0) {
        setAnimate(false);
        return;
    }
    const int count = images_->Count();
    frameIndex_ = frameIndex_ >= count - 1 ? 0 : frameIndex_ + 1;
    const QIcon frame = images_->GetIcon(frameIndex_);
    setIcon(frame);
}

}  // namespace vexlo
