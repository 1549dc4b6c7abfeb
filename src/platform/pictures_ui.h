#pragma once
// The program's pictures: the artwork embedded in the program, and JPEG
// decoding with libjpeg.
#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a baseline JPEG; a null image when the bytes are not one.
QImage DecodeJpeg(const QByteArray& bytes);

// An embedded picture by file name ("Splash.jpg", "BannerBlue.png"...); JPEG
// files go through DecodeJpeg. A null image for an unknown name.
QImage Artwork(const QString& name);
// The raw bytes of an embedded picture (empty for an unknown name).
QByteArray ArtworkBytes(const QString& name);

// Makes the embedded pictures reachable; Artwork calls it itself.
void RegisterArtwork();

// The tables that turn stored numbers into pictures.
QImage WallpaperTile(int colorScheme);    // 0 Green .. 5 Silver, else Green
QImage BannerPicture(int colorWordHL);    // 0 Green .. 5 Silver, else Green
