// The glossary window over a small glossary file, and double-clicking a
// story word in the main window over the shipped edition.
#include "content/glossary.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "platform/dialogs_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/appbase.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "support/edition_fixture.h"
#include "tools/glossarywin_ui.h"
#include "tools/spelling.h"
#include "util/fileutils.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

struct TLinkRecorder : TfrmMainBase {
    std::vector<std::string> Links;
    void HandleLink(const std::string& link) override { Links.push_back(link); }
    void SetBusyState(uint8_t) override {}
};

struct TBookmarksRecorder : QWidget, TfrmBookmarksBase {
    std::vector<std::string> Terms;
    void AddGlossaryTermBookmark(const std::string& term) override { Terms.push_back(term); }
};

class GlossaryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteGlossary(folder_.Path() + "QGloss.dbx",
                      {"<<T:Adam>>|<<O:Aadam>>", "The first man; see <A HREF=\"Iblis\">Iblis</A>.",
                       "<<T:Iblis>>|<<O:Eblis>>",
                       "He refused to bow to <A HREF=\"PROF_Adam\">Adam</A>; one of the <A HREF=\"Jinns\">jinn</A>.",
                       "<<T:Jinn>>|<<O:Djinn, Genie>>", "Beings made of smokeless fire.",
                       "<<T:Nooh>>|<<O:Nuh, Noah>>|<<RW:Nuh>>", "The prophet of the ark."});
        glossary_ = std::make_unique<TGlossaryHelper>(folder_.Path() + "QGloss.dbx", "");
        glossary_->Load();
        oldMain_ = AppfrmMain;
        oldBookmarks_ = AppfrmBookmarks;
        AppfrmMain = &main_;
        AppfrmBookmarks = &bookmarks_;
        w_ = std::make_unique<TfrmGloss>(glossary_.get());
    }
    void TearDown() override {
        AppfrmMain = oldMain_;
        AppfrmBookmarks = oldBookmarks_;
    }
    TStringList History() const { return w_->History().Strings(); }
    std::string Page() const { return w_->Browser->DocumentText(); }
    void Query(const char* word) {
        w_->txtTerm2->setText(word);
        w_->btnProperSpelling->click();
    }

    TFixtureFolder folder_;
    std::unique_ptr<TGlossaryHelper> glossary_;
    TLinkRecorder main_;
    TBookmarksRecorder bookmarks_;
    TfrmMainBase* oldMain_ = nullptr;
    TfrmBookmarksBase* oldBookmarks_ = nullptr;
    std::unique_ptr<TfrmGloss> w_;
};

TEST_F(GlossaryWindowTest, HistoryRecordsEveryEntryShownAndKeepsThoseAhead) {
    // Opened by a word while hidden: first the first headword, then the word.
    ASSERT_FALSE(w_->isVisible());
    EXPECT_TRUE(w_->ShowWord("jinns", true));
    EXPECT_TRUE(w_->isVisible());
    EXPECT_EQ(History(), (TStringList{"Adam", "Jinn"}));
    EXPECT_EQ(w_->History().Current(), 1);
    EXPECT_EQ(w_->txtTerm->text(), "Jinn");
    EXPECT_NE(Page().find("smokeless fire"), std::string::npos);
    EXPECT_TRUE(w_->btnBack->isEnabled());
    EXPECT_FALSE(w_->btnForward->isEnabled());

    w_->lbxTerms->setCurrentRow(3); // the reader picks Nooh
    EXPECT_EQ(History(), (TStringList{"Adam", "Jinn", "Nooh"}));

    w_->btnBack->click();
    w_->btnBack->click();
    EXPECT_EQ(w_->History().Current(), 0);
    EXPECT_EQ(w_->lbxTerms->currentRow(), 0);
    EXPECT_EQ(w_->txtTerm->text(), "Adam");
    EXPECT_NE(Page().find("The first man"), std::string::npos);
    EXPECT_FALSE(w_->btnBack->isEnabled());
    EXPECT_TRUE(w_->btnForward->isEnabled());
    EXPECT_EQ(History().size(), 3u); // stepping records nothing

    w_->btnForward->click();
    EXPECT_EQ(w_->txtTerm->text(), "Jinn");

    // Looking up the entry already shown records it again; the entries ahead stay.
    w_->btnLookUp->click();
    EXPECT_EQ(History(), (TStringList{"Adam", "Jinn", "Nooh", "Jinn"}));
    EXPECT_EQ(w_->History().Current(), 3);
    EXPECT_FALSE(w_->btnForward->isEnabled());

    // A word shown without showing the window, before it was ever shown.
    TfrmGloss fresh(glossary_.get());
    EXPECT_TRUE(fresh.ShowWord("Noah", false));
    EXPECT_FALSE(fresh.isVisible());
    EXPECT_EQ(fresh.txtTerm->text(), "Nooh");
    EXPECT_EQ(fresh.History().Strings(), (TStringList{"Nooh"}));

    // An unknown word changes nothing.
    EXPECT_FALSE(w_->ShowWord("Pharaoh", true));
    EXPECT_EQ(History().size(), 4u);

    // Each opening shows the first headword again.
    w_->hide();
    w_->show();
    EXPECT_EQ(History().back(), "Adam");
    EXPECT_EQ(History().size(), 5u);
}

TEST_F(GlossaryWindowTest, TypingSelectsTheFirstHeadwordWithThatPrefix) {
    w_->ShowLookup();
    w_->txtTerm->clear();
    QTest::keyClicks(w_->txtTerm, "ji");
    EXPECT_EQ(w_->lbxTerms->currentRow(), 2);
    EXPECT_NE(Page().find("The first man"), std::string::npos); // the page stays
    QTest::keyClicks(w_->txtTerm, "zz");
    EXPECT_EQ(w_->lbxTerms->currentRow(), 2);
    EXPECT_EQ(History().size(), 1u);
    // Enter looks the selection up.
    QTest::keyClick(w_->txtTerm, Qt::Key_Return);
    EXPECT_NE(Page().find("smokeless"), std::string::npos);
    EXPECT_EQ(History(), (TStringList{"Adam", "Jinn"}));
}

TEST_F(GlossaryWindowTest, SpellingQueryOutcomesAndTheCopyMenu) {
    w_->ShowWordQuery();
    EXPECT_TRUE(w_->pnlWordQuery->isVisible());
    EXPECT_FALSE(w_->chkCloseWordQry->isChecked());
    EXPECT_EQ(w_->DefaultButton(), w_->btnProperSpelling);
    EXPECT_EQ(w_->lblPrefSpelling->text(), "Type word above to find it's proper spelling!");
    QClipboard* clip = QApplication::clipboard();

    // A variant: the headword is proposed, shown, recorded once, and copied.
    Query("noah");
    EXPECT_EQ(w_->lblPrefSpelling->text(), "Nooh");
    EXPECT_EQ(w_->txtTerm->text(), "Nooh");
    EXPECT_EQ(History(), (TStringList{"Adam", "Nooh"}));
    EXPECT_TRUE(w_->CopyMenuOffered());
    clip->clear();
    w_->pmnuiCopyPrefSpelling->trigger();
    EXPECT_EQ(clip->text(), "Nooh");

    // Not in the glossary: nothing to copy, nothing shown.
    Query("Pharaoh");
    EXPECT_EQ(w_->lblPrefSpelling->text(), kSpellingNotInGlossary);
    EXPECT_FALSE(w_->CopyMenuOffered());
    EXPECT_EQ(w_->txtTerm->text(), "Nooh");

    // A plural of a headword is correct; the copy gives the headword shown.
    // Enter in the query edit runs the query.
    w_->txtTerm2->setText("Jinns");
    QTest::keyClick(w_->txtTerm2, Qt::Key_Return);
    EXPECT_EQ(w_->lblPrefSpelling->text(), kSpellingCorrect);
    EXPECT_EQ(w_->txtTerm->text(), "Jinn");
    EXPECT_TRUE(w_->CopyMenuOffered());
    clip->clear();
    w_->pmnuiCopyPrefSpelling->trigger();
    EXPECT_EQ(clip->text(), "Jinn");

    // A blank query asks nothing.
    Query("   ");
    EXPECT_EQ(w_->lblPrefSpelling->text(), kSpellingCorrect);

    // Closing the query hides it and gives Enter back to "Look Up".
    w_->chkCloseWordQry->click();
    EXPECT_FALSE(w_->pnlWordQuery->isVisible());
    EXPECT_EQ(w_->DefaultButton(), w_->btnLookUp);
    w_->btnWordQuery->click();
    EXPECT_TRUE(w_->pnlWordQuery->isVisible());
    EXPECT_FALSE(w_->chkCloseWordQry->isChecked());
}

TEST_F(GlossaryWindowTest, LinksAreGlossaryWordsFirstThenTheMainWindows) {
    w_->ShowWord("Iblis", true);
    // A real click on the page's link to a plural of a headword.
    QTextDocument* doc = w_->Browser->document();
    QTextCursor at = doc->find("jinn");
    ASSERT_FALSE(at.isNull());
    QTextCursor mid(doc);
    mid.setPosition(at.selectionStart() + 2);
    QPoint p = w_->Browser->cursorRect(mid).center();
    QTest::mouseClick(w_->Browser->viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(w_->txtTerm->text(), "Jinn");
    EXPECT_TRUE(main_.Links.empty());

    w_->BrowserHotSpotClick("PROF_Adam");
    EXPECT_EQ(main_.Links, (TStringList{"PROF_Adam"}));
    EXPECT_EQ(w_->txtTerm->text(), "Jinn");
}

TEST_F(GlossaryWindowTest, BookmarkButtonsReachTheBookmarksWindow) {
    w_->ShowWord("Noah", true);
    w_->btnBookmark->click();
    EXPECT_EQ(bookmarks_.Terms, (TStringList{"Nooh"}));
    EXPECT_FALSE(bookmarks_.isVisible());
    w_->btnBookmarks->click();
    EXPECT_TRUE(bookmarks_.isVisible());
    bookmarks_.hide();
    // Without a bookmarks window the buttons do nothing.
    AppfrmBookmarks = nullptr;
    w_->btnBookmark->click();
    w_->btnBookmarks->click();
    EXPECT_EQ(bookmarks_.Terms.size(), 1u);
}

TEST_F(GlossaryWindowTest, LinkColourColoursLinksAndTheShownTitle) {
    auto titleColour = [this](const char* title) {
        QTextCursor c = w_->Browser->document()->find(title);
        return c.charFormat().foreground().color();
    };
    w_->ShowLookup();
    EXPECT_EQ(titleColour("Adam"), ColorFromRef(8421504));
    w_->SetLinkColour(25600); // green
    EXPECT_EQ(w_->LinkColour(), 25600u);
    EXPECT_EQ(w_->Browser->palette().color(QPalette::Link), QColor("#006400"));
    // The shown entry's title is redrawn in the new colour.
    EXPECT_EQ(titleColour("Adam"), QColor("#006400"));
    w_->ShowWord("Iblis", true);
    EXPECT_EQ(titleColour("Iblis"), QColor("#006400"));
    EXPECT_EQ(History().size(), 2u); // re-colouring records nothing
}

// The main window over the shipped edition: a double-clicked story word opens its entry.
TEST(GlossaryFromStory, DoubleClickOnAStoryWordOpensItsEntry) {
    const std::string old = ProgramFolder();
    SetProgramFolder(HALVORA_PROGRAM_DIR);
    StoredPrefs() = DefaultPrefs();
    TScopedDialogSeam seam({[](QDialog&) -> std::optional<int> { return 1; }, nullptr});
    {
        TMainWindowOptions o;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        TfrmInit init;
        TfrmMain w(&init, std::move(o));
        TfrmGloss gloss(w.Glossary.get(), w.Scheme, &w);
        w.show();
        w.SelectProphet(1);
        ASSERT_FALSE(gloss.isVisible());
        QTextDocument* doc = w.Browser->document();
        QTextCursor at = doc->find("Iblis");
        ASSERT_FALSE(at.isNull());
        QTextCursor mid(doc);
        mid.setPosition(at.selectionStart() + 2);
        w.Browser->setTextCursor(mid);
        w.Browser->ensureCursorVisible();
        QPoint p = w.Browser->cursorRect(mid).center();
        QTest::mouseDClick(w.Browser->viewport(), Qt::LeftButton, {}, p);
        EXPECT_NE(w.Browser->SelectedText().find("Iblis"), std::string::npos);
        ASSERT_TRUE(gloss.isVisible());
        EXPECT_EQ(gloss.txtTerm->text(), "Iblis");
        EXPECT_EQ(gloss.History().Strings(), (TStringList{"Adam", "Iblis"}));
        // The entry's title takes the applied highlight colour (Silver).
        EXPECT_TRUE(gloss.Browser->toHtml().contains("#808080", Qt::CaseInsensitive));
        SetPageReady(false);
    }
    SetProgramFolder(old);
}

} // namespace
