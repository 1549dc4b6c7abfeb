#include "content/prophets.h"
#include "util/errors.h"

#include <gtest/gtest.h>

TEST(Prophets, NamesAndBlessings) {
    EXPECT_EQ(ProphetName(1, 0), "Adam");
    EXPECT_EQ(ProphetName(7, 0), "Isma'il");
    EXPECT_EQ(ProphetName(18, 1), "Elyas");
    EXPECT_EQ(ProphetName(26, 1), "Zakariya");
    EXPECT_EQ(ProphetName(29, 0), "Muhammad");
    EXPECT_EQ(ProphetName(16, 2), "Musa and Harun [Moses and Aaron]");
    EXPECT_EQ(ProphetBlessing(16, 1), "- Allah's Peace and Blessings be upon them");
    EXPECT_EQ(ProphetBlessing(16, 0), "(pbut)");
    EXPECT_EQ(ProphetBlessing(3, 0), "(pbuh)");
    EXPECT_EQ(ProphetBlessing(3, 1), "- Allah's Peace and Blessings be upon him");
    EXPECT_EQ(ProphetBlessing(3, 2), "");
    EXPECT_STREQ(kPeaceBeUponHim, " (Peace be upon him)");
    for (int p = 1; p <= kProphetCount; ++p) EXPECT_EQ(ProphetBlessingForm(p), p == 16 ? 1 : 0) << p;
    for (int bad : {0, 30, -1}) {
        EXPECT_THROW(ProphetName(bad, 0), ERangeError);
        EXPECT_THROW(ProphetBlessing(bad, 0), ERangeError);
        EXPECT_THROW(ProphetBlessing(bad, 5), ERangeError);
    }
}

TEST(Prophets, FindProphet) {
    struct Case { const char* name; int32_t prophet; };
    const Case cases[] = {
        {"noah", 3}, {" Nooh ", 3}, {"Nooh [Noah]", 3}, {"NOOH [NOAH]", 3}, {"Noah (pbuh)", -1},
        {"Ibrahim", 6}, {"abraham", 6}, {"Musa and Harun", 16}, {"Moses and Aaron", 16},
        {"Musa", -1}, {"", -1}, {"Hud", 4}, {"Muhammad", 29}, {"Elyas", 18}, {"Isma'il", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(FindProphet(c.name), c.prophet) << c.name;
    for (int p = 1; p <= kProphetCount; ++p) {
        EXPECT_EQ(FindProphet(ProphetName(p, 0)), p);
        EXPECT_EQ(FindProphet(ProphetName(p, 2)), p);
    }
}

TEST(Prophets, ExcerptMarkers) {
    struct Case { const char* line; TQuranVerseRange range; };
    const Case cases[] = {
        {"<<2:255>>", {2, 255, 2, 255}},
        {"<<7:11-25>>", {7, 11, 7, 25}},
        {"  <<7:11-25>>  ", {7, 11, 7, 25}},
        {"<<x:1>>", {0, 0, 0, 0}},
        {"<<:1>>", {0, 0, 0, 0}},
        {"<<12:>>", {0, 0, 0, 0}},
        {"no marker", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseExcerptMarker(c.line), c.range) << c.line;
    EXPECT_THROW(ParseExcerptMarker("<<2:abc>>"), EConvertError);
    EXPECT_THROW(ParseExcerptMarker("<<2:1-z>>"), EConvertError);
}

TEST(Prophets, StoryLineSyntax) {
    EXPECT_TRUE(IsEmptyStoryLine("++"));
    EXPECT_FALSE(IsEmptyStoryLine(" ++"));
    EXPECT_TRUE(IsStoryHeading("<[The Flood]>"));
    EXPECT_EQ(StoryHeadingTitle("  <[The Flood]>  "), "The Flood");
    EXPECT_TRUE(IsExcerptMarker("<<11:25-49>>"));
    EXPECT_FALSE(IsExcerptMarker("<P>Text</P>"));
    EXPECT_FALSE(IsStoryHeading("<P>Text</P>"));
    // A line can be both.
    EXPECT_TRUE(IsStoryHeading("<[Title]> <<2:1>>"));
    EXPECT_TRUE(IsExcerptMarker("<[Title]> <<2:1>>"));
}

TEST(Prophets, LocationTexts) {
    EXPECT_EQ(FormatTopicLocation(16, 4), "016+004");
    EXPECT_EQ(FormatTopicLocation(5, 12), "005+012");
    EXPECT_EQ(FormatExcerptLocation(3, 0), "003*000");
    EXPECT_EQ(FormatExcerptLocation(29, 1234), "029*123");
    int32_t p = -1, i = -1;
    ParseTopicLocation("005+012", p, i);
    EXPECT_EQ(p, 5);
    EXPECT_EQ(i, 12);
    ParseExcerptLocation(" 003*000 ", p, i);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(i, 0);
    ParseTopicLocation("   ", p, i);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(i, 0);
    p = i = 7;
    EXPECT_THROW(ParseTopicLocation("005*012", p, i), EConvertError);
    EXPECT_THROW(ParseExcerptLocation("a*1", p, i), EConvertError);
    EXPECT_THROW(ParseExcerptLocation("1*", p, i), EConvertError);
    EXPECT_EQ(p, 0); // nothing half-parsed is left behind
}
