#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "DesktopPlatform.h"
#include "SettingsStore.h"

class QButtonGroup;
class QListWidgetItem;
class QSlider;
class QLabel;

namespace Ui {
class TfrmOptions;
}

namespace vexlo {

class OptionsScreensPage;

// Asks the user for a folder; nothing when cancelled.
using FolderBrowser =
    std::function<std::optional<std::string>(QWidget* owner, const QString& title)>;

// What the options dialog is handed.
struct OptionsContext {
    SettingsStore* settings = nullptr;
    DesktopPlatform* platform = nullptr;
    // The running program's full path, as the Run value and the verbs name it.
    std::string executablePath;
    // Empty: the Qt folder dialog (BrowseForFolder).
    FolderBrowser browseForFolder;
};

// The Run value and the two Explorer verbs, exactly as written and recognised.
inline constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Vexlo";
inline constexpr const char* kApplyVerbKey = "\\SOFTWARE\\Classes\\*\\shell\\Apply with Vexlo";
inline constexpr const char* kAddVerbKey = "\\SOFTWARE\\Classes\\Folder\\shell\\Add to Vexlo";
// "<exe> change"
std::string RunValueFor(const std::string& executable);
// "\"<exe> \" \"<verb>\" \"%1\""
std::string VerbCommandFor(const std::string& executable, const char* verb);

// The options dialog "Vexlo Options": the folder list, start-up, the file
// manager items, the hot key, icon colours, the timer and the size rules.
// Loads itself when created (FormCreate) and saves on OK (btnOKClick); a
// failing write is reported and leaves the dialog open with the earlier
// writes kept. Create one per opening.
class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(const OptionsContext& context, QWidget* parent = nullptr);
    ~TfrmOptions() override;

    // Set by every change to the folder list (Add, Edit, Remove, the moves).
    bool FoldersChanged() const { return foldersChanged_; }
    const Ui::TfrmOptions& Form() const { return *ui_; }
    ColourRef SwatchColour() const { return swatch_; }
    // The "Screens" tab, after the others.
    const OptionsScreensPage& ScreensPage() const { return *screens_; }

    // The Qt folder dialog: directories only, starting in the home folder; the
    // path without a trailing separator except for the root.
    static std::optional<std::string> BrowseForFolder(QWidget* owner, const QString& title);

    // Handlers.
    void FormCreate();
    void btnOKClick();
    void ChangeClick();
    void Button5Click();
    void trkLargerStretchChange();
    void trkSmallerStretchChange();
    void trkSmallerTileChange();
    void btnAddClick();
    void btnEditClick();
    void btnRemoveClick();
    void btnMoveUpClick();
    void btnMoveDownClick();

private:
    void ConnectHandlers();
    void NameForAccessibility();
    // Disables the icon caption controls where the desktop draws its own captions.
    void ApplyIconCaptionCapability();
    void SetSwatchColour(ColourRef colour);
    int DefTileMethod() const;
    void SetDefTileMethod(int index);
    void AddFolderRow(const std::string& path, bool checked);
    // Throws, naming what the user tried (`action`), when the folder at `path`
    // cannot be a row: the settings file cannot hold it, or another row than
    // `replacing` has its key name.
    void CheckFolderRow(const std::string& path, const QListWidgetItem* replacing,
                        const std::string& action) const;
    void MoveSelectedRow(int by);
    // "(WxH)" for p percent of the desktop, read now.
    QString PixelSizeText(int percent);
    std::optional<std::string> Browse(const QString& title);

    std::unique_ptr<Ui::TfrmOptions> ui_;
    SettingsStore& settings_;
    DesktopPlatform& platform_;
    std::string executable_;
    FolderBrowser browse_;
    QButtonGroup* tileMethod_ = nullptr;
    OptionsScreensPage* screens_ = nullptr;
    bool foldersChanged_ = false;
    ColourRef swatch_ = kDesktopBackgroundColour;
    // The colour dialog's own state while this dialog lives: the colour it
    // opens with (black at first, then the colour chosen last) and its 16
    // custom colours, which start unset.
    QColor dialogColour_ = Qt::black;
    std::array<QColor, 16> customColours_;
};

}  // namespace vexlo
