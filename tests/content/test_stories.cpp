#include "content/stories.h"
#include "shell/appbase.h"
#include "support/edition_fixture.h"
#include "util/errors.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class StoriesTest : public ::testing::Test {
protected:
    std::unique_ptr<TProphetsHelper> Make(const std::map<int, TStringList>& stories) {
        return LoadedStoryModule(folder_, quran_.get(), stories);
    }
    TFixtureFolder folder_;
    std::unique_ptr<TQuranDLLHelper> quran_ = LoadedQuranModule(folder_);
};

TEST_F(StoriesTest, ReadsHeadingsExcerptsAndEmptyLines) {
    auto h = Make({{3,
                    {"  <[Call]>  ", "Text one.", "++", "<<2:255>>", "<[Ark]>", " <<7:11-12>> ",
                     "<[The Flood]>"}}});
    const TProphetStory& s = h->Story(3);
    ASSERT_TRUE(s.Loaded);
    EXPECT_EQ(s.Lines[0], "<[Call]>");
    EXPECT_EQ(s.Lines[2], "");
    ASSERT_EQ(s.Topics.size(), 3u);
    EXPECT_EQ(s.Topics[2].Title, "The Flood");
    EXPECT_EQ(s.Topics[2].Index, 2);
    ASSERT_EQ(s.Excerpts.size(), 2u);
    EXPECT_EQ(s.Excerpts[1].SourceLine, "<<7:11-12>>");
    EXPECT_EQ(s.Excerpts[1].TopicIndex, 1);
    EXPECT_EQ(h->ExcerptRefText(3, 0), "002.255");
    EXPECT_EQ(h->ExcerptRefText(3, 1), "007.011-012");
    EXPECT_EQ(h->FindExcerpt(3, "007.011-012"), 1);
    EXPECT_EQ(h->FindTopic(3, "the flood"), 2);
    EXPECT_EQ(h->FindTopic(3, " The Flood"), -1);
    EXPECT_EQ(h->TopicCount(3), 3);
    EXPECT_EQ(h->CurrentProphet(), 29); // the last story read
    EXPECT_THROW(h->TopicTitle(3, 3), ERangeError);
    EXPECT_THROW(h->GetExcerpt(30, 0), ERangeError);
    EXPECT_EQ(folder_.Reports, 0);
}

TEST_F(StoriesTest, PageBodyAnchorsAndExcerptTables) {
    auto h = Make({{1, {"<[Creation]>", "Line.", "++", "<<2:30-31>>"}}});
    std::string body = h->StoryPageBody(1, false);
    EXPECT_EQ(body,
              "<BR><A NAME=SUBTOPIC_0></A><B>Creation</B><HR SIZE=1 NOSHADE COLOR=SILVER><BR>"
              "Line.<BR><BR><A NAME=QREF_0></A><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>"
              "<TD BGCOLOR=#F5F5EF><I><B>002.030</B> text 2:30<BR><BR><B>002.031</B> text 2:31"
              "</I></TD></TR></TABLE><BR>");
    std::string linked = h->StoryPageBody(1, true);
    EXPECT_NE(linked.find("<A HREF=\"RAUDIO_002.030\"><IMG BORDER=\"0\" SRC=\"Audio.jpg\""),
              std::string::npos);
    EXPECT_NE(linked.find("RAUDIO_002.031"), std::string::npos);
}

TEST_F(StoriesTest, DuplicateTitlesPrefixTitlesAndDuplicateMarkers) {
    auto h = Make({{5,
                    {"<[Camel]>", "<<7:73>>", "<[Camel]>", "<<7:73>>", "<[Cam]>"}},
                   {6, {"<[Fire]>", "<<999:1>>", "<[Fire of Nimrod]>"}}});
    std::string body = h->StoryPageBody(5, false);
    // Both "Camel" headings get the first heading's anchor, the second none of its own.
    EXPECT_EQ(CountOf(body, "<A NAME=SUBTOPIC_0>"), 2);
    EXPECT_EQ(body.find("SUBTOPIC_1"), std::string::npos);
    EXPECT_EQ(CountOf(body, "<A NAME=QREF_0>"), 2);
    EXPECT_EQ(body.find("QREF_1"), std::string::npos);
    // A marker the module cannot fill stays as it was; the shorter title rewrites the longer.
    std::string fire = h->StoryPageBody(6, false);
    EXPECT_NE(fire.find("<<999:1>>"), std::string::npos);
    EXPECT_NE(fire.find("<A NAME=SUBTOPIC_0></A><B>Fire of Nimrod"), std::string::npos);
}

TEST_F(StoriesTest, Outlines) {
    auto h = Make({{16, {"<<2:1>>", "<[Birth]>", "<<28:7>>", "<[Sea]>", "<<26:63-64>>"}},
                   {17, {"No heading", "<<40:78>>"}}});
    TOutline topical = h->FillOutline(16, false);
    ASSERT_EQ(topical.size(), 3u);
    EXPECT_EQ(topical[0].Text, "Musa and Harun [Moses and Aaron] (Peace be upon him)");
    EXPECT_EQ(topical[0].Data, 0);
    EXPECT_EQ(topical[1].Data, -40);
    EXPECT_EQ(topical[1].ImageIndex, 1);
    TOutline composite = h->FillOutline(16, true);
    ASSERT_EQ(composite.size(), 6u);
    EXPECT_EQ(composite[3].Text, "002.001"); // before the first heading: under the first topic
    EXPECT_EQ(composite[3].Parent, 1);
    EXPECT_EQ(composite[4].Parent, 1);
    EXPECT_EQ(composite[5].Text, "026.063-064");
    EXPECT_EQ(composite[5].Parent, 2);
    EXPECT_EQ(composite[5].Data, -80);
    // Excerpts of a story without headings hang under the root.
    TOutline bare = h->FillOutline(17, true);
    ASSERT_EQ(bare.size(), 2u);
    EXPECT_EQ(bare[1].Parent, 0);
}

TEST_F(StoriesTest, MissingResourceStopsLoadingWithOneReport) {
    auto h = std::make_unique<TProphetsHelper>(
        "HVModule.dll", quran_.get(), folder_.Write("HVModule.dll", "not a library"));
    h->LoadAll();
    EXPECT_EQ(folder_.Reports, 1);
    EXPECT_FALSE(h->Story(1).Loaded);
    EXPECT_TRUE(h->Verify()); // the signature still matches the file
    std::ofstream(folder_.Path() + "HVModule.dll", std::ios::app) << "x";
    EXPECT_FALSE(h->Verify());
    EXPECT_EQ(folder_.Reports, 1);
    EXPECT_EQ(h->GetName(), "Prophets Biographies Module");
}

} // namespace
