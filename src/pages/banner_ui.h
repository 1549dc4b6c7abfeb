#pragma once
// The title banner at the top of every page.
#include <QImage>
#include <QString>

// Draws the title in white bold Verdana 8 points, centred, 12 pixels down.
void DrawBannerTitle(QImage& bitmap, const QString& title);
