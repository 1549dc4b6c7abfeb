#include "pages/banner_ui.h"

#include "platform/qtstrings_ui.h"

#include <QFontMetrics>
#include <QPainter>

void DrawBannerTitle(QImage& bitmap, const QString& title) {
    if (bitmap.isNull() || title.isEmpty()) return;
    QPainter p(&bitmap);
    QFont font = ProgramFont(8, true);
    p.setFont(font);
    p.setPen(Qt::white);
    QFontMetrics fm(font);
    int x = bitmap.width() / 2 - fm.horizontalAdvance(title) / 2;
    p.drawText(x, 12 + fm.ascent(), title);
}
