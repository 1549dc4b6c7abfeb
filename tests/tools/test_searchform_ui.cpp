// The search window over the shipped sample edition: results of each kind
// opening the right page at the hit, and renders under build/screenshots/.
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "controls/vrnbutton.h"
#include "pages/composer.h"
#include "platform/dialogs_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "shell/prefs.h"
#include "shell/readernav_ui.h"
#include "support/edition_fixture.h"
#include "tools/glossarywin_ui.h"
#include "tools/searchform_ui.h"
#include "util/fileutils.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = ProgramFolder();
        SetProgramFolder(HALVORA_PROGRAM_DIR);
        handlers_ = SetVerificationHandlers({[](const std::string&, const std::string&) {}, [] {}});
        StoredPrefs() = DefaultPrefs();
        // A settings folder of each test's own: CTest runs this file's tests side by side.
        char tmpl[] = "/tmp/hvnavXXXXXX";
        config_ = mkdtemp(tmpl);
        oldConfig_ = getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "";
        setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
        QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
        TMainWindowOptions o;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        init_ = std::make_unique<TfrmInit>();
        w_ = std::make_unique<TfrmMain>(init_.get(), std::move(o));
        w_->resize(1000, 720);
        w_->show();
        w_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w_.get()));
    }
    void TearDown() override {
        delete frmSearch;
        w_.reset();
        init_.reset();
        SetVerificationHandlers(handlers_);
        SetProgramFolder(old_);
        setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        std::filesystem::remove_all(config_);
        SetPageReady(false);
    }
    void Shot(QWidget& w, const char* name) {
        QApplication::processEvents();
        QString file = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
        EXPECT_TRUE(w.grab().save(file)) << file.toStdString();
    }
    // Types the query and presses Enter; waits for the index the first time.
    void Search(const QString& query) {
        frmSearch->edtQuery->setText(query);
        QTest::keyClick(frmSearch->edtQuery, Qt::Key_Return);
        for (int i = 0; i < 400 && !frmSearch->Index().Ready(); ++i) QTest::qWait(10);
        QTest::qWait(60); // the window's check of the index runs every 25 ms
    }
    // The letters of text without any white space.
    static QString Letters(QString text) {
        text.remove(QChar(0x2026));
        text.remove(QChar(kHitStart));
        text.remove(QChar(kHitEnd));
        QString out;
        for (QChar c : text)
            if (!c.isSpace()) out += c;
        return out;
    }
    // The view shows the hit selected and marked, followed by the words the
    // snippet shows after it: the page opened at the hit, not at another
    // occurrence of the same word.
    static void ExpectAtHit(TVrnHTML* view, const TSearchHit& hit) {
        QTextCursor c = view->textCursor();
        EXPECT_EQ(c.selectedText().toLower(), QString::fromUtf8(hit.HitText).toLower());
        ASSERT_EQ(view->extraSelections().size(), 1);
        EXPECT_EQ(view->extraSelections()[0].cursor.selectionStart(), c.selectionStart());
        QString snippet = QString::fromUtf8(hit.Snippet);
        int end = snippet.indexOf(QChar(kHitEnd));
        QString after = Letters(snippet.mid(end + 1)).left(12);
        QString page = Letters(view->toPlainText().mid(c.selectionEnd(), 200));
        EXPECT_TRUE(page.startsWith(after)) << after.toStdString() << " | " << page.toStdString();
    }
    std::string old_;
    TVerificationHandlers handlers_;
    std::string config_, oldConfig_;
    std::unique_ptr<TfrmInit> init_;
    std::unique_ptr<TfrmMain> w_;
};

TEST_F(SearchWindowTest, CtrlFOpensItAndEmptyOrUnmatchedQueriesSaySo) {
    ASSERT_EQ(frmSearch, nullptr);
    QTest::keyClick(w_->trvProphets, Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(frmSearch, nullptr);
    EXPECT_TRUE(frmSearch->isVisible());
    Shot(*frmSearch, "search_before.png");
    Search("   ");
    EXPECT_EQ(frmSearch->lblStatus->text(), "Type a word or a \"phrase\" to search for.");
    EXPECT_EQ(frmSearch->trvResults->topLevelItemCount(), 0);
    Search("xylophonequartz");
    EXPECT_EQ(frmSearch->lblStatus->text(),
              "No results for xylophonequartz. Try another spelling or fewer words.");
    EXPECT_EQ(frmSearch->trvResults->topLevelItemCount(), 0);
    Shot(*frmSearch, "search_none.png");
}

TEST_F(SearchWindowTest, TheFeatureLinkOpensItToo) {
    w_->HandleLink("FEAT_SEARCH");
    ASSERT_NE(frmSearch, nullptr);
    EXPECT_TRUE(frmSearch->isVisible());
}

TEST_F(SearchWindowTest, ResultsAreGroupedByKindWithCounts) {
    w_->Navigation->ShowSearch();
    Search("Ismail");
    const TSearchResults& r = frmSearch->Results();
    ASSERT_GT(r.Counts[0], 0);
    ASSERT_GT(r.Counts[2], 0); // the glossary's entry, under any spelling
    QTreeWidget* t = frmSearch->trvResults;
    ASSERT_GE(t->topLevelItemCount(), 2);
    QString first = t->topLevelItem(0)->data(0, Qt::UserRole + 2).toString();
    EXPECT_EQ(first, QString("<b>Stories</b> (%1)").arg(r.Counts[0]));
    EXPECT_TRUE(frmSearch->lblStatus->text().startsWith(QString("%1 results for Ismail: ").arg(r.Total())))
        << frmSearch->lblStatus->text().toStdString();
    // Each hit shows its words around the marked match.
    const TSearchHit* hit = frmSearch->HitOf(frmSearch->FirstHitItem(TSearchKind::Story));
    ASSERT_NE(hit, nullptr);
    EXPECT_NE(hit->Snippet.find(kHitStart), std::string::npos);
    Shot(*frmSearch, "search_results.png");
}

TEST_F(SearchWindowTest, StoryAndDocumentHitsOpenTheirPageAtTheHit) {
    w_->Navigation->ShowSearch();
    // A word that occurs many times in a story: the hit is not the first one.
    Search("\"the people\"");
    QTreeWidgetItem* item = frmSearch->FirstHitItem(TSearchKind::Story);
    ASSERT_NE(item, nullptr);
    // Not the first sub-topic of its story, where a search from the top would land anyway.
    for (QTreeWidgetItemIterator it(frmSearch->trvResults); *it; ++it) {
        const TSearchHit* h = frmSearch->HitOf(*it);
        if (h && h->Kind == TSearchKind::Story && h->B > 1) {
            item = *it;
            break;
        }
    }
    frmSearch->trvResults->setCurrentItem(item);
    const TSearchHit story = *frmSearch->HitOf(item);
    ASSERT_GT(story.B, 1);
    QTest::keyClick(frmSearch->trvResults, Qt::Key_Return);
    EXPECT_EQ(w_->Stories->CurrentProphet(), story.A);
    ExpectAtHit(w_->Browser, story);
    Shot(*w_, "search_opened_story.png");

    Search("translation");
    QTreeWidgetItem* docItem = frmSearch->FirstHitItem(TSearchKind::Document);
    ASSERT_NE(docItem, nullptr);
    const TSearchHit doc = *frmSearch->HitOf(docItem);
    frmSearch->trvResults->setCurrentItem(docItem);
    frmSearch->trvResults->scrollToItem(docItem);
    QRect r = frmSearch->trvResults->visualItemRect(docItem);
    ASSERT_EQ(frmSearch->trvResults->itemAt(r.center()), docItem);
    // A double-click as the window system sends it: a click, then the second press.
    QTest::mouseClick(frmSearch->trvResults->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(frmSearch->trvResults->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(w_->SelectedNodeData(), -(doc.A + 1));
    EXPECT_EQ(w_->lblChapter->text().toStdString(), doc.Title);
    ExpectAtHit(w_->Browser, doc);
}

TEST_F(SearchWindowTest, VerseAndGlossaryHitsOpenInThePreview) {
    w_->Navigation->ShowSearch();
    Search("Dhulkifl");
    QTreeWidgetItem* gloss = frmSearch->FirstHitItem(TSearchKind::Glossary);
    ASSERT_NE(gloss, nullptr);
    frmSearch->trvResults->setCurrentItem(gloss);
    frmSearch->OpenSelected();
    const TSearchHit g = *frmSearch->HitOf(gloss);
    EXPECT_NE(frmSearch->Preview->toPlainText().indexOf(QString::fromUtf8(g.Title)), -1);
    EXPECT_EQ(frmSearch->Preview->textCursor().selectedText(), QString::fromUtf8(g.HitText));

    Search("\"true to his promise\"");
    QTreeWidgetItem* verse = frmSearch->FirstHitItem(TSearchKind::Quran);
    ASSERT_NE(verse, nullptr);
    frmSearch->trvResults->setCurrentItem(verse);
    const TSearchHit v = *frmSearch->HitOf(verse);
    QTest::keyClick(frmSearch->trvResults, Qt::Key_Return);
    // Enter opened the verse and left the results as they were.
    EXPECT_EQ(frmSearch->HitOf(frmSearch->trvResults->currentItem())->B, v.B);
    EXPECT_EQ(v.A, 19);
    EXPECT_EQ(v.B, 54);
    // The whole surah, scrolled to the verse with the phrase marked.
    QString text = frmSearch->Preview->toPlainText();
    EXPECT_NE(text.indexOf("19:1 "), -1);
    EXPECT_NE(text.indexOf("19:98 "), -1);
    ExpectAtHit(frmSearch->Preview, v);
    EXPECT_GT(frmSearch->Preview->textCursor().selectionStart(), text.indexOf("19:54 "));
    Shot(*frmSearch, "search_verse.png");
}

TEST_F(SearchWindowTest, GlossaryHitsOpenTheGlossaryWindowAtTheirEntry) {
    TfrmGloss gloss(w_->Glossary.get(), w_->Scheme, w_.get());
    ASSERT_EQ(frmGloss, &gloss);
    w_->Navigation->ShowSearch();
    Search("Zulkifl"); // a spelling the glossary lists under "Dhul-Kifl"
    QTreeWidgetItem* item = frmSearch->FirstHitItem(TSearchKind::Glossary);
    ASSERT_NE(item, nullptr);
    const TSearchHit hit = *frmSearch->HitOf(item);
    EXPECT_EQ(hit.Title, "Dhul-Kifl");
    frmSearch->trvResults->setCurrentItem(item);
    QTest::keyClick(frmSearch->trvResults, Qt::Key_Return);
    EXPECT_TRUE(gloss.isVisible());
    ASSERT_NE(gloss.lbxTerms->currentItem(), nullptr);
    EXPECT_EQ(gloss.lbxTerms->currentItem()->text(), "Dhul-Kifl");
    EXPECT_EQ(gloss.Browser->textCursor().selectedText().toLower(), QString::fromUtf8(hit.HitText).toLower());
}

} // namespace
