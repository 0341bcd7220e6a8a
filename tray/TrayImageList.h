#pragma once

#include <QIcon>
#include <QList>
#include <QObject>

namespace vexlo {

// The frames of a tray icon's animation: a list of icons that tells when its
// contents change (Changed) and, being a QObject, when it is destroyed.
class TTrayImageList : public QObject {
    Q_OBJECT
public:
    explicit TTrayImageList(QObject* owner = nullptr) : QObject(owner) {}

    int Count() const { return static_cast<int>(icons_.size()); }
    // A copy of the icon at index; a null icon when index is out of range.
    QIcon GetIcon(int index) const;
    const QList<QIcon>& Icons() const { return icons_; }

    void Add(const QIcon& icon);
    // Out-of-range indexes change nothing.
    void Replace(int index, const QIcon& icon);
    void Delete(int index);
    void Clear();
    void SetIcons(const QList<QIcon>& icons);

signals:
    void Changed();

private:
    QList<QIcon> icons_;
};

}  // namespace vexlo
