#include "controls/vrnbutton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QEnterEvent>
#include <QImage>

namespace {

// Distinct colours, so every pixel tells which rule drew it.
const QColor kBorder(0, 0, 255), kLight(0, 255, 0), kShadow(255, 0, 255), kHot(255, 0, 0);

struct Face {
    QColor topLeft, topRight, bottomLeft, bottomRight;
    QColor inside;      // a pixel of the face away from frame and caption
    QColor caption;     // the brightest caption pixel
};

Face Render(TVrnButton& b) {
    QImage img = b.grab().toImage();
    Face f;
    f.topLeft = img.pixelColor(0, 0);
    f.topRight = img.pixelColor(img.width() - 1, 0);
    f.bottomLeft = img.pixelColor(0, img.height() - 1);
    f.bottomRight = img.pixelColor(img.width() - 1, img.height() - 1);
    f.inside = img.pixelColor(2, img.height() / 2);
    int best = -1;
    for (int y = 4; y < img.height() - 4; ++y)
        for (int x = 4; x < img.width() - 4; ++x) {
            QColor c = img.pixelColor(x, y);
            int v = c.red() + c.green() + c.blue();
            if (v > best) best = v, f.caption = c;
        }
    return f;
}

void Enter(QWidget& w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&w, &e);
}

void Leave(QWidget& w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        b.setText(QStringLiteral("OK"));
        b.resize(75, 25);
        b.SetBorderColor(kBorder);
        b.SetBorderColorHighl(kLight);
        b.SetBorderColorShadw(kShadow);
        b.SetHighlightColor(kHot);
        // Whole pixels, so the caption's colour can be read back exactly.
        QFont f = b.font();
        f.setStyleStrategy(QFont::NoAntialias);
        b.setFont(f);
    }
    TVrnButton b;
};

TEST_F(ButtonTest, NormalLookIsBlackWithOutlineAndSilverCaption) {
    Face f = Render(b);
    for (QColor c : {f.topLeft, f.topRight, f.bottomLeft, f.bottomRight}) EXPECT_EQ(c, kBorder);
    EXPECT_EQ(f.inside, QColor(Qt::black));
    EXPECT_EQ(f.caption, QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(ButtonTest, HotTrackedRaisedFrameAndHighlightCaptionThenBackToSilver) {
    int entered = 0, left = 0;
    QObject::connect(&b, &TVrnButton::MouseEnter, [&] { ++entered; });
    QObject::connect(&b, &TVrnButton::MouseExit, [&] { ++left; });
    Enter(b);
    Face f = Render(b);
    EXPECT_EQ(f.topLeft, kLight);
    EXPECT_EQ(f.topRight, kLight);   // the light top edge is drawn last
    EXPECT_EQ(f.bottomLeft, kLight);
    EXPECT_EQ(f.bottomRight, kShadow);
    EXPECT_EQ(f.inside, QColor(Qt::black));
    EXPECT_EQ(f.caption, kHot);

    b.setDown(true); // the mouse presses it: sunken
    f = Render(b);
    EXPECT_EQ(f.topLeft, kShadow);
    EXPECT_EQ(f.bottomRight, kLight);
    b.setDown(false);

    Leave(b);
    f = Render(b);
    EXPECT_EQ(f.caption, QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(f.topLeft, kBorder);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);

    // Without hot tracking the frame still rises but the caption stays silver.
    b.SetHotTrack(false);
    Enter(b);
    f = Render(b);
    EXPECT_EQ(f.topLeft, kLight);
    EXPECT_EQ(f.caption, QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(ButtonTest, KeyboardPressWithMouseElsewhereShowsNoSunkenFrame) {
    b.setDown(true);
    Face f = Render(b);
    EXPECT_EQ(f.topLeft, kBorder);
    EXPECT_EQ(f.bottomRight, kBorder);
    EXPECT_EQ(f.caption, QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(ButtonTest, DisabledNeverHotAndGrayOnTheNormalLook) {
    b.setEnabled(false);
    Enter(b);
    EXPECT_FALSE(b.MouseInside());
    Face f = Render(b);
    EXPECT_EQ(f.topLeft, kBorder);
    EXPECT_EQ(f.caption, QColor(0x80, 0x80, 0x80));

    // Disabled while hot: the hot look goes with it.
    b.setEnabled(true);
    Enter(b);
    b.setEnabled(false);
    f = Render(b);
    EXPECT_EQ(f.topLeft, kBorder);
    EXPECT_EQ(f.caption, QColor(0x80, 0x80, 0x80));
}

TEST_F(ButtonTest, ModalResultFinishesItsDialogAndDoubleClickPressesTwice) {
    QDialog dlg;
    auto* ok = new TVrnButton(QStringLiteral("OK"), &dlg);
    ok->SetModalResult(6);
    int clicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
    dlg.show();
    ok->click();
    EXPECT_EQ(dlg.result(), 6);
    EXPECT_FALSE(dlg.isVisible());

    TVrnButton twice;
    twice.resize(75, 25);
    int n = 0;
    QObject::connect(&twice, &QPushButton::clicked, [&] { ++n; });
    const QPointF p(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, p, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, p, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&twice, &press);
    QApplication::sendEvent(&twice, &release);
    QApplication::sendEvent(&twice, &dbl);
    QApplication::sendEvent(&twice, &release);
    EXPECT_EQ(n, 2);
}

} // namespace
