#include "platform/qtstrings_ui.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace {

TEST(QtStrings, Windows1252BothWays) {
    // Every byte survives the round trip, the 0x80-0x9F block included.
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(char(b));
    EXPECT_EQ(ToAnsi(FromAnsi(all)), all);

    EXPECT_EQ(FromAnsi("\x80 \x93Qur'an\x94 \xe9\x97"), QString::fromUtf8("€ “Qur'an” é—"));
    EXPECT_EQ(ToAnsi(QString::fromUtf8("Caf\u00e9 \u2018a\u2019 \u0100")), "Caf\xe9 \x91" "a\x92 ?");
    EXPECT_EQ(FromAnsiLines("one\r\ntwo\nthree"), QStringLiteral("one\ntwo\nthree"));
}

TEST(QtStrings, ColourValuesAreBlueGreenRed) {
    EXPECT_EQ(ColorFromRef(4227327), QColor(0xFF, 0x80, 0x40));
    EXPECT_EQ(ColorFromRef(16756059), QColor(0x5B, 0xAD, 0xFF));
    EXPECT_EQ(ColorToRef(QColor(0x2B, 0x77, 0x7D)), 8222507u);
    EXPECT_EQ(ColorToRef(ColorFromRef(10122318)), 10122318u);
}

TEST(QtStrings, ProgramFontFallsBackToAnInstalledFamily) {
    const QString family = ProgramFontFamily();
    EXPECT_TRUE(family == QLatin1String("Verdana") || family == QLatin1String("DejaVu Sans"));
    QFont f = ProgramFont(10, true);
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pointSize(), 10);
    EXPECT_EQ(QFontInfo(f).family(), family); // actually available, not substituted
}

} // namespace
