#include "controls/schemes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <memory>

namespace {

// Each piece of the strip in its own colour, in strip order.
const QColor kPiece[8] = {
    QColor(10, 0, 0), QColor(20, 0, 0), QColor(30, 0, 0), QColor(40, 0, 0),
    QColor(50, 0, 0), QColor(60, 0, 0), QColor(70, 0, 0), QColor(80, 0, 0),
};
enum { BL, B, BR, TL, T, TR, L, R };

QImage Strip() {
    QImage img(48, 5, QImage::Format_RGB32);
    for (int i = 0; i < 8; ++i)
        for (int x = 0; x < 6; ++x)
            for (int y = 0; y < 5; ++y) img.setPixelColor(i * 6 + x, y, kPiece[i]);
    return img;
}

// A tile whose every pixel tells where in the tile it is.
QImage Tile(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) img.setPixelColor(x, y, QColor(0, 100 + x, 100 + y));
    return img;
}

class SchemePanelTest : public ::testing::Test {
protected:
    QWidget form;
    TepSchemeStore* store = new TepSchemeStore(&form);
    TepScheme* scheme = new TepScheme(&form);
    void SetUp() override {
        store->SetSmBorder(Strip());
        scheme->SetSchemeStore(store);
    }
    QImage Render(int w, int h) {
        auto* panel = new TepSchemePanel(&form);
        EXPECT_EQ(panel->Scheme(), scheme); // found on the form
        panel->resize(w, h);
        QImage img = panel->grab().toImage();
        delete panel;
        return img;
    }
};

TEST_F(SchemePanelTest, SixteenHighPanelEdgesAndCorners) {
    store->SetWallPaper(Tile(8, 8));
    QImage img = Render(40, 16);
    // Left and right edge rows start at y 5; the bottom corners (y 11-16)
    // cover the third row.
    EXPECT_EQ(img.pixelColor(0, 5), kPiece[L]);
    EXPECT_EQ(img.pixelColor(5, 10), kPiece[L]);
    EXPECT_EQ(img.pixelColor(0, 11), kPiece[BL]);
    EXPECT_EQ(img.pixelColor(34, 7), kPiece[R]);
    EXPECT_EQ(img.pixelColor(39, 11), kPiece[BR]);
    EXPECT_EQ(img.pixelColor(33, 7), QColor(0, 100 + 33 % 8, 100 + 7)); // face just inside
    // Top: corners over the edge tiles.
    EXPECT_EQ(img.pixelColor(0, 0), kPiece[TL]);
    EXPECT_EQ(img.pixelColor(5, 4), kPiece[TL]);
    EXPECT_EQ(img.pixelColor(6, 0), kPiece[T]);
    EXPECT_EQ(img.pixelColor(33, 4), kPiece[T]);
    EXPECT_EQ(img.pixelColor(34, 0), kPiece[TR]);
    // Bottom edge between the corners.
    EXPECT_EQ(img.pixelColor(6, 15), kPiece[B]);
    EXPECT_EQ(img.pixelColor(33, 11), kPiece[B]);
    // The wallpaper is tiled from the top-left corner.
    EXPECT_EQ(img.pixelColor(20, 7), QColor(0, 100 + 20 % 8, 100 + 7));
}

TEST_F(SchemePanelTest, WallpaperTilesFromTheCornerAndIsReadAtEveryPaint) {
    store->SetWallPaper(Tile(64, 64));
    QImage img = Render(100, 80);
    EXPECT_EQ(img.pixelColor(70, 40), QColor(0, 100 + 6, 100 + 40));
    EXPECT_EQ(img.pixelColor(30, 70), QColor(0, 100 + 30, 100 + 6));
    store->SetWallPaper(Tile(16, 16));
    img = Render(100, 80);
    EXPECT_EQ(img.pixelColor(70, 40), QColor(0, 100 + 70 % 16, 100 + 40 % 16));
}

TEST_F(SchemePanelTest, EmptyWallpaperFillsWithTheFaceColour) {
    QImage caption(120, 3, QImage::Format_RGB32);
    caption.fill(Qt::white);
    caption.setPixelColor(110, 2, QColor(0x2B, 0x77, 0x7D));
    store->SetActiveCaption(caption);
    auto* panel = new TepSchemePanel(&form);
    panel->resize(60, 30);
    EXPECT_EQ(panel->Color(), QColor(0x2B, 0x77, 0x7D));
    EXPECT_EQ(panel->grab().toImage().pixelColor(30, 15), QColor(0x2B, 0x77, 0x7D));
    panel->SetColor(QColor(0x79, 0x79, 0x00));
    EXPECT_EQ(panel->grab().toImage().pixelColor(30, 15), QColor(0x79, 0x79, 0x00));
}

TEST_F(SchemePanelTest, WithoutStorePaintsPlainWithCaption) {
    auto* bare = new TepScheme(&form);
    auto* panel = new TepSchemePanel(&form);
    panel->SetScheme(bare);
    panel->resize(120, 40);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 90));
    pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
    panel->setPalette(pal);
    QImage empty = panel->grab().toImage();
    panel->SetCaption(QStringLiteral("Glossary"));
    QImage titled = panel->grab().toImage();
    EXPECT_EQ(titled.pixelColor(10, 20), QColor(0, 0, 90));
    EXPECT_NE(titled, empty); // the caption shows in the plain look
}

TEST_F(SchemePanelTest, NotificationsReachOwnerAndPanels) {
    struct Owner : QWidget {
        int notices = 0;
        bool event(QEvent* e) override {
            if (e->type() == kSchemeChangedEvent) ++notices;
            return QWidget::event(e);
        }
    } owner;
    auto* s = new TepScheme(&owner);
    auto store2 = std::make_unique<TepSchemeStore>();
    s->SetSchemeStore(store2.get());
    EXPECT_EQ(owner.notices, 1);
    int changed = 0;
    QObject::connect(s, &TepScheme::Changed, [&] { ++changed; });
    store2->SetWallPaper(Tile(4, 4)); // the panels follow the store's changes
    EXPECT_EQ(changed, 1);
    store2.reset(); // removal: reference cleared, owner told
    EXPECT_EQ(s->SchemeStore(), nullptr);
    EXPECT_EQ(owner.notices, 2);

    auto* panel = new TepSchemePanel(&owner);
    EXPECT_EQ(panel->Scheme(), s);
    delete s;
    EXPECT_EQ(panel->Scheme(), nullptr);
    panel->resize(30, 20);
    EXPECT_FALSE(panel->grab().isNull()); // paints plain, no dangling scheme
}

} // namespace
