#include "platform/pictures_ui.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPolygonF>

#include <cmath>

namespace {

TEST(Pictures, JpegDecodedByLibjpegMatchesTheArtwork) {
    QByteArray bytes = ArtworkBytes(QStringLiteral("Splash.jpg"));
    ASSERT_FALSE(bytes.isEmpty());
    QImage img = DecodeJpeg(bytes);
    EXPECT_EQ(img.size(), QSize(507, 281));
    // Agrees with an independent decoder to within JPEG rounding.
    QImage ref = QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB32);
    if (!ref.isNull()) {
        for (QPoint p : {QPoint(10, 10), QPoint(253, 180), QPoint(500, 270)}) {
            const QColor a = img.pixelColor(p), b = ref.pixelColor(p);
            EXPECT_NEAR(a.red(), b.red(), 3);
            EXPECT_NEAR(a.green(), b.green(), 3);
            EXPECT_NEAR(a.blue(), b.blue(), 3);
        }
    }
}

TEST(Pictures, BrokenJpegGivesNullImageNotACrash) {
    QByteArray bytes = ArtworkBytes(QStringLiteral("Welcome1.jpg"));
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture at all")).isNull());
    // Cut off in the middle of the scan: decoded as far as it goes or refused,
    // but never a crash.
    QImage cut = DecodeJpeg(bytes.left(bytes.size() / 2));
    if (!cut.isNull()) {
        EXPECT_EQ(cut.size(), QSize(497, 56));
    }
    EXPECT_TRUE(DecodeJpeg(bytes.left(40)).isNull());
}

TEST(Pictures, TablesByStoredNumber) {
    EXPECT_EQ(WallpaperTile(3), Artwork(QStringLiteral("WallpaperBlue.png")));
    EXPECT_EQ(WallpaperTile(9), Artwork(QStringLiteral("WallpaperGreen.png")));
    EXPECT_EQ(WallpaperTile(-1), WallpaperTile(0));
    EXPECT_EQ(BannerPicture(4), Artwork(QStringLiteral("BannerPurple.png")));
    EXPECT_EQ(BannerPicture(6), Artwork(QStringLiteral("BannerGreen.png")));
    EXPECT_EQ(BannerPicture(0).size(), QSize(492, 39));
    EXPECT_TRUE(Artwork(QStringLiteral("Missing.png")).isNull());
    // The six tiles differ: each scheme has its own colour.
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j) EXPECT_NE(WallpaperTile(i), WallpaperTile(j)) << i << j;
}

// The artwork's eight-pointed star: 16 corners, alternately on radius r and
// on 0.72 r, the first straight up.
QPolygonF Star(QPointF c, double r) {
    QPolygonF star;
    for (int k = 0; k < 16; ++k) {
        const double a = M_PI / 8 * k - M_PI / 2, rr = (k % 2) ? r * 0.72 : r;
        star << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    }
    return star;
}

TEST(Pictures, CalligraphyStaysInsideTheStar) {
    // Within the star's box, every pixel brighter than the outline's gold is
    // lettering; all of it lies inside the (inner) outline.
    struct Case {
        const char* name;
        QPointF centre;
        double radius;
        QRect box;
        int threshold; // above the outline's lightness (JPEG: with room for its noise)
    };
    const Case cases[] = {
        {"Bismillah1.png", {25, 17.5}, 17, {0, 0, 50, 35}, 115},
        {"Splash.jpg", {253, 88}, 52, {185, 24, 137, 126}, 150},
    };
    for (const Case& c : cases) {
        const QImage img = Artwork(QString::fromLatin1(c.name)).convertToFormat(QImage::Format_RGB32);
        const QPolygonF inside = Star(c.centre, c.radius);
        int lettering = 0, outside = 0;
        for (int y = c.box.top(); y <= c.box.bottom(); ++y)
            for (int x = c.box.left(); x <= c.box.right(); ++x) {
                if (img.pixelColor(x, y).lightness() <= c.threshold) continue;
                ++lettering;
                if (!inside.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill)) ++outside;
            }
        EXPECT_GT(lettering, 20) << c.name;
        EXPECT_EQ(outside, 0) << c.name;
    }
}

TEST(Pictures, SplashLeavesItsTextsToTheStartUpWindow) {
    // "Loading..." and the version are labels over the picture (at 248, 222
    // and 44, 252); the picture itself is plain all along its lower band.
    const QImage img = Artwork(QStringLiteral("Splash.jpg")).convertToFormat(QImage::Format_RGB32);
    int light = 0;
    for (int y = 214; y < 278; ++y)
        for (int x = 3; x < 504; ++x) light += img.pixelColor(x, y).lightness() > 90;
    EXPECT_EQ(light, 0);
}

} // namespace
