#include "TrayIcon.h"

#include <QTimer>
#include <stdexcept>

namespace vexlo {

namespace {

// The first kMaxToolTipLength characters; a character outside the Basic
// Multilingual Plane counts once and is never split.
QString CutToolTip(const QString& text) {
    qsizetype end = 0;
    for (int chars = 0; end < text.size() && chars < kMaxToolTipLength; ++chars) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return end == text.size() ? text : text.left(end);
}

}  // namespace

TTrayIcon::TTrayIcon(QObject* owner, std::shared_ptr<TrayShell> shell)
    : QObject(owner), shell_(std::move(shell)) {
    if (!shell_) {
        throw std::invalid_argument("The tray icon needs a shell to show itself in.");
    }
    window_ =
        std::make_unique<HiddenWindow>([this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
            return WndProc(message, wParam, lParam);
        });
    timer_ = new QTimer(this);
    timer_->setInterval(animateInterval_);
    connect(timer_, &QTimer::timeout, this, &TTrayIcon::AnimationTick);
}

TTrayIcon::~TTrayIcon() {
    timer_->stop();
    disconnect(imagesWatch_);
    if (active_) {
        HideIcon();
    }
}

void TTrayIcon::setActive(bool value) {
    if (value == active_) {
        return;
    }
    active_ = value;
    // A refused call changes nothing here: the shell has no way to recover.
    if (value) {
        ShowIcon();
    } else {
        HideIcon();
    }
}

void TTrayIcon::setIcon(const QIcon& icon) {
    if (&icon == &icon_) {
        return;
    }
    icon_ = icon;
    iconHandle_ = IconHandle(icon_);
    UpdateIcon();
}

void TTrayIcon::setToolTip(const QString& text) {
    toolTip_ = CutToolTip(text);
    UpdateIcon();
}

void TTrayIcon::FillNotifyData() {
    data_ = NOTIFYICONDATAA{};
    data_.cbSize = sizeof(NOTIFYICONDATAA);
    data_.hWnd = window_->Handle();
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.hIcon = iconHandle_.Value();
    SetNotifyTip(data_, toolTip_);
}

bool TTrayIcon::ShowIcon() {
    FillNotifyData();
    const bool accepted = shell_->Shell_NotifyIconA(NIM_ADD, data_);
    // Some shells ignore an empty tooltip given with the add: hand it over
    // once more when the event loop comes round.
    if (toolTip_.isEmpty()) {
        PostWindowMessage(window_->Handle(), kTrayRewriteTipMessage, 0, 0);
    }
    return accepted;
}

bool TTrayIcon::UpdateIcon() {
    FillNotifyData();
    return active_ ? shell_->Shell_NotifyIconA(NIM_MODIFY, data_) : true;
}

bool TTrayIcon::HideIcon() {
    return shell_->Shell_NotifyIconA(NIM_DELETE, data_);
}

}  // namespace vexlo
