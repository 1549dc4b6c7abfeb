#include "platform/qtstrings_ui.h"

#include <QFontDatabase>

namespace {

// Windows-1252 0x80..0x9F; 0 where the code page leaves the byte undefined
// (those bytes map to the same C1 control code, as Windows does).
const char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

QString FromAnsi(std::string_view text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (unsigned char c : text) {
        if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80]) out.append(QChar(kHigh[c - 0x80]));
        else out.append(QChar(char16_t(c)));
    }
    return out;
}

std::string ToAnsi(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(char(u));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHigh[i] ? kHigh[i] == u : u == 0x80 + i) {
                b = char(0x80 + i);
                break;
            }
        }
        out.push_back(b);
    }
    return out;
}

QString FromAnsiLines(std::string_view text) {
    QString s = FromAnsi(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

QColor ColorFromRef(uint32_t color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

uint32_t ColorToRef(const QColor& color) {
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

QString ProgramFontFamily() {
    static const QString family =
        QFontDatabase::hasFamily(QStringLiteral("Verdana")) ? QStringLiteral("Verdana")
                                                             : QStringLiteral("DejaVu Sans");
    return family;
}

QFont ProgramFont(int pointSize, bool bold) {
    QFont f(ProgramFontFamily(), pointSize);
    f.setBold(bold);
    return f;
}
