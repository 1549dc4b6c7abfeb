#include "pages/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

namespace {

using TKey = std::tuple<TSearchKind, int, int>;

TSearchSources SmallEdition() {
    return {
        {TSearchKind::Story, 7, 0, "Isma'il", "A Son Granted",
         {}, "Isma'il was the first son of the prophet Ibrahim."},
        {TSearchKind::Story, 17, 1, "Dhul-Kifl", "The Patient", {}, "He is listed with Dhul-Kifl among the patient."},
        // Windows-1252 a and i with circumflex, as a module may hold them.
        {TSearchKind::Story, 5, 2, "Lut", "Guests", {}, "The guests of Ibr\xE2h\xEEm came to Lut."},
        {TSearchKind::Story, 3, 0, "Nooh", "The Ark", {}, "Parkland is far away. Nooh built the ark as he was told."},
        {TSearchKind::Document, 0, 0, {}, "Introduction", {}, "The prophets were sent to every nation."},
        {TSearchKind::Glossary, 4, 0, {}, "Nooh", "Nuh, Noah, Nuuh", "The prophet who built the ark."},
        {TSearchKind::Glossary, 9, 0, {}, "Salat", "Salah, Salaat", "The prayer."},
        {TSearchKind::Quran, 19, 54, "Maryam", "Maryam 19:54", {},
         "And mention in the Book, Ishmael. Indeed, he was true to his promise"},
        {TSearchKind::Quran, 7, 56, "Al-A'raf", "Al-A'raf 7:56", {}, "Indeed, the mercy of Allah is near"},
    };
}

std::set<TKey> Keys(const TSearchResults& r) {
    std::set<TKey> keys;
    for (const auto& h : r.Hits) keys.insert({h.Kind, h.A, h.B});
    return keys;
}

class SearchIndexTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        index = new TSearchIndex;
        index->Build(SmallEdition());
    }
    static void TearDownTestSuite() { delete index; }
    static TSearchIndex* index;
};
TSearchIndex* SearchIndexTest::index = nullptr;

const TKey kIsmail{TSearchKind::Story, 7, 0};
const TKey kDhulKifl{TSearchKind::Story, 17, 1};
const TKey kLut{TSearchKind::Story, 5, 2};
const TKey kNoohStory{TSearchKind::Story, 3, 0};
const TKey kIntro{TSearchKind::Document, 0, 0};
const TKey kNoohTerm{TSearchKind::Glossary, 4, 0};
const TKey kSalat{TSearchKind::Glossary, 9, 0};
const TKey kVerse1954{TSearchKind::Quran, 19, 54};
const TKey kVerse756{TSearchKind::Quran, 7, 56};

TEST_F(SearchIndexTest, MatchingRules) {
    struct Case {
        const char* rule;
        std::string query;
        std::set<TKey> expected;
    };
    const Case cases[] = {
        {"case", "ISMAIL", {kIsmail}},
        {"apostrophe left out", "ismail", {kIsmail}},
        {"apostrophe typed", "Isma'il", {kIsmail}},
        {"curly apostrophe", "Isma\xE2\x80\x99il", {kIsmail}},
        {"diacritics and ayn typed", "Ism\xC4\x81\xCA\xBF\xC4\xABl", {kIsmail}},
        {"diacritics in the text", "ibrahim", {kIsmail, kLut}},
        {"hyphen left out", "dhulkifl", {kDhulKifl}},
        {"hyphen typed", "dhul-kifl", {kDhulKifl}},
        {"hyphen as a blank", "Dhul Kifl", {kDhulKifl}},
        {"one part of a hyphenated name", "kifl", {kDhulKifl}},
        {"plural finds singular", "prophets", {kIsmail, kIntro, kNoohTerm}},
        {"singular finds plural", "prophet", {kIsmail, kIntro, kNoohTerm}},
        {"possessive", "Allah's", {kVerse756}},
        {"every word must occur", "true promise", {kVerse1954}},
        {"phrase as written", "\"first son\"", {kIsmail}},
        {"phrase in another order", "\"son first\"", {}},
        {"phrase and word", "\"the first son\" ibrahim", {kIsmail}},
        {"glossary spelling finds the headword and its texts", "noah", {kNoohTerm, kNoohStory}},
        {"spelling without its vowels doubled", "Salah", {kSalat}},
        {"no match", "zzzz", {}},
        {"query syntax is text", "NOT OR \"unbalanced", {}},
    };
    for (const auto& c : cases) {
        TSearchResults r = index->Search(c.query);
        EXPECT_FALSE(r.EmptyQuery) << c.rule;
        EXPECT_EQ(Keys(r), c.expected) << c.rule << ": " << c.query;
        EXPECT_EQ(r.Total(), static_cast<int>(c.expected.size())) << c.rule;
    }
}

TEST_F(SearchIndexTest, EmptyQueriesAreSaidToBeEmpty) {
    for (const char* q : {"", "   ", " -- ", "\"\"", "\" ' \""}) {
        TSearchResults r = index->Search(q);
        EXPECT_TRUE(r.EmptyQuery) << q;
        EXPECT_TRUE(r.Hits.empty());
    }
}

TEST_F(SearchIndexTest, HitsGroupedByKindInBookOrderWithSnippetAndCounts) {
    TSearchResults r = index->Search("prophet");
    ASSERT_EQ(r.Hits.size(), 3u);
    EXPECT_EQ(r.Hits[0].Kind, TSearchKind::Story);
    EXPECT_EQ(r.Hits[1].Kind, TSearchKind::Document);
    EXPECT_EQ(r.Hits[2].Kind, TSearchKind::Glossary);
    EXPECT_EQ((std::array<int, 4>{1, 1, 1, 0}), r.Counts);
    EXPECT_EQ(r.Hits[1].Snippet, "The \x01prophets\x02 were sent to every nation.");
    EXPECT_EQ(r.Hits[1].Title, "Introduction");

    // Limits list fewer hits but count them all.
    TSearchResults one = index->Search("ibrahim", 1);
    EXPECT_EQ(one.Counts[0], 2);
    EXPECT_EQ(one.Hits.size(), 1u);
}

TEST_F(SearchIndexTest, HitTextAndOccurrenceLeadToTheMatchedWord) {
    // "ark" occurs inside "Parkland" first: the page search must skip it.
    TSearchResults r = index->Search("ark");
    auto story = std::find_if(r.Hits.begin(), r.Hits.end(),
                              [](const TSearchHit& h) { return h.Kind == TSearchKind::Story; });
    ASSERT_NE(story, r.Hits.end());
    EXPECT_EQ(story->HitText, "ark");
    EXPECT_EQ(story->Occurrence, 1);
    // The text as written, joined name and all.
    TSearchHit h = index->Search("dhulkifl").Hits.at(0);
    EXPECT_EQ(h.HitText, "Dhul-Kifl");
    EXPECT_EQ(h.Occurrence, 0);
    // Windows-1252 text comes back as UTF-8.
    TSearchResults lut = index->Search("ibrahim");
    auto l = std::find_if(lut.Hits.begin(), lut.Hits.end(), [](const TSearchHit& x) { return x.A == 5; });
    ASSERT_NE(l, lut.Hits.end());
    EXPECT_EQ(l->HitText, "Ibr\xC3\xA2h\xC3\xAEm");
    // A glossary entry found by its spellings alone shows them, every
    // spelling of the term being searched for.
    TSearchHit salat = index->Search("salaat").Hits.at(0);
    EXPECT_EQ(salat.Snippet, "\x01Salat\x02 (\x01Salah\x02, \x01Salaat\x02)");
    EXPECT_EQ(salat.HitText, "Salat");
}

TEST(SearchIndex, BuildOnAWorkerThreadGivesTheSameResults) {
    TSearchIndex here, there;
    here.Build(SmallEdition());
    there.StartBuild(SmallEdition());
    for (const char* q : {"prophet", "noah", "dhulkifl", "\"first son\""}) {
        TSearchResults a = here.Search(q), b = there.Search(q);
        EXPECT_EQ(Keys(a), Keys(b)) << q;
        EXPECT_EQ(a.Counts, b.Counts);
    }
    EXPECT_TRUE(there.Ready());
}

TEST(SearchIndex, LongSnippetsAreCutAtWordsAroundTheHit) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "filler" + std::to_string(i) + " ";
    text += "Zamzam ";
    for (int i = 0; i < 60; ++i) text += "after" + std::to_string(i) + " ";
    TSearchIndex index;
    index.Build({{TSearchKind::Document, 0, 0, {}, "Doc", {}, text}});
    TSearchHit h = index.Search("zamzam").Hits.at(0);
    EXPECT_EQ(h.Snippet.rfind("\xE2\x80\xA6 filler", 0), 0u) << h.Snippet;
    EXPECT_NE(h.Snippet.find("\x01Zamzam\x02"), std::string::npos);
    EXPECT_EQ(h.Snippet.substr(h.Snippet.size() - 4), " \xE2\x80\xA6");
    EXPECT_LT(h.Snippet.size(), 260u);
}

TEST(SearchText, SpellingKeysAndPlainText) {
    EXPECT_EQ(SpellingKey("Isma'il"), "ismail");
    EXPECT_EQ(SpellingKey("Ism\xC4\x81\xCA\xBF\xC4\xABl"), "ismail");
    EXPECT_EQ(SpellingKey("Dhul-Kifl"), "dhulkifl");
    EXPECT_EQ(SpellingKey("\xE1\xB8\xA4\x61jj"), "hajj"); // H with dot below
    EXPECT_EQ(PlainPageText("<B>Title</B><HR SIZE=1>text&amp;more<BR>next  \r\n word <I>it</I>alic"),
              "Title text&more next word italic");
    EXPECT_EQ(AnsiToUtf8("Caf\xE9 \x93quoted\x94"), "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(Utf8ToAnsi("Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xC4\x81"), "Caf\xE9 \x93q\x94 ?");
}

} // namespace
