#include "pages/composer.h"
#include "shell/appbase.h"
#include "support/edition_fixture.h"

#include <gtest/gtest.h>

namespace {

class ComposerTest : public ::testing::Test {
protected:
    void SetUp() override {
        quran_ = LoadedQuranModule(folder_);
        stories_ = LoadedStoryModule(folder_, quran_.get(), {});
        WriteMainDocument(folder_.Path() + "B.dbi",
                          MainDocSource("MDOC_B", "Second", 2, {"Plain <VER> text", "last"}));
        WriteMainDocument(folder_.Path() + "A.dbi",
                          MainDocSource("MDOC_A", "First", 1,
                                    {"Before", "<<2:255>>", "mid >> x <<", "<<2:255>>", "<<1:1-2>>"}));
        docs_.LoadAll();
        stories_->ClearProphet();
    }
    TFixtureFolder folder_;
    std::unique_ptr<TQuranDLLHelper> quran_;
    std::unique_ptr<TProphetsHelper> stories_;
    TMainDocManager docs_;
};

TEST_F(ComposerTest, ProphetsTreeLayout) {
    TPageComposer c(&docs_, quran_.get(), stories_.get());
    auto nodes = c.FillProphetsTree();
    ASSERT_EQ(nodes.size(), 2u + 1 + 29);
    EXPECT_EQ(nodes[0].Text, "First");
    EXPECT_EQ(nodes[0].Data, -1);
    EXPECT_EQ(nodes[1].Data, -2);
    EXPECT_EQ(nodes[1].SelectedIndex, 2);
    EXPECT_EQ(nodes[2].Text, "The Prophets of Almighty Allah");
    EXPECT_EQ(nodes[2].Data, -786);
    EXPECT_EQ(nodes[2].Parent, -1);
    EXPECT_EQ(nodes[2 + 16].Text, "Musa and Harun [Moses and Aaron]");
    EXPECT_EQ(nodes[2 + 16].Data, 16);
    EXPECT_EQ(nodes[2 + 29].Parent, 2);
}

TEST_F(ComposerTest, WelcomeAndHeader) {
    TPageComposer c(&docs_, quran_.get(), stories_.get());
    TStringList welcome = SplitLines(c.BuildWelcomePage());
    ASSERT_EQ(welcome.size(), 13u);
    EXPECT_EQ(welcome[0], "<BODY BGCOLOR=\"#EBEBE0\">");
    EXPECT_EQ(welcome[2], "<IMG SRC=\"Welcome1.jpg\">");
    for (int i = 7; i <= 10; ++i) {
        EXPECT_EQ(welcome[i].substr(0, 3), "<B>");
        EXPECT_EQ(welcome[i].substr(welcome[i].size() - 8), "</B><BR>");
    }
    EXPECT_EQ(welcome[12], "</CENTER>");
    TStringList header = c.BuildPageHeader();
    ASSERT_EQ(header.size(), 7u);
    EXPECT_EQ(header[0], "<BODY BGCOLOR=\"#EBEBE0\"><A NAME=\"TOP\"></A>");
    EXPECT_EQ(header[5], "<IMG SRC=\"Border.bmp\">");
}

TEST_F(ComposerTest, DocumentPagesExpandExcerptsAndPlaceholders) {
    TPageComposer c(&docs_, quran_.get(), stories_.get());
    std::string plain = c.BuildDocumentPage(1, false);
    EXPECT_NE(plain.find("<FONT FACE=Verdana SIZE=3>\r\nPlain 1.5 text\r\nlast\r\n\r\n</FONT>"),
              std::string::npos);
    std::string page = c.BuildDocumentPage(0, false);
    // Identical excerpt lines both become the first block; a ">>" before "<<" still counts.
    EXPECT_EQ(CountOf(page, "<A NAME=QREF_0></A>"), 2);
    EXPECT_EQ(page.find("QREF_2>"), std::string::npos);
    // a line that names no verses keeps its frame, empty
    EXPECT_NE(page.find("<A NAME=QREF_1></A><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>"
                        "<TD BGCOLOR=#F5F5EF><I></I>"),
              std::string::npos);
    EXPECT_NE(page.find("<A NAME=QREF_3></A><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>"
                        "<TD BGCOLOR=#F5F5EF><I><B>001.001</B> text 1:1<BR><BR><B>001.002</B> "
                        "text 1:2</I></TD></TR></TABLE>"),
              std::string::npos);
    EXPECT_EQ(page.find("RAUDIO_"), std::string::npos);
    EXPECT_NE(c.BuildDocumentPage(0, true).find("RAUDIO_002.255"), std::string::npos);
}

TEST_F(ComposerTest, StoryPageAndBannerTitles) {
    TPageComposer c(&docs_, quran_.get(), stories_.get());
    EXPECT_EQ(c.BannerTitle(1), "Welcome to Halvora 1.5");
    EXPECT_EQ(c.BannerTitle(5), "Publisher's Note");
    EXPECT_EQ(c.BannerTitle(6), "");
    EXPECT_EQ(c.BannerTitle(0), "Error Rendering Image");
    stories_->SelectProphet(7);
    EXPECT_EQ(c.BannerTitle(1), "Prophet Isma'il (pbuh)");
    std::string page = c.BuildStoryPage(7, false);
    EXPECT_EQ(page.rfind("<BR><BR>\r\n"), page.size() - 10);
    EXPECT_NE(page.find("<A NAME=SUBTOPIC_0></A><B>Story 7</B>"), std::string::npos);
}

TEST_F(ComposerTest, LinkDispatchDecisions) {
    using A = TLinkAction;
    struct Case {
        std::string link;
        std::vector<std::pair<A::Kind, std::string>> expect; // argument or index as text
    };
    const Case cases[] = {
        {"RAUDIO_002.255", {{A::PlayRecitation, "002.255"}}},
        {"PROF_Ibrahim", {{A::SelectTreeNode, "8"}}},
        {"PROF_ nooh [noah] ", {{A::SelectTreeNode, "5"}}},
        {"PROF_Nobody", {}},
        {"PROF_Lot HTTP://x", {}},
        {"MDOC_B", {{A::ShowDocument, "1"}}},
        {"MDOC_NONE", {}},
        {"FEAT_INDEX", {{A::SelectTreeNode, "3"}, {A::Feature, "FEAT_INDEX"}}},
        {"feat_index", {}},
        {"FEAT_TIPS", {{A::Feature, "FEAT_TIPS"}}},
        {"FEAT_SEARCH", {{A::Feature, "FEAT_SEARCH"}}},
        {"http://example.org/Path", {{A::OpenWebAddress, "example.org/Path"}}},
        {"MDOC_A HTTP://a.b", {}}, // not the whole name: no document, then the address
        {"", {}},
    };
    for (const auto& c : cases) {
        auto actions = DispatchLinkActions(c.link, &docs_);
        std::vector<std::pair<A::Kind, std::string>> got;
        for (const auto& a : actions)
            got.emplace_back(a.Action, a.Index >= 0 ? std::to_string(a.Index) : a.Argument);
        if (c.link == "MDOC_A HTTP://a.b") {
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].second, "a.b");
            continue;
        }
        EXPECT_EQ(got, c.expect) << c.link;
    }
}

} // namespace
