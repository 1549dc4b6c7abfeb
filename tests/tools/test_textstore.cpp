// The text store: items, the stored string-list form with its separator.
#include "tools/textstore.h"

#include <gtest/gtest.h>

namespace {

TVrnTextStore RoundTrip(const TVrnTextStore& store) {
    TVrnTextStore back;
    ReadTextStoreForm(WriteTextStoreForm("tsTips", store), "tsTips", back);
    return back;
}

std::vector<TTextStoreItem> ItemsOf(const TVrnTextStore& s) {
    std::vector<TTextStoreItem> v;
    for (int i = 0; i < s.Storage().Count(); ++i) v.push_back(s.Storage().Items(i));
    return v;
}

TEST(TextStore, WritesTitleSeparatorTextAsOneStringPerItem) {
    TVrnTextStore s;
    s.Storage().Add("Tip", "It's \"here\".");
    EXPECT_EQ(WriteTextStoreForm("tsTips", s),
              "object tsTips: TVrnTextStore\n"
              "  Storage.Storage = (\n"
              "    'Tip<<'#7#8#6'>>It''s \"here\".')\n"
              "end\n");
    // The property is written also when the list is empty.
    EXPECT_EQ(WriteTextStoreForm("tsTips", TVrnTextStore()),
              "object tsTips: TVrnTextStore\n  Storage.Storage = ()\nend\n");
}

TEST(TextStore, RoundTripKeepsItemsInOrder) {
    TVrnTextStore s;
    s.Storage().Add("", "");
    s.Storage().Add("Title only", "");
    s.Storage().Add("", "Text only");
    s.Storage().Add("Line breaks", "One\r\n\r\nTwo\ttabbed");
    s.Storage().Add("Quotes 'and' #hashes", "\xE9t\xE9 caf\xE9 \x7F");
    s.Storage().Add("Long", std::string(300, 'x') + "'" + std::string(70, 'y'));
    EXPECT_EQ(ItemsOf(RoundTrip(s)), ItemsOf(s));
}

TEST(TextStore, ReadingSplitsAtTheFirstSeparatorAndTitlesBareStrings) {
    const std::string sep(kTextStoreSeparator);
    TVrnTextStore s;
    s.Storage().Add("Existing", "kept");
    ReadTextStoreForm("tsTips.Storage.Storage = (\n"
                      "  'A<<'#7#8#6'>>B<<'#7#8#6'>>C'\n"
                      "  'no separator at all'\n"
                      "  'con' +\n   'tinued'#13#10'x')\n",
                      "tsTips", s);
    EXPECT_EQ(ItemsOf(s), (std::vector<TTextStoreItem>{{"Existing", "kept"},
                                                      {"A", "B" + sep + "C"},
                                                      {"Untitled", "no separator at all"},
                                                      {"Untitled", "continued\r\nx"}}));
    // A title holding the separator does not survive the round trip.
    TVrnTextStore t;
    t.Storage().Add("a" + sep + "b", "c");
    EXPECT_EQ(ItemsOf(RoundTrip(t)), (std::vector<TTextStoreItem>{{"a", "b" + sep + "c"}}));
}

TEST(TextStore, MalformedFormsAreRefused) {
    const char* bad[] = {
        "object tsTips: TVrnTextStore\nend\n",                 // no property
        "tsTips.Storage.Storage = 'x'",                         // not a list
        "tsTips.Storage.Storage = (\n  'unterminated)\n",       // open quote
        "tsTips.Storage.Storage = (\n  'a'\n",                  // no closing bracket
        "tsTips.Storage.Storage = (\n  'a' +\n)",               // "+" with nothing after
        "tsTips.Storage.Storage = (\n  #300)",                  // not a character
        "tsTips.Storage.Storage = (\n  bare)",                  // not a literal
        "other.Storage.Storage = ()",                           // another store
    };
    for (const char* form : bad) {
        SCOPED_TRACE(form);
        TVrnTextStore s;
        EXPECT_THROW(ReadTextStoreForm(form, "tsTips", s), EConvertError);
    }
}

TEST(TextStore, AssignSharesItemsUntilOneGrows) {
    TTextStoreItems a, b;
    a.Add("1", "one");
    a.Add("2", "two");
    b.Assign(a);
    a.Swap(0, 1);
    EXPECT_EQ(b.Items(0).Title, "2"); // the same items
    b.Add("3", "three");
    EXPECT_EQ(a.Count(), 2);
    EXPECT_EQ(b.Count(), 3);
    EXPECT_THROW(a.Items(2), ERangeError);
    EXPECT_THROW(TTextStoreItems().Items(0), ERangeError);
    EXPECT_EQ(TTextStoreItems().Count(), 0);
}

} // namespace
