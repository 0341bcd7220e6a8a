#pragma once

#include <QImage>
#include <QWidget>

namespace vexlo {

// The preview: a picture scaled up or down to fit, proportions kept, centred,
// smoothly. Transparent where the picture does not cover it, so that the
// panel's caption shows while there is no picture.
class PreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewImage(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    void Clear();
    const QImage& Picture() const { return picture_; }
    // Where the picture is drawn, in the widget's coordinates (empty without one).
    QRect PictureRect() const;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rescale();

    QImage picture_;
    QImage scaled_;
};

}  // namespace vexlo
