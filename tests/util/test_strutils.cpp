#include "util/strutils.h"
#include "util/errors.h"

#include <gtest/gtest.h>

TEST(StrUtils, ReplaceAndRemove) {
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceAll("abc", "", "y"), "abc");
    EXPECT_EQ(ReplaceAll("a.b.c", ".", "<>"), "a<>b<>c");
    EXPECT_EQ(RemoveAll("RAUDIO_002.255", "RAUDIO_"), "002.255");
}

TEST(StrUtils, FindWholeWord) {
    struct {
        const char* word;
        const char* text;
        bool cs;
        int expect;
    } cases[] = {
        {"cat", "cats", true, -1},   {"cat", "a cat.", true, 2}, {"cat", "(cat)", true, 1},
        {"cat", "CAT", false, 0},    {"cat", "CAT", true, -1},   {"ab", "xabab", true, 3},
        {"", "abc", true, -1},       {"cat", "concat cat", true, 7},
        {"caf\xE9", "caf\xE9s caf\xE9", true, 6}, // letters above 127 are no delimiters
    };
    for (const auto& c : cases) EXPECT_EQ(FindWholeWord(c.word, c.text, c.cs), c.expect) << c.text;
}

TEST(StrUtils, FindFromAndPositions) {
    EXPECT_EQ(FindFrom("cat", "cat cat", 1, true, true), 4);
    EXPECT_EQ(FindFrom("CAT", "xcat cat", 0, false, false), 1);
    EXPECT_EQ(FindFrom("cat", "cat", 3, false, true), -1);
    EXPECT_EQ(PosFrom("b", "abab", 3), 4);
    EXPECT_EQ(PosFrom("b", "", 1), 0);
    EXPECT_EQ(PosFrom("", "abc", 1), 0);
    EXPECT_FALSE(Contains("", "abc"));
    EXPECT_TRUE(Contains("bc", "abc"));
}

TEST(StrUtils, Cutting) {
    EXPECT_EQ(TextBetween("x<<A>>y", "<<", ">>"), "A");
    EXPECT_EQ(TextBetween("x<<A>>y", ">>", "<<"), "");
    EXPECT_EQ(TextBetween("<<N:1>>|<<T:two>>+", "<<T:", ">>"), "");
    EXPECT_EQ(TextBetween("<<N:1>>|<<T:two>>+", "|<<T:", ">>+"), "two");
    EXPECT_EQ(TextBetween("abc>>", "<<", ">>"), "");
    EXPECT_EQ(TextBetween("a<<>>b", "<<", ">>"), "");
    EXPECT_EQ(TextAfter("key", ":"), "");
    EXPECT_EQ(TextBefore("key", ":"), "");
    EXPECT_EQ(TextAfter("a:b:c", ":"), "b:c");
    EXPECT_EQ(TextBefore("a:b:c", ":"), "a");
    EXPECT_EQ(FirstChar(""), '\0');
    EXPECT_EQ(LastChar("ab"), 'b');
}

TEST(StrUtils, Building) {
    EXPECT_EQ(ReverseText("ab\r\nc"), "c\r\nba");
    EXPECT_EQ(QuoteText("\"OK\""), "\"OK\"");
    EXPECT_EQ(QuoteText("OK"), "\"OK\"");
    EXPECT_EQ(QuoteText(""), "\"\"");
    EXPECT_EQ(QuoteText("\"OK"), "\"OK\"");
    EXPECT_EQ(DoubleQuoted("\"x\""), "\"\"x\"\"");
    EXPECT_EQ(ZeroPad(7, 3), "007");
    EXPECT_EQ(ZeroPad(-5, 3), "0-5");
    EXPECT_EQ(ZeroPad(1234, 3), "123");
    EXPECT_EQ(PadLeft("  ab", 6, '*'), "**ab");
    EXPECT_EQ(PadLeft("x", 1000, '0').size(), 256u);
}

TEST(StrUtils, Splitting) {
    EXPECT_EQ(SplitToList("a,b", ","), (TStringList{"a", "b"}));
    EXPECT_EQ(SplitToList("a,b,", ","), (TStringList{"a", "b", ""}));
    EXPECT_TRUE(SplitToList("", ",").empty());
    EXPECT_EQ(SplitTrimmed(" a <|> b ", "<|>"), (TStringList{"a", "b"}));
    EXPECT_EQ(SplitCommas("x, y\r\nz"), (TStringList{"x", "y", "z"}));
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (TStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (TStringList{"a"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (TStringList{"a", "", "b"}));
}

TEST(StrUtils, Numbers) {
    EXPECT_TRUE(IsInteger(" 42 "));
    EXPECT_TRUE(IsInteger("-2147483648"));
    EXPECT_FALSE(IsInteger("2147483648"));
    EXPECT_FALSE(IsInteger("4x"));
    EXPECT_FALSE(IsInteger(""));
    EXPECT_THROW(StrToInt("abc"), EConvertError);
    EXPECT_EQ(ToBase(16, 255), "FF");
    EXPECT_EQ(ToBase(16, 0), "");
    EXPECT_EQ(ToBase(36, 35), "Z");
    EXPECT_EQ(DigitChar(36), "");
    EXPECT_EQ(CompareInt(1, 2), -1);
    EXPECT_EQ(CompareInt(2, 2), 0);
    EXPECT_EQ(Negate(0), 0);
    EXPECT_EQ(Negate(5), -5);
}

TEST(StrUtils, TextComparisons) {
    EXPECT_TRUE(SameTextTrimmed(" Abc", "aBC "));
    EXPECT_FALSE(SameTextTrimmed("\xE9", "\xC9")); // only ASCII letters fold
    EXPECT_TRUE(IsYes("Y"));
    EXPECT_FALSE(IsYes("y"));
    EXPECT_EQ(IndexOfSameText({"one", " Two "}, "two"), 1);
    EXPECT_EQ(IndexOfSameText({"one"}, "two"), -1);
    EXPECT_TRUE(IsWordDelimiter('\''));
    EXPECT_FALSE(IsWordDelimiter('_'));
}

TEST(StrUtils, Html) {
    EXPECT_EQ(HtmlColor(0x0000FF), "#FF0000");
    EXPECT_EQ(HtmlColor(0x123456), "#563412");
    EXPECT_EQ(FontTag("Verdana", "2", "#FFFFFF"),
              "<FONT FACE=\"Verdana\" SIZE=\"2\" COLOR=\"#FFFFFF\">");
}
