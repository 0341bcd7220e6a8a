#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "DesktopPlatform.h"
#include "SettingsStore.h"

namespace Ui {
class OptionsScreensPage;
}

namespace vexlo {

// The options dialog's "Screens" tab: the screens as the desktop reports them
// when the dialog opens, and whether each screen shows the same picture or a
// picture of its own. With fewer than two screens the choice stays visible,
// disabled, with a note saying why.
class OptionsScreensPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsScreensPage(QWidget* parent = nullptr);
    ~OptionsScreensPage() override;

    const Ui::OptionsScreensPage& Form() const { return *ui_; }

    // [Screens] "Different Pictures" (default false: a file without it shows
    // the same picture everywhere) and the screens to draw.
    void Load(const SettingsView& view, const std::vector<ScreenInfo>& screens);
    // Writes the choice only when it differs from the one loaded or the key was
    // already there, so a file saved unchanged keeps its sections as they were
    // and an earlier Vexlo reads it the same.
    void Save(SettingsBatch& batch) const;

private:
    std::unique_ptr<Ui::OptionsScreensPage> ui_;
    bool loadedDifferent_ = false;
    bool keyExisted_ = false;
};

}  // namespace vexlo
