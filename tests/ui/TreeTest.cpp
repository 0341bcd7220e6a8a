// The picture tree, its keys and menu, the preview and the status line, driven
// on the real main window over a temporary folder of pictures.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "FakeHost.h"
#include "ImageList.h"
#include "MainForm.h"
#include "PictureStatus.h"
#include "PreviewImage.h"
#include "RecordingPlatform.h"
#include "RecordingTrayShell.h"
#include "UiTestSupport.h"
#include "lstFilesPro.h"
#include "profile/ProfileFile.h"

using namespace vexlo;
using vexlo::test::TakeReportedErrors;

namespace {

class TreeTest : public ::testing::Test {
protected:
    TreeTest() {
        program_ = dir_.path() + "/program/";
        pictures_ = dir_.path() + "/pictures";
        QDir().mkpath(program_);
        QDir().mkpath(pictures_);
        settings_ = std::make_unique<SettingsStore>((program_ + "Vexlo.ini").toStdString());
        platform_.SetDesktopSize(1280, 1024);
        TakeReportedErrors();
    }

    // The window over [Folders] Holiday = the pictures folder (unless changed).
    void Open() {
        form_.reset();
        engine_ = std::make_unique<VexloPro>(*settings_, platform_, host_, program_.toStdString());
        MainFormContext context;
        context.settings = settings_.get();
        context.engine = engine_.get();
        context.platform = &platform_;
        context.trayShell = std::make_shared<RecordingTrayShell>();
        context.programFolder = program_.toStdString();
        context.host = &host_;
        form_ = std::make_unique<TfrmMain>(context);
        form_->SetDefaultOpener([this](const QUrl& url) {
            opened_.append(url);
            return openerFound_;
        });
        form_->show();
    }
    void OpenHoliday() {
        settings_->WriteString("Folders", "Holiday", pictures_.toStdString());
        Open();
    }

    QString P(const QString& relative) const { return pictures_ + "/" + relative; }
    void Picture(const QString& relative, int w = 80, int h = 60) {
        QDir().mkpath(QFileInfo(P(relative)).path());
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(P(relative), relative.endsWith("PNG", Qt::CaseInsensitive) ? "PNG"
                                            : relative.endsWith("bmp")                    ? "BMP"
                                                                                          : "JPG"));
    }
    void File(const QString& relative, const QByteArray& bytes = "x") {
        QFile file(P(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    template <class W>
    W* Widget(const char* name) const {
        return form_->findChild<W*>(QLatin1String(name));
    }
    QTreeWidget* Tree() const { return Widget<QTreeWidget>("treeFiles"); }
    PreviewImage* Preview() const { return Widget<PreviewImage>("imgPreview"); }
    QString Status() const { return Widget<QStatusBar>("StatusBar1")->currentMessage(); }
    QImage Shown() const { return Preview()->Picture(); }
    QAction* Action(const char* name) const {
        return form_->mnuTreeFiles()->findChild<QAction*>(QLatin1String(name));
    }
    static QStringList Texts(const QTreeWidgetItem* node) {
        QStringList texts;
        for (int i = 0; i < node->childCount(); ++i) {
            texts << node->child(i)->text(0);
        }
        return texts;
    }
    static QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& text, int nth = 0) {
        for (int i = 0; i < node->childCount(); ++i) {
            if (node->child(i)->text(0) == text && nth-- == 0) {
                return node->child(i);
            }
        }
        return nullptr;
    }
    QTreeWidgetItem* Root() const { return Tree()->topLevelItem(0); }
    QTreeWidgetItem* ExpandRoot() {
        Root()->setExpanded(true);
        return Root();
    }
    void Select(QTreeWidgetItem* node) { Tree()->setCurrentItem(node); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Tree(), static_cast<Qt::Key>(key), modifiers);
    }
    std::size_t Applied() const {
        return platform_.CallsOf(PlatformCall::Op::SetDesktopWallpaper).size();
    }
    QLineEdit* Editor() const { return Tree()->viewport()->findChild<QLineEdit*>(); }

    QTemporaryDir dir_;
    QString program_;
    QString pictures_;
    std::unique_ptr<SettingsStore> settings_;
    RecordingPlatform platform_;
    vexlo::test::FakeHost host_;
    std::unique_ptr<VexloPro> engine_;
    std::unique_ptr<TfrmMain> form_;
    QList<QUrl> opened_;
    bool openerFound_ = true;
};

}  // namespace

TEST_F(TreeTest, FoldersFirstThenPicturesOfTheTreesSetInFoldedOrder) {
    for (const char* folder : {"Zeta", "alpha", "beach.jpg"}) {
        QDir().mkpath(P(folder));
    }
    for (const char* name : {"b.jpg", "A.jpg", "PHOTO.JPG", "x.Png", "x.tif", "x.jpe", "plain",
                             ".hidden.gif", "_u.bmp"}) {
        File(name);
    }
    OpenHoliday();
    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
    EXPECT_TRUE(IsFolderNode(Root()));
    EXPECT_EQ(Root()->childCount(), 0) << "read when opened";
    EXPECT_EQ(Texts(ExpandRoot()),
              QStringList({"alpha", "beach.jpg", "Zeta", ".hidden.gif", "A.jpg", "b.jpg",
                           "beach.jpg", "PHOTO.JPG", "x.Png", "_u.bmp"}));
    EXPECT_TRUE(Root()->isExpanded());
    EXPECT_TRUE(IsFolderNode(Child(Root(), "beach.jpg", 0)));
    EXPECT_FALSE(IsFolderNode(Child(Root(), "beach.jpg", 1)));
    EXPECT_EQ(Child(Root(), "A.jpg")->data(0, kImageIndexRole).toInt(),
              ImageList::PreviewWallpaper);
    EXPECT_EQ(host_.busyDepth, 0);
    EXPECT_GE(host_.busyCalls, 1);
    // Only a-z fold; other bytes compare as they are, a prefix first.
    EXPECT_LT(CompareNodeTexts("ab", "ABC"), 0);
    EXPECT_EQ(CompareNodeTexts("Zeta", "zETA"), 0);
    EXPECT_GT(CompareNodeTexts("\xC3\xA4", "Z"), 0);
}

TEST_F(TreeTest, EveryExpansionRereadsTheFolder) {
    QDir().mkpath(P("sub"));
    OpenHoliday();
    QTreeWidgetItem* sub = Child(ExpandRoot(), "sub");
    sub->setExpanded(true);
    EXPECT_EQ(Texts(sub), QStringList({"No files"}));
    EXPECT_EQ(Child(sub, "No files")->data(0, kImageIndexRole).toInt(), -1);
    EXPECT_FALSE(IsFolderNode(Child(sub, "No files")));
    File("sub/new.gif");
    sub->setExpanded(false);
    sub->setExpanded(true);
    EXPECT_EQ(Texts(sub), QStringList({"new.gif"}));
    EXPECT_TRUE(sub->isExpanded());
}

TEST_F(TreeTest, FolderStatusSaysActiveByTheNodesOwnText) {
    QDir().mkpath(P("2004"));
    settings_->WriteBool("Use Folders", "Holiday", false);
    OpenHoliday();
    // Made current without being selected (as the focus does): not a selection.
    Tree()->setCurrentItem(Root(), 0, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(SelectedNode(Tree()), nullptr);
    Select(Root());
    EXPECT_EQ(Status(), pictures_ + " | Not Active");
    Select(Child(ExpandRoot(), "2004"));
    EXPECT_EQ(Status(), pictures_ + "/2004 | Active");
    settings_->WriteBool("Use Folders", "2004", false);
    Select(Root());
    Select(Child(Root(), "2004"));
    EXPECT_EQ(Status(), pictures_ + "/2004 | Not Active");
}

TEST_F(TreeTest, SelectingPreviewsAndDescribesAPicture) {
    Picture("wide.png", 800, 600);
    OpenHoliday();
    Select(Child(ExpandRoot(), "wide.png"));
    EXPECT_EQ(Shown().size(), QSize(800, 600));
    const qint64 bytes = QFileInfo(P("wide.png")).size();
    EXPECT_EQ(Status(),
              QStringLiteral("800x600 | %1bytes | -6.667% deformation")
                  .arg(FormatGroupedInteger(static_cast<std::uint64_t>(bytes), QLocale())));
    // Fitted, proportions kept, centred.
    EXPECT_EQ(Preview()->PictureRect(), QRect(0, 0, 461, 346));
    EXPECT_TRUE(TakeReportedErrors().isEmpty());

    // Without chkPreview, selection previews nothing.
    Widget<QCheckBox>("chkPreview")->setChecked(false);
    Picture("other.bmp", 10, 10);
    Key(Qt::Key_F5);
    Select(Child(Root(), "other.bmp"));
    EXPECT_EQ(Shown().size(), QSize(800, 600));
}

TEST_F(TreeTest, DamagedPictureReportsAndKeepsPreviewAndStatus) {
    Picture("good.jpg", 64, 48);
    File("bad.jpg", QByteArray("\xFF\xD8\xFF\xE0 damaged", 12));
    OpenHoliday();
    Select(Child(ExpandRoot(), "good.jpg"));
    const QString status = Status();
    const QImage shown = Shown();
    Select(Child(Root(), "bad.jpg"));
    const QStringList errors = TakeReportedErrors();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(errors[0].startsWith("Cannot open file"));
    EXPECT_EQ(Status(), status);
    EXPECT_EQ(Shown(), shown);
}

TEST_F(TreeTest, FolderNamedLikeAPictureIsNeitherPreviewedNorApplied) {
    QDir().mkpath(P("beach.jpg"));
    OpenHoliday();
    Select(Root());
    const QString status = Status();
    Select(Child(ExpandRoot(), "beach.jpg", 1));
    EXPECT_EQ(Status(), status);
    Key(Qt::Key_Return);
    EXPECT_EQ(Applied(), 0u);
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
    Key(Qt::Key_Space);
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Cannot open file " + P("beach.jpg")}));
    EXPECT_EQ(Status(), status);
}

TEST_F(TreeTest, EnterAndDoubleClickApplyAnExistingPictureOnly) {
    Picture("a.jpg");
    settings_->WriteString("Wallpaper Changing", "File", "z.jpg");
    OpenHoliday();
    Select(Root());
    Key(Qt::Key_Return);
    EXPECT_EQ(Applied(), 0u) << "a folder node";
    Select(Child(ExpandRoot(), "a.jpg"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Applied(), 1u);
    form_->treeFilesDblClick();
    EXPECT_EQ(Applied(), 2u);
    // A double click on the empty space below the nodes applies the selection too.
    const QPoint empty(5, Tree()->viewport()->height() - 3);
    ASSERT_EQ(Tree()->itemAt(empty), nullptr);
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(Applied(), 3u);
    EXPECT_EQ(Tree()->currentItem()->text(0), "a.jpg");
    EXPECT_EQ(settings_->ReadString("Wallpaper Changing", "File", ""), "z.jpg");
    QFile::remove(P("a.jpg"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Applied(), 3u) << "vanished";
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
}

TEST_F(TreeTest, F5ReloadsKeepingTheExpandedStateAndShiftF5Rebuilds) {
    QDir().mkpath(P("sub"));
    Picture("a.jpg");
    OpenHoliday();
    QTreeWidgetItem* sub = Child(ExpandRoot(), "sub");
    // On a picture: its folder is read again, and stays open.
    Select(Child(Root(), "a.jpg"));
    File("b.gif");
    Key(Qt::Key_F5);
    EXPECT_EQ(Texts(Root()), QStringList({"sub", "a.jpg", "b.gif"}));
    EXPECT_TRUE(Root()->isExpanded());
    // On a collapsed folder: read, left collapsed.
    sub = Child(Root(), "sub");
    Select(sub);
    File("sub/c.bmp");
    Key(Qt::Key_F5);
    EXPECT_EQ(Texts(sub), QStringList({"c.bmp"}));
    EXPECT_FALSE(sub->isExpanded());
    // On an expanded one: fresh and still open.
    sub->setExpanded(true);
    File("sub/d.bmp");
    const int busy = host_.busyCalls;
    Key(Qt::Key_F5);
    EXPECT_EQ(Texts(sub), QStringList({"c.bmp", "d.bmp"}));
    EXPECT_TRUE(sub->isExpanded());
    EXPECT_EQ(host_.busyCalls - busy, 2) << "read twice";
    Key(Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Root()->childCount(), 0);
    EXPECT_FALSE(Root()->isExpanded());
}

TEST_F(TreeTest, CancelledEditChangesNothingAndEnterWorksAgain) {
    Picture("a.jpg");
    OpenHoliday();
    QTreeWidgetItem* a = Child(ExpandRoot(), "a.jpg");
    Select(a);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->selectedText(), "a") << "the name without its extension";
    Editor()->setText("b.jpg");
    QTest::keyClick(Editor(), Qt::Key_Space);  // typed into the label, not a preview
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(a->text(0), "a.jpg");
    EXPECT_TRUE(QFile::exists(P("a.jpg")));
    EXPECT_FALSE(a->flags() & Qt::ItemIsEditable);
    Key(Qt::Key_Return);
    EXPECT_EQ(Applied(), 1u);
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
}

TEST_F(TreeTest, RenamingNeverReplacesAndRefusesNamesThatMoveTheFile) {
    File("a.jpg", "first");
    File("b.jpg", "second");
    QDir().mkpath(P("sub"));
    OpenHoliday();
    Widget<QCheckBox>("chkPreview")->setChecked(false);
    QTreeWidgetItem* a = Child(ExpandRoot(), "a.jpg");
    auto rename = [&](QTreeWidgetItem* node, const QString& text) {
        Select(node);
        Key(Qt::Key_F2);
        ASSERT_NE(Editor(), nullptr);
        Editor()->setText(text);
        QTest::keyClick(Editor(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    auto content = [&](const QString& name) {
        QFile file(P(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    rename(a, "b.jpg");
    QStringList errors = TakeReportedErrors();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Cannot rename " + P("a.jpg") + " to " + P("b.jpg") + ": "))
        << errors[0].toStdString();
    EXPECT_EQ(content("a.jpg"), "first");
    EXPECT_EQ(content("b.jpg"), "second");
    EXPECT_EQ(a->text(0), "a.jpg");

    for (const QString& bad :
         {QString("../a.jpg"), QString("sub/a.jpg"), QString(".."), QString(".")}) {
        rename(a, bad);
        EXPECT_EQ(TakeReportedErrors().size(), 1) << bad.toStdString();
        EXPECT_EQ(a->text(0), "a.jpg");
    }
    EXPECT_EQ(QDir(pictures_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"a.jpg", "b.jpg", "sub"}));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"pictures", "program"}));

    // A root node names a [Folders] entry: refused, folder and settings kept.
    rename(Root(), "Travel");
    EXPECT_EQ(TakeReportedErrors().size(), 1);
    EXPECT_EQ(Root()->text(0), "Holiday");
    EXPECT_TRUE(QFileInfo(pictures_).isDir());

    rename(a, "c.jpg");
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
    EXPECT_EQ(a->text(0), "c.jpg");
    EXPECT_EQ(content("c.jpg"), "first");
    EXPECT_FALSE(QFile::exists(P("a.jpg")));
    // An empty folder would be replaced by a plain rename.
    QDir().mkpath(P("empty"));
    rename(Child(Root(), "sub"), "empty");
    EXPECT_EQ(TakeReportedErrors().size(), 1);
    EXPECT_TRUE(QFileInfo(P("sub")).isDir());
    rename(Child(Root(), "sub"), "sub2");
    EXPECT_TRUE(QFileInfo(P("sub2")).isDir());
    EXPECT_TRUE(QFileInfo(P("empty")).isDir());
}

TEST_F(TreeTest, PopupSelectsTheNodeUnderThePointerAndSetsTheItems) {
    Picture("A&B.jpg");
    OpenHoliday();
    QTreeWidgetItem* picture = Child(ExpandRoot(), "A&B.jpg");
    const QPoint onPicture = Tree()->visualItemRect(picture).center();
    form_->mnuTreeFilesPopup(onPicture);
    EXPECT_EQ(Tree()->currentItem(), picture);
    EXPECT_EQ(Action("ApplyWallpaper1")->text(), "Apply \"A&&B.jpg\"");
    EXPECT_TRUE(Action("ApplyWallpaper1")->isEnabled());
    EXPECT_TRUE(Action("PreviewWallpaper1")->isEnabled());

    // Empty space: selection and caption stay.
    form_->mnuTreeFilesPopup(QPoint(5, Tree()->viewport()->height() - 3));
    EXPECT_EQ(Tree()->currentItem(), picture);
    EXPECT_EQ(Action("ApplyWallpaper1")->text(), "Apply \"A&&B.jpg\"");

    // Through the tree's own request, with the pointer on the root.
    QCursor::setPos(Tree()->viewport()->mapToGlobal(Tree()->visualItemRect(Root()).center()));
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    });
    emit Tree()->customContextMenuRequested(QPoint());
    EXPECT_EQ(Tree()->currentItem(), Root());
    EXPECT_EQ(Action("ApplyWallpaper1")->text(), "Apply \"Holiday\"");
    EXPECT_FALSE(Action("ApplyWallpaper1")->isEnabled());
    EXPECT_FALSE(Action("PreviewWallpaper1")->isEnabled());
    EXPECT_TRUE(Action("ApplyOptions1")->isEnabled());
}

TEST_F(TreeTest, TheMenuKeyAndShiftF10OpenTheMenuAtTheSelectedNode) {
    Picture("a.jpg");
    Picture("b.jpg");
    OpenHoliday();
    QTreeWidgetItem* b = Child(ExpandRoot(), "b.jpg");
    Select(b);
    // The pointer rests on another node, as after a right click there.
    QCursor::setPos(Tree()->viewport()->mapToGlobal(Tree()->visualItemRect(Root()).center()));
    QPoint shownAt;
    auto OnScreen = [this](const QRect& rect) {
        return QRect(Tree()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    };
    auto closeMenu = [&] {
        QTimer::singleShot(50, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shownAt = popup->pos();
                popup->close();
            }
        });
    };
    const QRect row = Tree()->visualItemRect(b);
    closeMenu();
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(Tree(), &menuKey);
    EXPECT_EQ(Tree()->currentItem(), b);
    EXPECT_EQ(Action("ApplyWallpaper1")->text(), "Apply \"b.jpg\"");
    EXPECT_TRUE(Action("ApplyWallpaper1")->isEnabled());
    EXPECT_TRUE(OnScreen(row).contains(shownAt)) << shownAt.x() << "," << shownAt.y();

    Select(Root());
    shownAt = QPoint();
    closeMenu();
    Key(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(Action("ApplyWallpaper1")->text(), "Apply \"Holiday\"");
    EXPECT_FALSE(Action("ApplyWallpaper1")->isEnabled());
    EXPECT_TRUE(OnScreen(Tree()->visualItemRect(Root())).contains(shownAt));
}

TEST_F(TreeTest, PreviewItemAndPreviewDoubleClickOpenTheDefaultApplication) {
    Picture("a.jpg");
    OpenHoliday();
    form_->PreviewWallpaper1Click();
    EXPECT_TRUE(opened_.isEmpty()) << "nothing selected";
    Select(Child(ExpandRoot(), "a.jpg"));
    Action("PreviewWallpaper1")->trigger();
    QTest::mouseDClick(Preview(), Qt::LeftButton);
    EXPECT_EQ(opened_,
              QList<QUrl>({QUrl::fromLocalFile(P("a.jpg")), QUrl::fromLocalFile(P("a.jpg"))}));
    // No program to open it: said, not only written to the terminal.
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
    openerFound_ = false;
    Action("PreviewWallpaper1")->trigger();
    const QStringList errors = TakeReportedErrors();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Cannot open " + P("a.jpg") + ":")) << errors[0].toStdString();
}

TEST_F(TreeTest, EmptyFoldersSectionAndMissingFolder) {
    Open();
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    Key(Qt::Key_F5);
    Key(Qt::Key_F2);
    EXPECT_EQ(Editor(), nullptr);
    form_->mnuTreeFilesPopup(QPoint(5, 5));
    EXPECT_FALSE(Action("ApplyWallpaper1")->isEnabled());
    EXPECT_FALSE(Action("ApplyOptions1")->isEnabled());
    Key(Qt::Key_Space);
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Unknown picture file extension (.)"}));

    // A folder added by another process ("addfolder" straight into the file,
    // under its lower-case name): Shift+F5 on the empty tree shows it.
    WriteProfileString((program_ + "vexlo.ini").toStdString(), "Folders", "Gone",
                       (dir_.path() + "/gone").toStdString());
    Key(Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Root()->text(0), "Gone");
    form_.reset();
    Open();
    EXPECT_EQ(Texts(ExpandRoot()), QStringList({"No files"}));
    EXPECT_EQ(host_.busyDepth, 0);
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
}
