#include "platform/pictures_ui.h"

#include <gtest/gtest.h>

#include <QBuffer>

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

} // namespace
