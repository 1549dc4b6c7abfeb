#include "content/surahs.h"
#include "util/errors.h"

#include <gtest/gtest.h>

TEST(Surahs, TableFiguresAndOffsetRule) {
    int32_t verses = 0;
    for (int s = 1; s <= kSurahCount; ++s) {
        EXPECT_EQ(SurahLineOffset(s), s - 1 + verses) << "surah " << s;
        verses += VerseCount(s);
        EXPECT_FALSE(SurahTitle(s, 0).empty());
        EXPECT_FALSE(SurahTitle(s, 1).empty());
    }
    EXPECT_EQ(verses, 6236);
    EXPECT_EQ(SurahLineOffset(kSurahCount) + VerseCount(kSurahCount) + 1, kQuranModuleLineCount);
    EXPECT_EQ(kQuranModuleLineCount, 6350);
    EXPECT_EQ(VerseCount(9), 129);

    struct Row { int n; const char* name; const char* meaning; int verses; int offset; };
    const Row rows[] = {
        {1, "Al-Fatiha", "The Opening", 7, 0},
        {2, "Al-Baqara", "The Cow", 286, 8},
        {3, "Aal-E-Imran", nullptr, 200, 295},
        {5, "Al-Maeda", "The Table, The Table Spread", 120, 673},
        {17, "Al-Isra", "Isra, The Night Journey, Children of Israel", 111, 2045},
        {20, "Ta-Ha", "Mystic letters Ta-Ha", 135, 2367},
        {40, "Al-Ghafir", "The Forgiver [God]", 85, 4172},
        {78, "an-Naba", nullptr, 40, -1},
        {87, "Al-Ala", "The Most High, Glory to your Lord in The Highest", 19, 6034},
        {108, "Al-KauTher", nullptr, 3, -1},
        {114, "An-Nas", "Mankind", 6, 6343},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SurahTitle(r.n, 0), r.name);
        if (r.meaning) { EXPECT_EQ(SurahTitle(r.n, 1), r.meaning); }
        EXPECT_EQ(VerseCount(r.n), r.verses);
        if (r.offset >= 0) { EXPECT_EQ(SurahLineOffset(r.n), r.offset); }
    }
}

TEST(Surahs, TitlesAndValidity) {
    EXPECT_EQ(SurahTitle(1, 2), "Al-Fatiha [The Opening]");
    EXPECT_EQ(SurahTitle(0, 2), "");
    EXPECT_EQ(SurahTitle(115, 0), "");
    EXPECT_EQ(SurahTitle(1, 3), "");
    EXPECT_TRUE(IsValidSurah(1));
    EXPECT_TRUE(IsValidSurah(114));
    EXPECT_FALSE(IsValidSurah(0));
    EXPECT_FALSE(IsValidSurah(115));
    for (int bad : {0, -1, 115}) {
        EXPECT_THROW(VerseCount(bad), ERangeError);
        EXPECT_THROW(SurahLineOffset(bad), ERangeError);
    }
}

TEST(Surahs, AbsoluteVerse) {
    EXPECT_EQ(AbsoluteVerse(1, 1), 1);
    EXPECT_EQ(AbsoluteVerse(2, 1), 8);
    EXPECT_EQ(AbsoluteVerse(1, 8), 8); // no check against the surah's count
    EXPECT_EQ(AbsoluteVerse(114, 6), 6236);
    EXPECT_EQ(AbsoluteVerse(0, 5), 5);
    EXPECT_EQ(AbsoluteVerse(115, 1), 6237);
    EXPECT_THROW(AbsoluteVerse(116, 1), ERangeError);
}

TEST(Surahs, VerseReferences) {
    EXPECT_EQ(FormatVerseRef(2, 255), "002.255");
    EXPECT_EQ(FormatVerseRef(114, 6), "114.006");
    EXPECT_EQ(FormatVerseRef(1234, 5), "123.005"); // longer numbers keep their first digits
    int32_t s = -1, v = -1;
    ParseVerseRef("2.255", s, v);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(v, 255);
    for (const char* bad : {"002.x", "2255", "", ".5", "x.1"}) {
        s = v = -1;
        ParseVerseRef(bad, s, v);
        EXPECT_EQ(s, 0) << bad;
        EXPECT_EQ(v, 0) << bad;
        EXPECT_FALSE(IsVerseRef(bad)) << bad;
    }
    EXPECT_TRUE(IsVerseRef("002.255"));
    EXPECT_EQ(ParseVerseRangeStart("007.011-025"), (TQuranVerseRange{7, 11, 7, 11}));
    EXPECT_EQ(ParseVerseRangeStart("036.001"), (TQuranVerseRange{36, 1, 36, 1}));
    EXPECT_EQ(ParseVerseRangeStart("junk-3"), (TQuranVerseRange{0, 0, 0, 0}));
    EXPECT_EQ(VerseRangeOf(2, 255), (TQuranVerseRange{2, 255, 2, 255}));
}

TEST(Surahs, FormatVerseRange) {
    struct Case { TQuranVerseRange r; bool withSurah; const char* text; };
    const Case cases[] = {
        {{2, 255, 2, 255}, true, "002.255"},
        {{2, 255, 2, 255}, false, "255"},
        {{7, 11, 7, 25}, true, "007.011-025"},
        {{7, 11, 7, 25}, false, "011-025"},
        {{1, 800, 1, 5}, true, "001.001-005"},
        {{1, 800, 1, 800}, true, "001.001-800"},
        {{1, 800, 1, 1}, false, "001"},
        {{7, 11, 9, 25}, true, "007.011-025"}, // ToSurah is not written
    };
    for (const Case& c : cases) EXPECT_EQ(FormatVerseRange(c.r, c.withSurah), c.text);
    EXPECT_TRUE(IsSingleVerse({3, 4, 3, 4}));
    EXPECT_FALSE(IsSingleVerse({3, 4, 3, 5}));
}

TEST(Surahs, VerseAliasAndQuote) {
    EXPECT_EQ(VerseAlias("002.255"), "Ayat-ul-Kursi");
    EXPECT_EQ(VerseAlias("001.002"), "Al-hamdu lillahi rabbil 'alamin");
    EXPECT_EQ(VerseAlias("097.003"), "Laylat Al-Qadr");
    EXPECT_EQ(VerseAlias("2.255"), "2.255");
    EXPECT_EQ(VerseAlias("002.256"), "002.256");
    EXPECT_STREQ(QuranQuoteFormat, "Al-Qur'an, %s (%s)\r\n%s");
    EXPECT_EQ(FormatQuranQuote("002.255", SurahTitle(2, 2), "x"), "Al-Qur'an, 002.255 (Al-Baqara [The Cow])\r\nx");
}
