// The owner-drawn menu items: the picture of one item as geometry and colours,
// then both menus of the main window rendered and read back pixel by pixel.
#include <gtest/gtest.h>

#include <QLinearGradient>
#include <QStyleOptionMenuItem>
#include <QTest>

#include "MenuGeometry.h"
#include "MenuPainter.h"
#include "MenuTestSupport.h"

using namespace vexlo;
using namespace vexlo::test;

namespace {

const MenuSystemColours kColours{QColor(200, 180, 160), QColor(0, 128, 0)};
const QColor kText(248, 248, 248);
const QColor kBorder(112, 112, 160);
const QColor kFill(208, 212, 232);
const QColor kImage(255, 0, 0);

TEST(MenuGeometry, AnItemAtItsRectangle) {
    // L, T, R, B = 10, 20, 210, 45.
    MenuItemState item{QRect(10, 20, 200, 25), false, true, false, "Enable &Autochanging"};
    MenuItemLook look = LookOfMenuItem(item, kColours);
    EXPECT_EQ(look.item, QRect(10, 20, 200, 25));
    EXPECT_EQ(look.itemFill, kColours.buttonFace);
    EXPECT_EQ(look.textArea, QRect(QPoint(37, 20), QPoint(209, 44)));
    EXPECT_EQ(look.textAreaFill, kText);
    EXPECT_FALSE(look.highlight.has_value());
    EXPECT_EQ(look.imageOrigin, QPoint(16, 24));
    EXPECT_EQ(look.captionOrigin, QPoint(40, 25));
    EXPECT_EQ(look.captionClip, QRect(QPoint(40, 23), QPoint(204, 41)));
    EXPECT_EQ(look.captionClipFill, kText);
    EXPECT_EQ(look.captionColour, QColor(Qt::black));
    EXPECT_EQ(look.caption, "Enable Autochanging");
    EXPECT_FALSE(look.separatorLine.has_value());

    // Selected and disabled: highlight over band and text, grey caption.
    item.selected = true;
    item.enabled = false;
    look = LookOfMenuItem(item, kColours);
    ASSERT_TRUE(look.highlight.has_value());
    EXPECT_EQ(*look.highlight, QRect(QPoint(11, 20), QPoint(207, 43)));
    EXPECT_EQ(look.highlightBorder, kBorder);
    EXPECT_EQ(look.highlightFill, kFill);
    EXPECT_EQ(look.captionClipFill, kFill);
    EXPECT_EQ(look.captionColour, kColours.inactiveCaption);

    // A separator: 8 high, its line two rows from T + 2, no caption.
    look = LookOfMenuItem({QRect(10, 20, 200, 8), false, true, true, "-"}, kColours);
    ASSERT_TRUE(look.separatorLine.has_value());
    EXPECT_EQ(*look.separatorLine, QRect(QPoint(42, 22), QPoint(202, 23)));
    EXPECT_EQ(look.separatorColour, kColours.buttonFace);
    EXPECT_TRUE(look.caption.isEmpty());
    EXPECT_EQ(look.captionClip, QRect(QPoint(40, 23), QPoint(204, 24)));
}

TEST(MenuGeometry, MarkersAndSizes) {
    EXPECT_EQ(StripAccessMarkers("Disable &Autochanging"), "Disable Autochanging");
    EXPECT_EQ(StripAccessMarkers("Salt && &Pepper"), "Salt & Pepper");
    EXPECT_EQ(StripAccessMarkers("&&&x"), "&x");
    EXPECT_EQ(StripAccessMarkers("end&"), "end");
    EXPECT_EQ(StripAccessMarkers("&"), "");
    EXPECT_EQ(MenuItemSize(0), QSize(150, 25));
    EXPECT_EQ(MenuItemSize(120), QSize(150, 25));
    EXPECT_EQ(MenuItemSize(121), QSize(151, 25));
    EXPECT_EQ(MenuSeparatorSize().height(), 8);
}

TEST(MenuGeometry, SystemColoursFromThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(4, 5, 6));
    MenuSystemColours colours = MenuColoursFromPalette(palette);
    EXPECT_EQ(colours.buttonFace, QColor(1, 2, 3));
    EXPECT_EQ(colours.inactiveCaption, QColor(4, 5, 6));
    // A gradient or texture has no one colour: the classic values stand in.
    QLinearGradient gradient(0, 0, 10, 0);
    palette.setBrush(QPalette::Active, QPalette::Button, gradient);
    palette.setBrush(QPalette::Disabled, QPalette::WindowText, QBrush(QPixmap(4, 4)));
    colours = MenuColoursFromPalette(palette);
    EXPECT_EQ(colours.buttonFace, QColor(212, 208, 200));
    EXPECT_EQ(colours.inactiveCaption, QColor(128, 128, 128));
}

// Both menus of a real main window, with colours of the test's choosing in
// their palette, solid red images, and text without smoothing so that every
// caption pixel has the caption's colour.
class MenuPainting : public ::testing::Test {
protected:
    void SetUp() override {
        for (QMenu* menu : {Tray(), Tree()}) {
            QPalette palette = menu->palette();
            palette.setColor(QPalette::Active, QPalette::Button, kColours.buttonFace);
            palette.setColor(QPalette::Inactive, QPalette::Button, kColours.buttonFace);
            palette.setColor(QPalette::Disabled, QPalette::WindowText, kColours.inactiveCaption);
            menu->setPalette(palette);
            QFont font = menu->font();
            font.setStyleStrategy(QFont::NoAntialias);
            menu->setFont(font);
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    action->setIcon(SolidIcon(kImage));
                }
            }
        }
    }
    void TearDown() override {
        Tray()->hide();
        Tree()->hide();
    }
    QMenu* Tray() { return window_.Form().mnuTray(); }
    QMenu* Tree() { return window_.Form().mnuTreeFiles(); }
    QAction* Action(QMenu* menu, const char* name) { return window_.Action(menu, name); }

    QImage Shot(QMenu* menu, QAction* active = nullptr) {
        if (!menu->isVisible()) {
            menu->popup(QPoint(0, 0));
            EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
        }
        menu->setActiveAction(active);
        return menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // An unselected item: band with the image, text area, caption ink inside
    // its clip from the caption origin on.
    void ExpectPlainItem(const QImage& shot, const QRect& r, QColor caption) {
        const int l = r.left(), t = r.top(), right = r.right() + 1, b = r.bottom() + 1;
        EXPECT_TRUE(AllOf(shot, QRect(l, t, 6, 25), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 22, t, 5, 25), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 6, t, 16, 4), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 20, 16, 5), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 4, 16, 16), kImage));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, 3, 25), kText));
        EXPECT_TRUE(AllOf(shot, QRect(right - 5, t, 5, 25), kText));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, right - l - 27, 3), kText));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, b - 3, right - l - 27, 3), kText));
        const QRect ink = InkOf(shot, r, caption);
        EXPECT_FALSE(ink.isEmpty());
        EXPECT_TRUE(QRect(QPoint(l + 30, t + 5), QPoint(right - 6, b - 4)).contains(ink))
            << testing::PrintToString(ink);
        EXPECT_LE(ink.left(), l + 33);
    }

    MenuWindow window_;
};

TEST_F(MenuPainting, TrayMenuItemsSeparatorAndWidth) {
    const QImage shot = Shot(Tray());
    const QFontMetrics metrics = Tray()->fontMetrics();
    int width = 150;
    for (QAction* action : Tray()->actions()) {
        if (!action->isSeparator()) {
            width = std::max(width, metrics.horizontalAdvance(action->text()) + 30);
        }
    }
    for (QAction* action : Tray()->actions()) {
        SCOPED_TRACE(action->objectName().toStdString());
        const QRect r = Tray()->actionGeometry(action);
        EXPECT_EQ(r.width(), width);
        EXPECT_EQ(r.left(), 1);  // only the 1-pixel frame before it
        if (action->isSeparator()) {
            EXPECT_EQ(r.height(), 8);
            const int l = r.left(), t = r.top(), right = r.right() + 1;
            EXPECT_TRUE(AllOf(shot, QRect(l, t, 27, 8), kColours.buttonFace));
            EXPECT_TRUE(
                AllOf(shot, QRect(l + 32, t + 2, right - 7 - l - 32, 2), kColours.buttonFace));
            EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, 5, 8), kText));
            EXPECT_TRUE(AllOf(shot, QRect(right - 7, t, 7, 8), kText));
            EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, right - l - 27, 2), kText));
            EXPECT_TRUE(AllOf(shot, QRect(l + 27, t + 4, right - l - 27, 4), kText));
        } else {
            EXPECT_EQ(r.height(), 25);
            ExpectPlainItem(shot, r, Qt::black);
        }
    }
    EXPECT_EQ(Tray()->width(), width + 2);
    EXPECT_EQ(Tray()->height(), 5 * 25 + 8 + 2);
}

TEST_F(MenuPainting, HighlightSpansBandAndText) {
    QAction* change = Action(Tray(), "ChangeWallpaper1");
    const QImage shot = Shot(Tray(), change);
    const QRect r = Tray()->actionGeometry(change);
    const int l = r.left(), t = r.top(), right = r.right() + 1, b = r.bottom() + 1;
    const int w = right - l;
    EXPECT_TRUE(AllOf(shot, QRect(l, t, 1, 25), kColours.buttonFace));
    EXPECT_TRUE(AllOf(shot, QRect(l + 1, t, w - 3, 1), kBorder));
    EXPECT_TRUE(AllOf(shot, QRect(l + 1, b - 2, w - 3, 1), kBorder));
    EXPECT_TRUE(AllOf(shot, QRect(l + 1, t, 1, 24), kBorder));
    EXPECT_TRUE(AllOf(shot, QRect(right - 3, t, 1, 24), kBorder));
    EXPECT_TRUE(AllOf(shot, QRect(right - 2, t, 2, 25), kText));
    EXPECT_TRUE(AllOf(shot, QRect(l, b - 1, 27, 1), kColours.buttonFace));
    EXPECT_TRUE(AllOf(shot, QRect(l + 27, b - 1, w - 27, 1), kText));
    // The fill over the band, around the image, and at the text's right end.
    EXPECT_TRUE(AllOf(shot, QRect(l + 2, t + 1, 4, 22), kFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 1, 24, 3), kFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + 22, t + 4, 8, 19), kFill));
    EXPECT_TRUE(AllOf(shot, QRect(right - 5, t + 1, 2, 22), kFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 4, 16, 16), kImage));
    EXPECT_FALSE(InkOf(shot, r, Qt::black).isEmpty());
    // The neighbours stay plain.
    ExpectPlainItem(shot, Tray()->actionGeometry(Action(Tray(), "SetIconsTransparent1")),
                    Qt::black);
}

TEST_F(MenuPainting, DisabledItemsGreyCaptionFullColourImage) {
    QAction* options = Action(Tree(), "ApplyOptions1");
    options->setEnabled(false);
    QImage shot = Shot(Tree());
    QRect r = Tree()->actionGeometry(options);
    ExpectPlainItem(shot, r, kColours.inactiveCaption);
    EXPECT_TRUE(InkOf(shot, r, Qt::black).isEmpty());
    EXPECT_EQ(Tree()->actionGeometry(Action(Tree(), "N2")).height(), 8);
    // Reported selected, a disabled item gets the highlight as well.
    shot = Shot(Tree(), options);
    EXPECT_TRUE(AllOf(shot, QRect(r.left() + 1, r.top(), r.width() - 3, 1), kBorder));
    EXPECT_TRUE(AllOf(shot, QRect(r.left() + 2, r.top() + 1, 4, 22), kFill));
    EXPECT_TRUE(AllOf(shot, QRect(r.left() + 6, r.top() + 4, 16, 16), kImage));
    EXPECT_FALSE(InkOf(shot, r, kColours.inactiveCaption).isEmpty());
}

TEST_F(MenuPainting, AccessMarkerIsMeasuredButNotDrawn) {
    QFont font = Tray()->font();
    font.setPixelSize(24);  // the caption then passes the 150-pixel minimum
    Tray()->setFont(font);
    QAction* toggle = Action(Tray(), "EnableAutochanging1");
    const QImage shot = Shot(Tray());
    ASSERT_EQ(toggle->text(), "Enable &Autochanging");

    QStyleOptionMenuItem option;
    option.initFrom(Tray());
    option.menuItemType = QStyleOptionMenuItem::Normal;
    option.text = toggle->text();
    option.font = Tray()->font();
    option.fontMetrics = Tray()->fontMetrics();
    const int withMarker = Tray()->fontMetrics().horizontalAdvance("Enable &Autochanging");
    ASSERT_GT(withMarker + 30, 150);
    EXPECT_EQ(Tray()->style()->sizeFromContents(QStyle::CT_MenuItem, &option, {}, Tray()),
              QSize(withMarker + 30, 25));

    // The caption as a person would write it: no "&", no underline.
    const QRect r = Tray()->actionGeometry(toggle);
    const QRect clip(QPoint(r.left() + 30, r.top() + 3), QPoint(r.right() - 5, r.bottom() - 3));
    QImage expected(r.size(), QImage::Format_RGB32);
    expected.fill(kText);
    QPainter painter(&expected);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(30, 5, 1000, 25), Qt::AlignLeft | Qt::AlignTop, "Enable Autochanging");
    painter.end();
    EXPECT_EQ(shot.copy(clip), expected.copy(clip.translated(-r.topLeft())));
}

TEST_F(MenuPainting, LongApplyCaptionWidensTheMenu) {
    QAction* apply = Action(Tree(), "ApplyWallpaper1");
    const QString caption = "Apply " + QString(40, QLatin1Char('W')) + ".jpg";
    apply->setText(caption);
    const QImage shot = Shot(Tree());
    const int width = Tree()->fontMetrics().horizontalAdvance(caption) + 30;
    ASSERT_GT(width, 150);
    for (QAction* action : Tree()->actions()) {
        EXPECT_EQ(Tree()->actionGeometry(action).width(), width);
    }
    EXPECT_EQ(Tree()->width(), width + 2);
    ExpectPlainItem(shot, Tree()->actionGeometry(apply), Qt::black);
}

}  // namespace
