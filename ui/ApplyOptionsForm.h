#pragma once

#include <QColor>
#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "DesktopPlatform.h"
#include "SettingsStore.h"

class QButtonGroup;
class QPalette;

namespace Ui {
class TfrmApplyOptions;
}

namespace vexlo {

// A colour as the settings file stores it (0x00BBGGRR, or 0x80000000 plus a
// system colour index) as it looks on screen. System colours come from the
// palette's matching role; those without one (the desktop background among
// them) have a fixed stand-in.
QColor ScreenColour(std::int32_t colour, const QPalette& palette);
// The settings file's form of a colour chosen on screen: 0x00BBGGRR.
std::int32_t SettingsColour(const QColor& colour);

// The per-item apply options of one folder or one picture: its own placement
// style and its own desktop icon caption colours, kept in the settings section
// named after the item. Nothing is applied here; the engine reads the section
// at the next apply and the next icon refresh.
class TfrmApplyOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmApplyOptions(SettingsStore& settings, QWidget* owner = nullptr);
    ~TfrmApplyOptions() override;

    // Opens the dialog for the item called `sectionName` (a tree node's text),
    // loaded from its section with the global settings as defaults, and shows
    // it modally. Returns the dialog's result: Accepted after OK, Rejected
    // after Cancel, Esc, the close box or Delete. The icon caption controls
    // are disabled where `desktop` cannot colour icon captions.
    static int Open(QWidget* owner, SettingsStore& settings, const DesktopPlatform& desktop,
                    const std::string& sectionName);

    // Disables the icon caption controls, saying why; their values stay.
    void DisableIconCaptionControls();

    // The section the dialog edits; also the window's caption. An item named
    // like Vexlo's folder list ([Folders], [Use Folders]) cannot keep options
    // of its own there: the dialog then only shows them and says why.
    const std::string& SectionName() const { return sectionName_; }
    void SetSectionName(const std::string& name);

    // The swatch's colour, in the settings file's form.
    std::int32_t IconCaptionColour() const { return swatchColour_; }
    void SetIconCaptionColour(std::int32_t colour);

    // The selected style: 0 centre, 1 tile, 2 stretch, -1 none. Values outside
    // the range are clamped to it.
    int ApplicationMethod() const;
    void SetApplicationMethod(int index);

    const Ui::TfrmApplyOptions& Form() const { return *ui_; }

    // Handlers.
    void ChangeClick();
    void btnOKClick();
    void btnDeleteClick();

private:
    bool NameTakenByFolderList() const;

    std::unique_ptr<Ui::TfrmApplyOptions> ui_;
    QButtonGroup* methods_ = nullptr;
    SettingsStore& settings_;
    std::string sectionName_;
    std::int32_t swatchColour_ = 0;
    // The colour dialog's own colour: black until a colour is chosen, then the
    // one chosen last. The swatch's colour is deliberately not handed to it.
    QColor colorDialogColour_ = Qt::black;
};

}  // namespace vexlo
