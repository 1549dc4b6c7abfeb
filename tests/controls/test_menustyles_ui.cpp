#include "controls/menustyles.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

namespace {

const QColor kOutside(0x12, 0x34, 0x56); // what lies under the item before drawing

struct Drawn {
    QImage img;
    int textLeft = -1; // leftmost pixel of the caption colour
    int textRight = -1;
};

Drawn Draw(const TVrnMenuStyleBase& style, const QString& caption, bool withImage, bool selected,
           bool disabled, const QColor& textColour, QRect r = QRect(10, 5, 200, 20)) {
    Drawn d;
    d.img = QImage(240, 40, QImage::Format_RGB32);
    d.img.fill(kOutside);
    QPixmap icon(16, 16);
    icon.fill(QColor(0, 200, 0));
    {
        QPainter p(&d.img);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(12);
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        style.DrawItem(p, r, caption, withImage ? QIcon(icon) : QIcon(), selected, disabled);
    }
    for (int x = 0; x < d.img.width(); ++x)
        for (int y = 0; y < d.img.height(); ++y)
            if (d.img.pixelColor(x, y) == textColour) {
                if (d.textLeft < 0) d.textLeft = x;
                d.textRight = x;
                break;
            }
    return d;
}

class TestStyle : public TVrnPopUpMenuStyle {
public:
    TestStyle() : TVrnPopUpMenuStyle(nullptr) {}
};

TEST(MenuStyle, TextPositionWithStripeAndImage) {
    // Item rectangle left edge 10: text at +4, +8 with the stripe, +22 more
    // with an image. The glyph "E" starts at most a pixel after its origin.
    struct Case {
        bool stripe, image;
        int origin;
    };
    for (Case c : {Case{false, false, 14}, Case{true, false, 18}, Case{false, true, 36}, Case{true, true, 40}}) {
        TestStyle s;
        s.LeftStripe = c.stripe;
        Drawn d = Draw(s, QStringLiteral("E&xit"), c.image, false, false, Qt::white);
        EXPECT_GE(d.textLeft, c.origin) << c.stripe << c.image;
        EXPECT_LE(d.textLeft, c.origin + 2) << c.stripe << c.image;
        // The stripe is left as it was; the rest of the item is the back colour.
        EXPECT_EQ(d.img.pixelColor(10, 10), c.stripe ? kOutside : QColor(Qt::black));
        EXPECT_EQ(d.img.pixelColor(14, 24), QColor(Qt::black));
        // Image at (left + 4, top + 1).
        const int imgLeft = (c.stripe ? 14 : 10) + 4;
        if (c.image) {
            EXPECT_EQ(d.img.pixelColor(imgLeft, 6), QColor(0, 200, 0));
            EXPECT_NE(d.img.pixelColor(imgLeft, 5), QColor(0, 200, 0));
        }
    }
}

TEST(MenuStyle, AmpersandsAreRemoved) {
    TestStyle s;
    Drawn plain = Draw(s, QStringLiteral("Exit"), false, false, false, Qt::white);
    Drawn amp = Draw(s, QStringLiteral("E&xit"), false, false, false, Qt::white);
    Drawn dbl = Draw(s, QStringLiteral("E&&xit"), false, false, false, Qt::white);
    EXPECT_EQ(amp.img, plain.img);
    EXPECT_EQ(dbl.img, plain.img);
}

TEST(MenuStyle, SelectedDisabledAndSeparatorLooks) {
    TestStyle s;
    // Selected on the bar: gray fill, bar text colour.
    s.BarFontColor = QColor(255, 255, 0);
    Drawn bar = Draw(s, QStringLiteral("Copy"), false, true, false, QColor(255, 255, 0));
    EXPECT_EQ(bar.img.pixelColor(200, 10), QColor(0x80, 0x80, 0x80));
    EXPECT_GE(bar.textLeft, 18);

    // Selected without the bar: black inside a silver frame.
    s.ShowSelectBar = false;
    Drawn frame = Draw(s, QStringLiteral("Copy"), false, true, false, Qt::white);
    EXPECT_EQ(frame.img.pixelColor(14, 10), QColor(0xC0, 0xC0, 0xC0));  // left edge after stripe
    EXPECT_EQ(frame.img.pixelColor(209, 10), QColor(0xC0, 0xC0, 0xC0)); // right edge
    EXPECT_EQ(frame.img.pixelColor(100, 5), QColor(0xC0, 0xC0, 0xC0));  // top edge
    EXPECT_EQ(frame.img.pixelColor(200, 10), QColor(Qt::black));
    EXPECT_GE(frame.textLeft, 18);

    // Disabled, even when selected: silver text on black, no white left.
    s.ShowSelectBar = true;
    Drawn dis = Draw(s, QStringLiteral("Paste"), false, true, true, QColor(0xC0, 0xC0, 0xC0));
    EXPECT_GE(dis.textLeft, 18);
    EXPECT_EQ(dis.img.pixelColor(200, 10), QColor(Qt::black));
    Drawn noWhite = Draw(s, QStringLiteral("Paste"), false, true, true, Qt::white);
    EXPECT_EQ(noWhite.textLeft, -1);

    // A thin separator: one line across the middle (top 5 + 20 div 2 = 15).
    Drawn thin = Draw(s, QStringLiteral("-"), false, false, true, Qt::white);
    for (int x : {14, 100, 209}) EXPECT_EQ(thin.img.pixelColor(x, 15), QColor(0xC0, 0xC0, 0xC0)) << x;
    EXPECT_EQ(thin.img.pixelColor(100, 14), QColor(Qt::black));
    EXPECT_EQ(thin.img.pixelColor(100, 16), QColor(Qt::black));
    EXPECT_EQ(thin.textLeft, -1); // no caption: no dash above the line
    s.ThickSeperator = true;
    Drawn thick = Draw(s, QStringLiteral("-"), false, false, true, Qt::white);
    for (int y : {5, 15, 24}) EXPECT_EQ(thick.img.pixelColor(100, y), QColor(0xC0, 0xC0, 0xC0)) << y;
}

TEST(MenuStyle, CaptionsSitInTheMiddleOfTheirRows) {
    TestStyle s;
    for (int height : {16, 20, 30}) {
        const QRect r(10, 5, 200, height);
        Drawn d = Draw(s, QStringLiteral("Exit"), false, false, false, Qt::white, r);
        int top = -1, bottom = -1;
        for (int y = 0; y < d.img.height(); ++y)
            for (int x = 0; x < d.img.width(); ++x)
                if (d.img.pixelColor(x, y) == QColor(Qt::white)) {
                    if (top < 0) top = y;
                    bottom = y;
                    break;
                }
        ASSERT_GE(top, 0) << height;
        // Glyphs without descenders sit a little above the font's middle.
        const double middle = (top + bottom) / 2.0, rowMiddle = r.top() + (r.height() - 1) / 2.0;
        EXPECT_LE(std::abs(middle - rowMiddle), 2.5) << height << " " << top << "-" << bottom;
    }
}

TEST(MenuStyle, OnlyItemsPresentAtConstructionAndNotTheBarItems) {
    QMainWindow form;
    QMenu* file = form.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    QMenu* sub = file->addMenu(QStringLiteral("Recent"));
    QAction* recent = sub->addAction(QStringLiteral("Adam"));
    auto* popup = new QMenu(&form);
    QAction* copy = popup->addAction(QStringLiteral("Copy"));

    TVrnMainMenuStyle mainStyle(&form);
    TVrnPopUpMenuStyle popStyle(&form);
    QAction* late = file->addAction(QStringLiteral("Added later"));

    EXPECT_TRUE(mainStyle.IsStyled(exit));
    EXPECT_TRUE(mainStyle.IsStyled(recent));
    EXPECT_FALSE(mainStyle.IsStyled(file->menuAction())); // the bar item
    EXPECT_FALSE(mainStyle.IsStyled(copy));
    EXPECT_FALSE(mainStyle.IsStyled(late));
    EXPECT_TRUE(popStyle.IsStyled(copy));
    EXPECT_FALSE(popStyle.IsStyled(exit));

    // Drawn through the menu: the styled item is black, the late one is not.
    file->show();
    QImage img = file->grab().toImage();
    const QRect styled = file->actionGeometry(exit), unstyled = file->actionGeometry(late);
    EXPECT_EQ(img.pixelColor(styled.right() - 3, styled.center().y()), QColor(Qt::black));
    // The stripe shows the platform's menu colour, not the black under the items.
    const QColor menuColour = QApplication::palette("QMenu").color(QPalette::Window);
    ASSERT_NE(menuColour, QColor(Qt::black));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(img.pixelColor(styled.left() + x, styled.center().y()), menuColour) << x;
    EXPECT_EQ(img.pixelColor(styled.left() + 4, styled.center().y()), QColor(Qt::black));
    EXPECT_NE(img.pixelColor(unstyled.right() - 3, unstyled.center().y()), QColor(Qt::black));
    file->hide();
}

} // namespace
