// The owner-drawn menu items: the pure geometry, then both menus of a real
// main window rendered offscreen and read back pixel by pixel.
#include <gtest/gtest.h>

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>

#include "MenuGeometry.h"
#include "MenuPainter.h"
#include "MenuTestSupport.h"

using namespace vexlo;
using namespace vexlo::test;

namespace {

const MenuSystemColours kColours{QColor(200, 180, 160), QColor(0, 128, 0)};

TEST(MenuGeometry, EdgesMarkersSizesAndColours) {
    // L, T, R, B = 10, 20, 210, 45; the look's rectangles are inclusive.
    MenuItemLook look =
        LookOfMenuItem({QRect(10, 20, 200, 25), true, false, false, "&Go"}, kColours);
    EXPECT_EQ(*look.highlight, QRect(QPoint(11, 20), QPoint(207, 43)));
    EXPECT_EQ(look.captionClip, QRect(QPoint(40, 23), QPoint(204, 41)));
    EXPECT_EQ(look.captionClipFill, kMenuFill);
    EXPECT_EQ(look.captionOrigin, QPoint(40, 25));
    EXPECT_EQ(look.captionColour, kColours.inactiveCaption);
    EXPECT_EQ(look.caption, "Go");
    look = LookOfMenuItem({QRect(10, 20, 200, 8), false, true, true, "-"}, kColours);
    EXPECT_EQ(*look.separatorLine, QRect(QPoint(42, 22), QPoint(202, 23)));
    EXPECT_TRUE(look.caption.isEmpty());

    EXPECT_EQ(StripAccessMarkers("Salt && &Pepper"), "Salt & Pepper");
    EXPECT_EQ(StripAccessMarkers("&&&x"), "&x");
    EXPECT_EQ(StripAccessMarkers("end&"), "end");
    // The caption's width, the 30 pixels before it and the clip's 5 after it.
    EXPECT_EQ(MenuItemSize(115), QSize(150, 25));
    EXPECT_EQ(MenuItemSize(116), QSize(151, 25));

    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(4, 5, 6));
    EXPECT_EQ(MenuColoursFromPalette(palette).buttonFace, QColor(1, 2, 3));
    EXPECT_EQ(MenuColoursFromPalette(palette).inactiveCaption, QColor(4, 5, 6));
    // A gradient or a texture has no one colour: the classic values stand in.
    palette.setBrush(QPalette::Active, QPalette::Button, QLinearGradient(0, 0, 10, 0));
    palette.setBrush(QPalette::Disabled, QPalette::WindowText, QBrush(QPixmap(4, 4)));
    EXPECT_EQ(MenuColoursFromPalette(palette).buttonFace, QColor(212, 208, 200));
    EXPECT_EQ(MenuColoursFromPalette(palette).inactiveCaption, QColor(128, 128, 128));
}

// Both menus with colours of the test's choosing in their palette, solid red
// images, and text without smoothing, so every caption pixel has its colour.
class MenuPainting : public ::testing::Test {
protected:
    void SetUp() override {
        for (QMenu* menu : {w_.Tray(), w_.Tree()}) {
            QPalette palette = menu->palette();
            palette.setColor(QPalette::Button, kColours.buttonFace);
            palette.setColor(QPalette::Disabled, QPalette::WindowText, kColours.inactiveCaption);
            menu->setPalette(palette);
            QFont font = menu->font();
            font.setStyleStrategy(QFont::NoAntialias);
            menu->setFont(font);
            for (QAction* action : menu->actions()) {
                MenuWindow::SetSolidImage(action);
            }
        }
    }
    QImage Shot(QMenu* menu, QAction* active = nullptr) {
        menu->popup(QPoint(0, 0));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
        menu->setActiveAction(active);
        return menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The widest caption as stored, plus 35, at least 150: every item's width.
    static int Width(QMenu* menu) {
        int width = 150;
        for (QAction* action : menu->actions()) {
            width = std::max(width, menu->fontMetrics().horizontalAdvance(action->text()) + 35);
        }
        return width;
    }
    // An unselected item: band with the image, text area, caption in its clip.
    static void ExpectPlainItem(const QImage& shot, const QRect& r, QColor caption) {
        const int l = r.left(), t = r.top(), w = r.width();
        EXPECT_TRUE(AllOf(shot, QRect(l, t, 6, 25), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 22, t, 5, 25), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 6, t, 16, 4), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 20, 16, 5), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 4, 16, 16), kMenuImage));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, 3, 25), kMenuText));
        EXPECT_TRUE(AllOf(shot, QRect(l + w - 5, t, 5, 25), kMenuText));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, w - 27, 3), kMenuText));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t + 22, w - 27, 3), kMenuText));
        const QRect ink = InkOf(shot, r, caption);
        EXPECT_TRUE(QRect(l + 30, t + 5, w - 35, 17).contains(ink) && ink.left() <= l + 33);
    }
    MenuWindow w_;
};

TEST_F(MenuPainting, TrayMenuItemsAndSeparator) {
    const QImage shot = Shot(w_.Tray());
    for (QAction* action : w_.Tray()->actions()) {
        const QRect r = w_.Tray()->actionGeometry(action);
        EXPECT_EQ(r.width(), Width(w_.Tray()));
        EXPECT_EQ(r.left(), 1);  // only the 1-pixel frame before it
        if (!action->isSeparator()) {
            EXPECT_EQ(r.height(), 25);
            ExpectPlainItem(shot, r, Qt::black);
            continue;
        }
        const int l = r.left(), t = r.top(), w = r.width();
        EXPECT_EQ(r.height(), 8);
        EXPECT_TRUE(AllOf(shot, QRect(l, t, 27, 8), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 32, t + 2, w - 39, 2), kColours.buttonFace));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, 5, 8), kMenuText));
        EXPECT_TRUE(AllOf(shot, QRect(l + w - 7, t, 7, 8), kMenuText));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t, w - 27, 2), kMenuText));
        EXPECT_TRUE(AllOf(shot, QRect(l + 27, t + 4, w - 27, 4), kMenuText));
    }
    EXPECT_EQ(w_.Tray()->size(), QSize(Width(w_.Tray()) + 2, 5 * 25 + 8 + 2));
}

TEST_F(MenuPainting, HighlightSpansBandAndText) {
    QAction* change = MenuWindow::Action(w_.Tray(), "ChangeWallpaper1");
    const QImage shot = Shot(w_.Tray(), change);
    const QRect r = w_.Tray()->actionGeometry(change);
    const int l = r.left(), t = r.top(), w = r.width();
    EXPECT_TRUE(AllOf(shot, QRect(l, t, 1, 25), kColours.buttonFace));
    EXPECT_TRUE(AllOf(shot, QRect(l + 1, t, w - 3, 1), kMenuBorder));
    EXPECT_TRUE(AllOf(shot, QRect(l + 1, t + 23, w - 3, 1), kMenuBorder));
    EXPECT_TRUE(AllOf(shot, QRect(l + 1, t, 1, 24), kMenuBorder));
    EXPECT_TRUE(AllOf(shot, QRect(l + w - 3, t, 1, 24), kMenuBorder));
    EXPECT_TRUE(AllOf(shot, QRect(l + w - 2, t, 2, 25), kMenuText));
    EXPECT_TRUE(AllOf(shot, QRect(l, t + 24, 27, 1), kColours.buttonFace));
    EXPECT_TRUE(AllOf(shot, QRect(l + 27, t + 24, w - 27, 1), kMenuText));
    // The fill around the image and at the text's right end.
    EXPECT_TRUE(AllOf(shot, QRect(l + 2, t + 1, 4, 22), kMenuFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 1, 24, 3), kMenuFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + 22, t + 4, 8, 19), kMenuFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + w - 5, t + 1, 2, 22), kMenuFill));
    EXPECT_TRUE(AllOf(shot, QRect(l + 6, t + 4, 16, 16), kMenuImage));
    EXPECT_FALSE(InkOf(shot, r, Qt::black).isEmpty());
    ExpectPlainItem(shot, r.translated(0, -25), Qt::black);
}

TEST_F(MenuPainting, DisabledItemGreyCaptionFullColourImage) {
    QAction* options = MenuWindow::Action(w_.Tree(), "ApplyOptions1");
    options->setEnabled(false);
    const QRect r = w_.Tree()->actionGeometry(options);
    QImage shot = Shot(w_.Tree());
    ExpectPlainItem(shot, r, kColours.inactiveCaption);
    EXPECT_TRUE(InkOf(shot, r, Qt::black).isEmpty());
    EXPECT_EQ(w_.Tree()->actionGeometry(MenuWindow::Action(w_.Tree(), "N2")).height(), 8);
    // Reported selected, a disabled item gets the highlight as well.
    shot = Shot(w_.Tree(), options);
    EXPECT_TRUE(AllOf(shot, QRect(r.left() + 1, r.top(), r.width() - 3, 1), kMenuBorder));
    EXPECT_TRUE(AllOf(shot, QRect(r.left() + 2, r.top() + 1, 4, 22), kMenuFill));
    EXPECT_TRUE(AllOf(shot, QRect(r.left() + 6, r.top() + 4, 16, 16), kMenuImage));
}

TEST_F(MenuPainting, AccessMarkerMeasuredButNotDrawn) {
    QFont font = w_.Tray()->font();
    font.setPixelSize(24);  // the menu's own font; the caption then passes 150 pixels
    w_.Tray()->setFont(font);
    const QImage shot = Shot(w_.Tray());
    QAction* toggle = MenuWindow::Action(w_.Tray(), "EnableAutochanging1");
    ASSERT_EQ(toggle->text(), "Enable &Autochanging");
    QStyleOptionMenuItem option;
    option.initFrom(w_.Tray());
    option.text = toggle->text();
    const int withMarker = option.fontMetrics.horizontalAdvance("Enable &Autochanging") + 35;
    EXPECT_GT(withMarker, 150);
    EXPECT_EQ(w_.Tray()->style()->sizeFromContents(QStyle::CT_MenuItem, &option, {}, w_.Tray()),
              QSize(withMarker, 25));
    // Drawn as a person writes it: no "&", no underline.
    const QRect r = w_.Tray()->actionGeometry(toggle);
    QImage expected(r.size(), QImage::Format_RGB32);
    expected.fill(kMenuText);
    QPainter painter(&expected);
    painter.setFont(font);
    painter.drawText(QRect(30, 5, 1000, 25), Qt::AlignLeft | Qt::AlignTop, "Enable Autochanging");
    painter.end();
    const QRect clip(30, 3, r.width() - 35, r.height() - 6);
    EXPECT_EQ(shot.copy(clip.translated(r.topLeft())), expected.copy(clip));
}

TEST_F(MenuPainting, LongApplyCaptionWidensTheMenuAndShowsWhole) {
    QAction* apply = MenuWindow::Action(w_.Tree(), "ApplyWallpaper1");
    apply->setText("Apply \"" + QString(40, QLatin1Char('W')) + ".jpg\"");
    const QImage shot = Shot(w_.Tree());
    const int width = w_.Tree()->fontMetrics().horizontalAdvance(apply->text()) + 35;
    EXPECT_EQ(w_.Tree()->actionGeometry(MenuWindow::Action(w_.Tree(), "N2")).width(), width);
    EXPECT_EQ(w_.Tree()->width(), width + 2);
    const QRect r = w_.Tree()->actionGeometry(apply);
    ExpectPlainItem(shot, r, Qt::black);
    // The whole caption, closing quote included, as drawn without any clip.
    QImage expected(r.size() + QSize(100, 0), QImage::Format_RGB32);
    expected.fill(kMenuText);
    QPainter painter(&expected);
    painter.setFont(w_.Tree()->font());
    painter.drawText(QRect(30, 5, 10000, 25), Qt::AlignLeft | Qt::AlignTop, apply->text());
    painter.end();
    EXPECT_EQ(InkOf(shot, r, Qt::black),
              InkOf(expected, expected.rect(), Qt::black).translated(r.topLeft()));
}

}  // namespace
