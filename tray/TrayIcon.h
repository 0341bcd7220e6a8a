#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "HiddenWindow.h"
#include "IconHandle.h"
#include "NotifyIconData.h"
#include "TrayImageList.h"
#include "TrayShell.h"

class QTimer;

namespace vexlo {

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;

// The shell reports the mouse with this message; the other one asks the
// component to hand its tooltip to the shell again.
inline constexpr uint32_t kTrayCallbackMessage = WM_USER + 1;
inline constexpr uint32_t kTrayRewriteTipMessage = WM_USER + 2;
inline constexpr int kMaxToolTipLength = 62;

// One icon with a tooltip in the notification area. It turns the mouse
// reports of the shell into events, opens PopupMenu on a right click, and can
// animate the icon through the images of Images.
//
// The owner (the QObject parent) destroys it; then the icon leaves the
// notification area. The shell is shared so that it outlives the component.
// Property writes follow these rules:
// - Active: a change adds the icon to the shell (true) or removes it (false).
// - Icon, ToolTip: stored; while Active, the shell entry is changed at once.
//   ToolTip keeps at most its first 62 characters. Writing Icon with the
//   component's own Icon object does nothing.
// - Animate: true starts the animation only while Active with a non-empty
//   Images (else it is ignored); false stops it and brings back the icon that
//   showed before. Deactivating does not stop it: ticks then change Icon
//   without reaching the shell.
// - AnimateInterval: milliseconds between frames; 0 or less is ignored.
// - ShowDesigning: Qt Widgets has no design mode: writes are ignored.
// - Images, PopupMenu, OnClick, OnDblClick, OnRightClick: stored. Images and
//   PopupMenu are referenced, not owned; when either is destroyed the reference
//   is cleared (and a running animation stops first, for Images).
// GUI thread only.
class TTrayIcon : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(bool Animate READ Animate WRITE setAnimate)
    Q_PROPERTY(int AnimateInterval READ AnimateInterval WRITE setAnimateInterval)
    Q_PROPERTY(bool ShowDesigning READ ShowDesigning WRITE setShowDesigning)
    Q_PROPERTY(QIcon Icon READ Icon WRITE setIcon)
    Q_PROPERTY(QString ToolTip READ ToolTip WRITE setToolTip)

public:
    // Throws std::invalid_argument without a shell.
    TTrayIcon(QObject* owner, std::shared_ptr<TrayShell> shell);
    ~TTrayIcon() override;
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    bool Active() const { return active_; }
    void setActive(bool value);
    bool Animate() const { return animate_; }
    void setAnimate(bool value);
    int AnimateInterval() const { return animateInterval_; }
    void setAnimateInterval(int milliseconds);
    bool ShowDesigning() const { return false; }
    void setShowDesigning(bool) {}
    const QIcon& Icon() const { return icon_; }
    void setIcon(const QIcon& icon);
    TTrayImageList* Images() const { return images_; }
    void setImages(TTrayImageList* images);
    QString ToolTip() const { return toolTip_; }
    void setToolTip(const QString& text);
    const TNotifyEvent& OnClick() const { return onClick_; }
    void setOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    const TNotifyEvent& OnDblClick() const { return onDblClick_; }
    void setOnDblClick(TNotifyEvent handler) { onDblClick_ = std::move(handler); }
    const TMouseEvent& OnRightClick() const { return onRightClick_; }
    void setOnRightClick(TMouseEvent handler) { onRightClick_ = std::move(handler); }
    QMenu* PopupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }

    // The hidden window that receives the shell's reports; its handle and the
    // identifier 0 name this icon's entry in the shell.
    uint32_t WindowHandle() const { return window_->Handle(); }
    // The notify data as last filled.
    const NOTIFYICONDATAA& NotifyData() const { return data_; }

private:
    void FillNotifyData();
    bool ShowIcon();
    bool UpdateIcon();
    bool HideIcon();
    intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void PopupAtCursor();
    void AnimationTick();
    void ImagesDestroyed();

    std::shared_ptr<TrayShell> shell_;
    std::unique_ptr<HiddenWindow> window_;
    NOTIFYICONDATAA data_;
    bool active_ = false;
    bool animate_ = false;
    int animateInterval_ = 100;
    QIcon icon_;
    IconHandle iconHandle_;
    QIcon savedIcon_;
    int frameIndex_ = 0;
    QTimer* timer_ = nullptr;
    QPointer<TTrayImageList> images_;
    QMetaObject::Connection imagesWatch_;
    QString toolTip_;
    TNotifyEvent onClick_;
    TNotifyEvent onDblClick_;
    TMouseEvent onRightClick_;
    QPointer<QMenu> popupMenu_;
};

}  // namespace vexlo
