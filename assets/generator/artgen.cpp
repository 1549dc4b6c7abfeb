// Draws the program's artwork into the assets folder given on the command
// line. Everything is painted from code so the pictures can be remade:
//   cmake --build BUILD --target artwork
// The look: near-black grounds, the six scheme colours, silver and gold.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

QString gOut;

struct Scheme {
    const char* name;
    QColor swatch;    // the scheme swatch of the preferences dialog
    QColor highlight; // the text highlight colour
};
const Scheme kSchemes[6] = {
    {"Green", QColor(0x72, 0x9B, 0x70), QColor(0x00, 0x64, 0x00)},
    {"Gold", QColor(0x9A, 0x9D, 0x6F), QColor(0x79, 0x79, 0x00)},
    {"Aqua", QColor(0x6C, 0x9F, 0x98), QColor(0x2B, 0x77, 0x7D)},
    {"Blue", QColor(0x80, 0x8A, 0xA0), QColor(0x4E, 0x74, 0x9A)},
    {"Purple", QColor(0xA5, 0x97, 0xB0), QColor(0x7E, 0x30, 0x81)},
    {"Silver", QColor(0xA6, 0xA6, 0xA6), QColor(0x80, 0x80, 0x80)},
};
const QColor kGold(0xD8, 0xB4, 0x5A);
const QColor kSilver(0xC0, 0xC0, 0xC0);

QColor Shade(const QColor& c, double f) {
    return QColor::fromRgbF(qBound(0.0, c.redF() * f, 1.0), qBound(0.0, c.greenF() * f, 1.0),
                            qBound(0.0, c.blueF() * f, 1.0));
}

void Save(const QImage& img, const QString& name) {
    QImage out = img.convertToFormat(QImage::Format_RGB888);
    const bool jpeg = name.endsWith(QLatin1String(".jpg"));
    if (!out.save(gOut + QLatin1Char('/') + name, jpeg ? "JPG" : "PNG", jpeg ? 92 : -1)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        std::exit(1);
    }
}

QImage Canvas(int w, int h, const QColor& fill = Qt::black) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

QString Sans() {
    return QFontDatabase::hasFamily(QStringLiteral("Verdana")) ? QStringLiteral("Verdana")
                                                               : QStringLiteral("DejaVu Sans");
}

QFont Font(int px, bool bold = false, bool serif = false) {
    QFont f(serif ? QStringLiteral("DejaVu Serif") : Sans());
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// An eight-pointed star (two overlaid squares), the motif of the artwork.
QPainterPath Star(QPointF c, double r) {
    QPainterPath path;
    for (int k = 0; k < 16; ++k) {
        const double a = M_PI / 8 * k - M_PI / 2;
        const double rr = (k % 2) ? r * 0.72 : r;
        QPointF p(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        if (k == 0) path.moveTo(p);
        else path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

// A seamless 64 x 64 tile: a lattice of stars, drawn with wrap-around so the
// edges meet.
QImage Wallpaper(const Scheme& s) {
    QImage img = Canvas(64, 64, Shade(s.swatch, 0.30));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int dx : {-64, 0, 64})
        for (int dy : {-64, 0, 64}) {
            p.save();
            p.translate(dx, dy);
            // Diagonal lines joining the star centres.
            p.setPen(QPen(Shade(s.swatch, 0.42), 1.0));
            p.drawLine(QPointF(0, 0), QPointF(64, 64));
            p.drawLine(QPointF(64, 0), QPointF(0, 64));
            for (QPointF c : {QPointF(0, 0), QPointF(64, 0), QPointF(0, 64), QPointF(64, 64)}) {
                p.setPen(QPen(Shade(s.swatch, 0.58), 1.0));
                p.setBrush(Shade(s.swatch, 0.38));
                p.drawPath(Star(c, 13));
            }
            p.setPen(QPen(Shade(s.swatch, 0.52), 1.0));
            p.setBrush(Shade(s.swatch, 0.34));
            p.drawPath(Star(QPointF(32, 32), 9));
            p.restore();
        }
    return img;
}

// A 492 x 39 heading band in the highlight colour; the page title is drawn
// over its middle at run time, so the middle stays calm.
QImage Banner(const Scheme& s) {
    QImage img = Canvas(492, 39);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Darker in the middle, where the white title goes; lighter at the ends.
    QLinearGradient g(0, 0, 492, 0);
    g.setColorAt(0.0, Shade(s.highlight, 1.15));
    g.setColorAt(0.5, Shade(s.highlight, 0.45));
    g.setColorAt(1.0, Shade(s.highlight, 1.15));
    p.fillRect(img.rect(), g);
    QLinearGradient v(0, 0, 0, 39);
    v.setColorAt(0, QColor(255, 255, 255, 40));
    v.setColorAt(0.5, QColor(255, 255, 255, 0));
    v.setColorAt(1, QColor(0, 0, 0, 90));
    p.fillRect(img.rect(), v);
    // Small stars at both ends, fading towards the title.
    for (int i = 0; i < 4; ++i) {
        QColor c = Shade(s.highlight, 1.6);
        c.setAlphaF(0.6 - i * 0.12);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(Star(QPointF(16 + i * 22, 19.5), 6));
        p.drawPath(Star(QPointF(476 - i * 22, 19.5), 6));
    }
    p.setPen(QPen(Shade(s.highlight, 1.7), 1));
    p.drawLine(0, 0, 491, 0);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawLine(0, 38, 491, 38);
    return img;
}

// 48 x 5: eight 6 x 5 pieces (bottom-left, bottom, bottom-right, top-left,
// top, top-right, left, right). A silver bevel: light top and left, dark
// bottom and right, a black outer line.
QImage SmBorder() {
    QImage img = Canvas(48, 5);
    const QColor outer(0x10, 0x10, 0x10), light(0xC8, 0xC8, 0xC8), mid(0x80, 0x80, 0x80),
        dark(0x38, 0x38, 0x38);
    auto px = [&](int piece, int x, int y, const QColor& c) { img.setPixelColor(piece * 6 + x, y, c); };
    auto row = [&](int piece, int y, const QColor& c) {
        for (int x = 0; x < 6; ++x) px(piece, x, y, c);
    };
    auto col = [&](int piece, int x, const QColor& c) {
        for (int y = 0; y < 5; ++y) px(piece, x, y, c);
    };
    // Pieces start as the wallpaper-neutral mid tone, then get their lines.
    for (int piece = 0; piece < 8; ++piece)
        for (int y = 0; y < 5; ++y) row(piece, y, Shade(mid, 0.6));
    // Top edge (4) and corners (3, 5).
    for (int piece : {3, 4, 5}) {
        row(piece, 0, outer);
        row(piece, 1, light);
        row(piece, 2, mid);
    }
    // Bottom edge (1) and corners (0, 2).
    for (int piece : {0, 1, 2}) {
        row(piece, 4, outer);
        row(piece, 3, dark);
        row(piece, 2, mid);
    }
    // Left edge (6) and left corners (0, 3).
    for (int piece : {6, 0, 3}) {
        col(piece, 0, outer);
        col(piece, 1, piece == 0 ? dark : light);
    }
    // Right edge (7) and right corners (2, 5).
    for (int piece : {7, 2, 5}) {
        col(piece, 5, outer);
        col(piece, 4, piece == 5 ? light : dark);
    }
    // The middle of the side pieces is the panel face seen through.
    for (int piece : {6, 7})
        for (int y = 0; y < 5; ++y)
            for (int x = 2; x < 4; ++x) px(piece, x, y, Shade(mid, 0.6));
    px(3, 1, 1, light);
    px(2, 4, 3, dark);
    return img;
}

// The basmala, as large as px allows while it fits the rectangle's width.
void Calligraphy(QPainter& p, const QRectF& r, int px, const QString& text = QString::fromUtf8("بسم الله الرحمن الرحيم")) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    for (; px > 6; --px) {
        f.setPixelSize(px);
        if (QFontMetricsF(f).horizontalAdvance(text) <= r.width() - 4) break;
    }
    p.setFont(f);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kGold.lighter(140));
    g.setColorAt(1, kGold.darker(130));
    p.setPen(QPen(QBrush(g), 1));
    p.drawText(r, Qt::AlignCenter, text);
}

// Calligraphy set inside a star's outline: the lines are centred on the
// star and as large as they can be while every stroke stays a margin inside
// it. A single line and the words split over two lines are both tried; the
// larger fit wins.
void CalligraphyInStar(QPainter& p, QPointF centre, double radius, double margin, int maxPx,
                       const QStringList& words) {
    const QPainterPath inside = Star(centre, radius - margin);
    auto layout = [&](const QStringList& lines, int px) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(px);
        const QFontMetricsF fm(f);
        const double lineHeight = fm.ascent() + fm.descent() * 0.6;
        QPainterPath path;
        for (int i = 0; i < lines.size(); ++i) {
            const double w = fm.horizontalAdvance(lines[i]);
            path.addText(QPointF(-w / 2, i * lineHeight + fm.ascent()), f, lines[i]);
        }
        // Centred on the ink, not on the font's boxes.
        const QRectF ink = path.boundingRect();
        return path.translated(centre - ink.center());
    };
    QList<QStringList> choices = {{words.join(QLatin1Char(' '))}};
    if (words.size() > 1) {
        const int half = int(words.size() + 1) / 2;
        choices.push_back({words.mid(0, half).join(QLatin1Char(' ')), words.mid(half).join(QLatin1Char(' '))});
    }
    QPainterPath best;
    int bestPx = 0;
    for (const QStringList& lines : choices)
        for (int px = maxPx; px > bestPx && px >= 5; --px) {
            QPainterPath path = layout(lines, px);
            if (inside.contains(path)) {
                best = path;
                bestPx = px;
                break;
            }
        }
    const QRectF ink = best.boundingRect();
    QLinearGradient g(ink.topLeft(), ink.bottomLeft());
    g.setColorAt(0, kGold.lighter(140));
    g.setColorAt(1, kGold.darker(130));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(best);
    p.restore();
}

QImage Bismillah(int w, int h, int px) {
    QImage img = Canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Calligraphy(p, QRectF(0, 0, w, h), px);
    return img;
}

// The small one is square-ish: a framed medallion with the first words.
QImage BismillahSmall() {
    QImage img = Canvas(50, 35);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kGold.darker(160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Star(QPointF(25, 17.5), 17));
    CalligraphyInStar(p, QPointF(25, 17.5), 17, 1.5, 14, {QString::fromUtf8("بسم"), QString::fromUtf8("الله")});
    return img;
}

QImage Splash() {
    QImage img = Canvas(507, 281);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(253, 120), 300);
    glow.setColorAt(0, QColor(0x1C, 0x2A, 0x3A));
    glow.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(img.rect(), glow);
    // A faint lattice in the blue scheme colour.
    QImage tile = Wallpaper(kSchemes[3]);
    p.setOpacity(0.18);
    for (int x = 0; x < 507; x += 64)
        for (int y = 0; y < 281; y += 64) p.drawImage(x, y, tile);
    p.setOpacity(1);
    p.setPen(QPen(kGold.darker(140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Star(QPointF(253, 88), 60));
    p.drawPath(Star(QPointF(253, 88), 52));
    CalligraphyInStar(p, QPointF(253, 88), 52, 3, 24,
                      QString::fromUtf8("بسم الله الرحمن الرحيم").split(QLatin1Char(' ')));
    p.setPen(Qt::white);
    p.setFont(Font(30, true));
    p.drawText(QRectF(0, 150, 507, 40), Qt::AlignCenter, QStringLiteral("HALVORA"));
    p.setPen(kSilver);
    p.setFont(Font(12));
    p.drawText(QRectF(0, 190, 507, 20), Qt::AlignCenter, QStringLiteral("Stories of the Prophets"));
    // The version and the "Loading..." text are the start-up window's own
    // labels, laid over the picture: none here.
    p.setPen(QPen(QColor(0x3E, 0x3E, 0x3E), 1));
    p.drawRect(0, 0, 506, 280);
    return img;
}

QImage About() {
    QImage img = Canvas(353, 81);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 353, 0);
    g.setColorAt(0, QColor(0x10, 0x18, 0x24));
    g.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(kGold.darker(130), 1));
    p.drawPath(Star(QPointF(40, 40.5), 30));
    p.drawPath(Star(QPointF(40, 40.5), 24));
    p.setPen(kGold);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 1));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(10, 10, 60, 61), Qt::AlignCenter, QString::fromUtf8("الله"));
    p.setPen(Qt::white);
    p.setFont(Font(24, true));
    p.drawText(QRectF(84, 12, 260, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Halvora"));
    p.setPen(kSilver);
    p.setFont(Font(11));
    p.drawText(QRectF(86, 46, 260, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Stories of the Prophets  \u00b7  1.5"));
    return img;
}

QImage Welcome1() {
    QImage img = Canvas(497, 56);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 497, 0);
    g.setColorAt(0, QColor(0x06, 0x10, 0x1A));
    g.setColorAt(0.5, QColor(0x16, 0x26, 0x36));
    g.setColorAt(1, QColor(0x06, 0x10, 0x1A));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(kGold.darker(150), 1));
    for (int x : {30, 467}) p.drawPath(Star(QPointF(x, 28), 18));
    Calligraphy(p, QRectF(0, 0, 497, 56), 22);
    p.setPen(QPen(kGold.darker(180), 1));
    p.drawLine(60, 50, 437, 50);
    return img;
}

QImage Welcome2() {
    QImage img = Canvas(450, 224);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A night desert: sky gradient, crescent, dunes.
    QLinearGradient sky(0, 0, 0, 224);
    sky.setColorAt(0, QColor(0x02, 0x05, 0x10));
    sky.setColorAt(0.7, QColor(0x1A, 0x2C, 0x48));
    sky.setColorAt(1, QColor(0x2A, 0x30, 0x40));
    p.fillRect(img.rect(), sky);
    // Stars at fixed, irregular places.
    const int stars[][2] = {{40, 20}, {92, 48}, {150, 14}, {210, 36}, {260, 12}, {318, 52},
                            {380, 24}, {420, 60}, {60, 80},  {130, 96}, {240, 70}, {300, 92}};
    p.setPen(Qt::NoPen);
    for (auto& s : stars) {
        p.setBrush(QColor(255, 255, 230, 200));
        p.drawEllipse(QPointF(s[0], s[1]), 1.1, 1.1);
    }
    // Crescent.
    QPainterPath moon;
    moon.addEllipse(QPointF(352, 62), 26, 26);
    QPainterPath bite;
    bite.addEllipse(QPointF(364, 54), 23, 23);
    p.setBrush(QColor(0xF0, 0xDC, 0x9A));
    p.drawPath(moon.subtracted(bite));
    // Dunes.
    QPainterPath far;
    far.moveTo(0, 170);
    far.cubicTo(80, 140, 160, 150, 240, 165);
    far.cubicTo(320, 178, 390, 145, 450, 155);
    far.lineTo(450, 224);
    far.lineTo(0, 224);
    p.setBrush(QColor(0x3A, 0x2E, 0x22));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(0, 200);
    near.cubicTo(100, 175, 200, 210, 300, 192);
    near.cubicTo(370, 180, 420, 198, 450, 190);
    near.lineTo(450, 224);
    near.lineTo(0, 224);
    p.setBrush(QColor(0x20, 0x18, 0x10));
    p.drawPath(near);
    // A domed silhouette on the far dune.
    p.setBrush(QColor(0x0C, 0x0C, 0x10));
    p.drawRect(QRectF(96, 136, 40, 22));
    p.drawEllipse(QRectF(102, 118, 28, 28));
    p.drawRect(QRectF(142, 112, 5, 46));
    p.drawEllipse(QRectF(140.5, 106, 8, 8));
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.setFont(Font(11, false, true));
    p.drawText(QRectF(0, 200, 440, 20), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("\u201cIn the Name of Allah, Most Gracious, Most Merciful\u201d"));
    return img;
}

// The recitation icon: a small speaker with sound arcs, 19 x 16.
// 64 x 64: the desktop's icon for the program, a gold star on a dark tile.
QImage AppIcon() {
    QImage img(64, 64, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    p.setBrush(QColor(0x14, 0x18, 0x22));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    QLinearGradient g(0, 8, 0, 56);
    g.setColorAt(0, kGold.lighter(140));
    g.setColorAt(1, kGold.darker(130));
    p.setPen(QPen(kGold.darker(160), 1.2));
    p.setBrush(g);
    p.drawPath(Star(QPointF(32, 32), 24));
    p.setBrush(QColor(0x14, 0x18, 0x22));
    p.drawEllipse(QPointF(32, 32), 9, 9);
    return img;
}

QImage AudioIcon() {
    QImage img = Canvas(19, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(2, 6);
    body.lineTo(5, 6);
    body.lineTo(9, 2.5);
    body.lineTo(9, 13.5);
    body.lineTo(5, 10);
    body.lineTo(2, 10);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSilver, 1.3));
    p.drawArc(QRectF(7, 5, 6, 6), -50 * 16, 100 * 16);
    p.drawArc(QRectF(6, 2.5, 11, 11), -50 * 16, 100 * 16);
    return img;
}

QImage Icon16(const std::function<void(QPainter&)>& draw) {
    QImage img = Canvas(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return img;
}

void Book(QPainter& p, const QColor& cover, bool open) {
    if (!open) {
        p.setPen(QPen(cover.darker(160), 1));
        p.setBrush(cover);
        p.drawRoundedRect(QRectF(3.5, 2.5, 10, 11), 1, 1);
        p.setPen(QPen(kGold, 1));
        p.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
        p.drawPath(Star(QPointF(9.5, 8), 2.5));
        return;
    }
    p.setPen(QPen(kSilver.darker(140), 1));
    p.setBrush(QColor(0xE8, 0xE4, 0xD8));
    QPainterPath left, right;
    left.moveTo(8, 4);
    left.cubicTo(6, 3, 3, 3, 1.5, 4);
    left.lineTo(1.5, 13);
    left.cubicTo(3, 12, 6, 12, 8, 13);
    left.closeSubpath();
    right.moveTo(8, 4);
    right.cubicTo(10, 3, 13, 3, 14.5, 4);
    right.lineTo(14.5, 13);
    right.cubicTo(13, 12, 10, 12, 8, 13);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(cover, 1));
    for (double y : {6.5, 8.5, 10.5}) {
        p.drawLine(QPointF(3, y), QPointF(6.5, y));
        p.drawLine(QPointF(9.5, y), QPointF(13, y));
    }
}

void Hourglass(QPainter& p, QPointF o, double s) {
    QPainterPath glass;
    glass.moveTo(o.x(), o.y());
    glass.lineTo(o.x() + 8 * s, o.y());
    glass.lineTo(o.x() + 4.6 * s, o.y() + 6 * s);
    glass.lineTo(o.x() + 8 * s, o.y() + 12 * s);
    glass.lineTo(o.x(), o.y() + 12 * s);
    glass.lineTo(o.x() + 3.4 * s, o.y() + 6 * s);
    glass.closeSubpath();
    p.setPen(QPen(kSilver, 1));
    p.setBrush(QColor(0x30, 0x30, 0x38));
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    QPainterPath sand;
    sand.moveTo(o.x() + 1.5 * s, o.y() + 11 * s);
    sand.lineTo(o.x() + 6.5 * s, o.y() + 11 * s);
    sand.lineTo(o.x() + 4 * s, o.y() + 8 * s);
    sand.closeSubpath();
    p.drawPath(sand);
}

void Arrow(QPainter& p) {
    QPainterPath a;
    a.moveTo(1.5, 1.5);
    a.lineTo(1.5, 12);
    a.lineTo(4, 9.5);
    a.lineTo(6, 14);
    a.lineTo(7.5, 13.2);
    a.lineTo(5.6, 9);
    a.lineTo(9, 9);
    a.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(a);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: halvora-artgen ASSETS_FOLDER\n");
        return 2;
    }
    gOut = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(gOut);

    Save(Splash(), QStringLiteral("Splash.jpg"));
    Save(About(), QStringLiteral("About.png"));
    Save(BismillahSmall(), QStringLiteral("Bismillah1.png"));
    Save(Bismillah(121, 24, 13), QStringLiteral("Bismillah2.png"));
    Save(Welcome1(), QStringLiteral("Welcome1.jpg"));
    Save(Welcome2(), QStringLiteral("Welcome2.jpg"));
    Save(AudioIcon(), QStringLiteral("Audio.png"));
    Save(AppIcon(), QStringLiteral("Halvora.png"));
    for (const Scheme& s : kSchemes) {
        Save(Banner(s), QStringLiteral("Banner%1.png").arg(QLatin1String(s.name)));
        Save(Wallpaper(s), QStringLiteral("Wallpaper%1.png").arg(QLatin1String(s.name)));
    }
    Save(SmBorder(), QStringLiteral("SmBorder.png"));

    const QColor green(0x4C, 0xB0, 0x50);
    Save(Icon16([&](QPainter& p) {
             p.setPen(QPen(green.darker(150), 1));
             p.setBrush(green);
             p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
         }),
         QStringLiteral("Status0.png"));
    Save(Icon16([](QPainter& p) { Hourglass(p, QPointF(4, 2), 1.0); }), QStringLiteral("Status1.png"));
    Save(Icon16([](QPainter& p) {
             Arrow(p);
             Hourglass(p, QPointF(9, 6), 0.75);
         }),
         QStringLiteral("Status2.png"));

    Save(Icon16([](QPainter& p) {
             p.setPen(QPen(kGold.darker(130), 1));
             p.setBrush(kGold);
             p.drawPath(Star(QPointF(8, 8), 7));
         }),
         QStringLiteral("Tree0.png"));
    Save(Icon16([](QPainter& p) { Book(p, QColor(0x2B, 0x77, 0x7D), false); }), QStringLiteral("Tree1.png"));
    Save(Icon16([](QPainter& p) { Book(p, QColor(0x2B, 0x77, 0x7D), true); }), QStringLiteral("Tree2.png"));

    Save(Icon16([](QPainter& p) {
             p.setPen(QPen(kSilver, 1));
             p.setBrush(QColor(0x4E, 0x74, 0x9A));
             p.drawRect(QRectF(1.5, 3.5, 13, 10));
             p.setPen(QPen(Qt::white, 1));
             for (double y : {6.5, 9.0, 11.5}) p.drawLine(QPointF(3.5, y), QPointF(12.5, y));
         }),
         QStringLiteral("News0.png"));
    Save(Icon16([](QPainter& p) {
             p.setPen(QPen(kSilver.darker(120), 1));
             p.setBrush(QColor(0xE8, 0xE4, 0xD8));
             p.drawRect(QRectF(3.5, 1.5, 9, 13));
             p.setPen(QPen(QColor(0x4E, 0x74, 0x9A), 1));
             for (double y : {4.5, 7.0, 9.5, 12.0}) p.drawLine(QPointF(5, y), QPointF(11, y));
         }),
         QStringLiteral("News1.png"));
    Save(Icon16([](QPainter& p) {
             p.setPen(QPen(QColor(0x6C, 0x9F, 0x98), 1));
             p.setBrush(QColor(0x2B, 0x77, 0x7D));
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(5, 1.5, 6, 13));
             p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
         }),
         QStringLiteral("News2.png"));
    Save(Icon16([](QPainter& p) {
             QPainterPath t;
             t.moveTo(8, 1.5);
             t.lineTo(15, 14.5);
             t.lineTo(1, 14.5);
             t.closeSubpath();
             p.setPen(QPen(QColor(0x80, 0x40, 0x00), 1));
             p.setBrush(QColor(0xFF, 0xC0, 0x00));
             p.drawPath(t);
             p.setPen(QPen(Qt::black, 2));
             p.drawLine(QPointF(8, 6), QPointF(8, 10));
             p.drawPoint(QPointF(8, 12.5));
         }),
         QStringLiteral("News3.png"));
    return 0;
}
