// Back and forward, zoom and the last page over the shipped sample edition.
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "pages/composer.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "shell/prefs.h"
#include "shell/readernav_ui.h"
#include "shell/readingstate.h"
#include "support/edition_fixture.h"
#include "util/fileutils.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <fstream>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class ReaderNavTest : public ::testing::Test {
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
    }
    void TearDown() override {
        inits_.clear();
        SetVerificationHandlers(handlers_);
        SetProgramFolder(old_);
        setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        std::filesystem::remove_all(config_);
        SetPageReady(false);
    }
    std::unique_ptr<TfrmMain> Start() {
        TMainWindowOptions o;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        inits_.push_back(std::make_unique<TfrmInit>());
        auto w = std::make_unique<TfrmMain>(inits_.back().get(), std::move(o));
        w->resize(1000, 720);
        w->show();
        QApplication::processEvents();
        return w;
    }
    // Runs the start-up timer's steps.
    static void FinishStartUp(TfrmMain& w) {
        QSignalSpy finished(&w, &TfrmMain::StartUpFinished);
        ASSERT_TRUE(finished.wait(5000));
    }
    static TPageLocation::Kind PageKind(TfrmMain& w) { return w.Navigation->CurrentLocation().Page; }
    std::string old_;
    TVerificationHandlers handlers_;
    std::string config_, oldConfig_;
    std::vector<std::unique_ptr<TfrmInit>> inits_; // the start-up windows outlive their main windows
};

TEST_F(ReaderNavTest, BackAndForwardThroughPagesAndANewVisitDropsThoseAhead) {
    auto w = Start();
    const int docs = w->MainDocs->Count();
    const std::string welcome = "welcome@0";
    ASSERT_EQ(w->Navigation->History().Strings(), (TStringList{welcome}));
    EXPECT_FALSE(w->Navigation->mnuiBack->isEnabled());
    w->SelectTreeIndex(1);         // a document
    w->SelectProphet(3);           // a story
    w->GoToSubTopic(3, 2);         // a place in it: one visit
    ASSERT_EQ(w->Navigation->History().Count(), 4);
    const TPageLocation atTopic = ParsePageLocation(w->Navigation->History()[3]);
    EXPECT_EQ(atTopic.Prophet, 3);
    EXPECT_GT(atTopic.Position, 0);

    QTest::keyClick(w->Browser, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(w->Navigation->CurrentLocation(), (TPageLocation{TPageLocation::Story, {}, 3, 0}));
    // The mouse's back button, over the page.
    QTest::mousePress(w->Browser->viewport(), Qt::BackButton, {}, QPoint(50, 50));
    EXPECT_EQ(w->SelectedNodeData(), -2);
    QTest::keyClick(w->trvProphets, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(PageKind(*w), TPageLocation::Welcome);
    EXPECT_FALSE(w->Navigation->mnuiBack->isEnabled());
    EXPECT_TRUE(w->Navigation->mnuiForward->isEnabled());
    // Back at the start nothing more happens.
    w->Navigation->mnuiBack->trigger();
    EXPECT_EQ(PageKind(*w), TPageLocation::Welcome);

    QTest::keyClick(w->Browser, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(w->Browser, Qt::Key_Right, Qt::AltModifier);
    QTest::mousePress(w->Browser->viewport(), Qt::ForwardButton, {}, QPoint(50, 50));
    EXPECT_EQ(w->Navigation->CurrentLocation().Prophet, 3);
    EXPECT_EQ(w->Navigation->CurrentLocation().Position, atTopic.Position); // the place, not the top
    EXPECT_FALSE(w->Navigation->mnuiForward->isEnabled());

    // Back twice, then a new page: the two ahead are gone.
    w->Navigation->GoBack();
    w->Navigation->GoBack();
    EXPECT_EQ(w->SelectedNodeData(), -2);
    w->SelectProphet(5);
    EXPECT_EQ(w->Navigation->History().Strings(), (TStringList{welcome, "doc:" + w->MainDocs->Items(1).DocName + "@0", "story:5@0"}));
    EXPECT_FALSE(w->Navigation->mnuiForward->isEnabled());
    EXPECT_TRUE(w->Navigation->mnuiBack->isEnabled());
    (void)docs;
}

TEST_F(ReaderNavTest, ScrollingMovesTheCurrentEntrysPosition) {
    auto w = Start();
    w->SelectProphet(12);
    QScrollBar* bar = w->Browser->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const int top = w->Browser->TopPosition();
    ASSERT_GT(top, 0);
    w->SelectProphet(13);
    w->Navigation->GoBack();
    EXPECT_EQ(w->Navigation->CurrentLocation().Prophet, 12);
    EXPECT_NEAR(w->Browser->TopPosition(), top, 80);
}

TEST_F(ReaderNavTest, ZoomByKeysAndWheelIsKeptAcrossARestart) {
    {
        auto w = Start();
        const qreal normal = w->Browser->document()->defaultFont().pointSizeF();
        QTest::keyClick(w->Browser, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(w->trvProphets, Qt::Key_Plus, Qt::ControlModifier);
        EXPECT_EQ(w->Navigation->Zoom(), 2);
        EXPECT_DOUBLE_EQ(w->Browser->document()->defaultFont().pointSizeF(), normal + 2);
        QTest::keyClick(w->Browser, Qt::Key_Minus, Qt::ControlModifier);
        EXPECT_EQ(w->Navigation->Zoom(), 1);
        QWheelEvent up(QPointF(40, 40), w->Browser->viewport()->mapToGlobal(QPointF(40, 40)), QPoint(),
                       QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->Browser->viewport(), &up);
        EXPECT_EQ(w->Navigation->Zoom(), 3);
        // The limits hold.
        for (int i = 0; i < 20; ++i) w->Navigation->mnuiZoomIn->trigger();
        EXPECT_EQ(w->Navigation->Zoom(), kMaxZoom);
        w->Navigation->SetZoom(3);
    }
    EXPECT_EQ(LoadReadingState().Zoom, 3);
    auto again = Start();
    EXPECT_EQ(again->Navigation->Zoom(), 3);
    // A new page keeps the size.
    again->SelectProphet(2);
    const qreal zoomed = again->Browser->document()->defaultFont().pointSizeF();
    QTest::keyClick(again->Browser, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(again->Navigation->Zoom(), 0);
    EXPECT_DOUBLE_EQ(again->Browser->document()->defaultFont().pointSizeF(), zoomed - 3);
}

TEST_F(ReaderNavTest, TheLastPageAndPositionComeBackAfterTheWelcomePage) {
    int position = 0;
    {
        auto w = Start();
        FinishStartUp(*w);
        w->GoToSubTopic(7, 3);
        position = w->Browser->TopPosition();
        ASSERT_GT(position, 0);
        w->close();
    }
    auto w = Start();
    // First the welcome page, as always...
    EXPECT_EQ(PageKind(*w), TPageLocation::Welcome);
    FinishStartUp(*w);
    // ...then, as the start-up's second step, the page the reader left.
    EXPECT_EQ(w->Navigation->CurrentLocation().Prophet, 7);
    EXPECT_NEAR(w->Browser->TopPosition(), position, 80);
    EXPECT_EQ(w->StartUpSteps, (std::vector<std::string>{"hide start-up window", "restore last page"}));
    // Back leads to the welcome page the start-up showed.
    w->Navigation->GoBack();
    EXPECT_EQ(PageKind(*w), TPageLocation::Welcome);
}

TEST_F(ReaderNavTest, ASettingsFileWithoutTheSectionStartsOnTheWelcomePage) {
    std::ofstream(SettingsFileName()) << "[General]\r\nStartUpTips=0\r\n[ColorScheme]\r\nColorScheme=2\r\n";
    auto w = Start();
    FinishStartUp(*w);
    EXPECT_EQ(PageKind(*w), TPageLocation::Welcome);
    EXPECT_EQ(w->Navigation->Zoom(), 0);
    EXPECT_EQ(w->StartUpSteps, (std::vector<std::string>{"hide start-up window"}));
    // A page that is no longer there (a document removed) is no page to restore.
    SaveReadingState({0, "doc:MDOC_Removed@10"});
    auto other = Start();
    FinishStartUp(*other);
    EXPECT_EQ(PageKind(*other), TPageLocation::Welcome);
}

} // namespace
