// The real main window over a small edition built by the test.
#include "content/documents.h"
#include "content/glossary.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "platform/desktop_ui.h"
#include "platform/dialogs_ui.h"
#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/aboutdlg_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "shell/msgdlg_ui.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "storage/verifydlg_ui.h"
#include "tools/tipsdlg_ui.h"
#include "net/newsform_ui.h"
#include "net/recitationdlg_ui.h"
#include "support/loopback_server.h"
#include "content/surahs.h"
#include "support/edition_fixture.h"
#include "util/fileutils.h"

#include <QApplication>
#include <tuple>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TStringList LongParagraphs(const std::string& tag) {
    TStringList l;
    for (int i = 0; i < 12; ++i)
        l.push_back("<P>" + tag + " paragraph " + std::to_string(i) +
                    " tells of the story at some length so that the page needs scrolling.</P>");
    return l;
}

// What a message dialog asked, and the answer given.
struct Asked {
    std::string heading, message;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::map<int, TStringList> stories;
        TStringList s1 = {"<[Creation]>"};
        auto more = LongParagraphs("Creation");
        s1.insert(s1.end(), more.begin(), more.end());
        // "The Garden" is named here first, before its own heading.
        s1.push_back("<P>Later he would live in the garden.</P>");
        s1.push_back("<<2:30-31>>");
        s1.push_back("<[The Garden]>");
        more = LongParagraphs("Garden");
        s1.insert(s1.end(), more.begin(), more.end());
        s1.push_back("<<7:19>>");
        s1.push_back("<[Descent]>");
        s1.push_back("<P>The last part.</P>");
        stories[1] = s1;
        stories[6] = {"<[Fire]>", "<P>Ibrahim and <A HREF=\"PROF_Lot\">Lot</A>.</P>", "<<21:69>>"};
        options_.QuranSignature = folder_.Write("DAZaruro2.dll", BuildQuranModuleBytes());
        options_.StorySignature = folder_.Write("HVModule.dll", BuildStoryModuleBytes(stories));
        WriteMainDocument(folder_.Path() + "Introduction.dbi",
                          MainDocSource("MDOC_INTRO", "Introduction", 1,
                                    {"<P>Welcome <VER>.</P>", "<<1:1-2>>",
                                     "<A HREF=\"MDOC_FEATURES\">features</A>"}));
        WriteMainDocument(folder_.Path() + "SoftFeat.dbi",
                          MainDocSource("MDOC_FEATURES", "Software Features", 2, {"<P>Features.</P>"}));
        WriteMainDocument(folder_.Path() + "Distribution.dbi",
                          MainDocSource("MDOC_DIST", "Distribution", 3, {"<P>Share it.</P>"}));
        WriteGlossary(folder_.Path() + "QGloss.dbx",
                      {"<<T:Iblis>>|<<O:Eblis>>", "The one who refused to bow."});
        options_.GlossarySignature = FileSignature(folder_.Path() + "QGloss.dbx");
        // The recitation table's first verses: surah 1, then surah 2 up to verse 33.
        TStringList table = {"h0", "h1", "h2", "h3"};
        for (int s = 1; s <= 2; ++s)
            for (int v = 1; v <= VerseCount(s) && table.size() < 44; ++v)
                table.push_back("Q" + ZeroPad(s, 3) + ZeroPad(v, 3) + ".ram");
        EncipherLines(table);
        WriteFileLines(folder_.Path() + "QRemoteAud.dbx", table);
        options_.RecitationSignature = FileSignature(folder_.Path() + "QRemoteAud.dbx");
        StoredPrefs() = DefaultPrefs();
        StoredPrefs().StartUpTips = true;
        StoredPrefs().NewsOnStart = true;
        seam_ = std::make_unique<TScopedDialogSeam>(TDialogSeam{
            [this](QDialog& d) -> std::optional<int> {
                if (auto* m = dynamic_cast<TfrmMsgDlg*>(&d)) {
                    asked_.push_back({m->lblHeading->text().toStdString(),
                                      m->lblMessage->text().toStdString()});
                    return answer_;
                }
                if (dynamic_cast<TfrmTipsDlg*>(&d)) {
                    steps_.push_back("tips");
                    return 1;
                }
                if (dynamic_cast<TfrmVerifydlg*>(&d)) {
                    steps_.push_back("verification dialog");
                    return 1;
                }
                return 1;
            },
            nullptr});
        SetShellOpenHandler([this](const QUrl& u) {
            opened_.push_back(u.toString().toStdString());
            return true;
        });
    }
    void TearDown() override {
        SetShellOpenHandler(nullptr);
        SetPageReady(false);
    }

    std::unique_ptr<TfrmMain> Start() {
        init_ = std::make_unique<TfrmInit>();
        TMainWindowOptions o;
        o.QuranSignature = options_.QuranSignature;
        o.StorySignature = options_.StorySignature;
        o.GlossarySignature = options_.GlossarySignature;
        o.RecitationSignature = options_.RecitationSignature;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        auto w = std::make_unique<TfrmMain>(init_.get(), std::move(o));
        verify_ = std::make_unique<TfrmVerifydlg>(nullptr, w->Scheme, &VerificationManager());
        tips_ = std::make_unique<TfrmTipsDlg>(w->Scheme);
        w->ShowNewsIfConnected = [this] { steps_.push_back("news"); };
        w->show();
        return w;
    }
    int32_t SelectedData(TfrmMain& w) { return w.trvProphets->currentItem()->data(0, Qt::UserRole).toInt(); }
    void ClickOutline(TfrmMain& w, const QString& text) {
        TVrnTreeView* t = w.CurrentOutlineTree();
        ASSERT_NE(t, nullptr);
        auto found = t->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        t->setCurrentItem(found.front());
    }

    TFixtureFolder folder_;
    TMainWindowOptions options_;
    std::unique_ptr<TScopedDialogSeam> seam_;
    std::unique_ptr<TfrmInit> init_;
    std::unique_ptr<TfrmVerifydlg> verify_;
    std::unique_ptr<TfrmTipsDlg> tips_;
    std::vector<Asked> asked_;
    std::vector<std::string> steps_;
    std::vector<std::string> opened_;
    int answer_ = mrOk;
};

TEST_F(MainFormTest, StartUpOrder) {
    auto w = Start();
    EXPECT_EQ(folder_.Reports, 0);
    EXPECT_EQ(init_->ProgressMax(), 6349);
    EXPECT_EQ(init_->ProgressPosition(), 6349);
    EXPECT_EQ(init_->Repaints(), 101); // once per percentage, 0 to 100
    EXPECT_EQ(SelectedData(*w), -786);
    EXPECT_EQ(w->lblChapter->text(), "Welcome to Halvora");
    EXPECT_TRUE(w->tmrStartUp.isActive());
    EXPECT_TRUE(init_->isVisible());
    QSignalSpy finished(w.get(), &TfrmMain::StartUpFinished);
    ASSERT_TRUE(finished.wait(3000));
    QTest::qWait(1300);
    EXPECT_EQ(finished.count(), 1); // the timer fires once
    EXPECT_FALSE(init_->isVisible());
    EXPECT_EQ(steps_, (std::vector<std::string>{"verification dialog", "tips", "news"}));
    EXPECT_EQ(VerificationManager().Count(), 6u);
}

// The glossary is read once the welcome page is up; what is read then is what
// reading it at once gives, and a look-up before then reads it itself.
TEST_F(MainFormTest, GlossaryIsReadAfterTheWelcomePage) {
    auto w = Start();
    EXPECT_EQ(w->lblChapter->text(), "Welcome to Halvora");
    EXPECT_FALSE(w->Glossary->Loaded);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->Glossary->Loaded);
    EXPECT_EQ(TextCipherCacheSize(), 0u);
    TGlossaryHelper direct(folder_.Path() + "QGloss.dbx", options_.GlossarySignature);
    direct.Load();
    ASSERT_EQ(w->Glossary->Count(), direct.Count());
    for (int i = 0; i < direct.Count(); ++i) {
        TGlossaryTerm a = w->Glossary->GetTerm(i), b = direct.GetTerm(i);
        EXPECT_EQ(std::tie(a.Term, a.AltSpellings, a.Meaning, a.PreferredSpellings, a.PFlag),
                  std::tie(b.Term, b.AltSpellings, b.Meaning, b.PreferredSpellings, b.PFlag));
    }
    w.reset();

    auto early = Start();
    EXPECT_EQ(early->Glossary->LookupWord("Eblis"), 0);
    EXPECT_TRUE(early->Glossary->Loaded);
}

TEST_F(MainFormTest, ProphetsTreeAndPages) {
    auto w = Start();
    ASSERT_EQ(w->trvProphets->topLevelItemCount(), 4);
    EXPECT_EQ(w->TreeNodeAt(0)->text(0), "Introduction");
    EXPECT_EQ(w->TreeNodeAt(0)->data(0, Qt::UserRole).toInt(), -1);
    EXPECT_EQ(w->TreeNodeAt(3)->data(0, Qt::UserRole).toInt(), -786);
    EXPECT_EQ(w->TreeNodeAt(3 + 16)->text(0), "Musa and Harun [Moses and Aaron]");
    EXPECT_EQ(w->TreeNodeAt(3 + 29)->data(0, Qt::UserRole).toInt(), 29);

    // The welcome page asks for both welcome pictures.
    EXPECT_FALSE(w->BrowserImageRequest("welcome1.jpg ").isNull());
    EXPECT_FALSE(w->pnlDock->isEnabled());

    w->SelectTreeIndex(0);
    EXPECT_EQ(w->lblChapter->text(), "Introduction");
    EXPECT_EQ(w->StatusText(), "Introduction");
    std::string doc = w->Browser->DocumentText();
    EXPECT_NE(doc.find("Welcome 1.5."), std::string::npos);
    EXPECT_NE(doc.find("text 1:2"), std::string::npos);
    EXPECT_EQ(w->MainDocumentPosition(), 1);

    w->SelectProphet(1);
    EXPECT_EQ(w->lblChapter->text(), "Prophet Adam [Adam]");
    EXPECT_EQ(w->lblChapter2->text(), "Allah's Peace and Blessings be upon him");
    EXPECT_EQ(w->StatusText(), "Prophet Adam [Adam] - Allah's Peace and Blessings be upon him");
    EXPECT_TRUE(w->pnlDock->isEnabled());
    EXPECT_TRUE(w->Browser->PositionTo("SUBTOPIC_2"));
    EXPECT_TRUE(w->Browser->PositionTo("QREF_1"));
    EXPECT_NE(w->Browser->DocumentText().find("text 2:31"), std::string::npos);
    EXPECT_EQ(w->trvOutlineComposite->topLevelItem(0)->text(0),
              "Adam [Adam] (Peace be upon him)");
    EXPECT_EQ(w->trvOutlineComposite->topLevelItem(0)->child(0)->child(0)->text(0), "002.030-031");
    EXPECT_EQ(w->trvOutlineTopical->topLevelItem(0)->childCount(), 3);

    w->SelectProphet(16);
    EXPECT_EQ(w->lblChapter2->text(), "Allah's Peace and Blessings be upon them");
    EXPECT_EQ(w->StatusText(),
              "Prophet Musa and Harun [Moses and Aaron] - Allah's Peace and Blessings be upon him");
}

TEST_F(MainFormTest, BannersFollowColourAndTitle) {
    auto w = Start();
    w->SelectProphet(6);
    QImage withTitle = w->BrowserImageRequest("Border.bmp");
    ASSERT_EQ(withTitle.size(), QSize(492, 39));
    QImage plain = BannerPicture(StoredPrefs().ColorWordHL).convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(withTitle, plain); // the title is drawn
    // White title pixels sit in the middle band, none at the far edges.
    int white = 0;
    for (int y = 12; y < 39; ++y)
        for (int x = 0; x < 492; ++x) white += withTitle.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 20);
    StoredPrefs().ColorWordHL = 0;
    QImage green = w->BrowserImageRequest("Border.bmp");
    EXPECT_NE(green.pixel(2, 2), withTitle.pixel(2, 2));
    StoredPrefs().ColorWordHL = 9; // out of range: the green banner
    EXPECT_EQ(w->BrowserImageRequest("Border.bmp").pixel(2, 2), green.pixel(2, 2));
    w->SelectTreeIndex(1);
    QImage doc = w->BrowserImageRequest("Border.bmp");
    EXPECT_NE(doc, green); // "Software Features" is drawn instead
    SetPageReady(false);
    EXPECT_TRUE(w->BrowserImageRequest("Border.bmp").isNull());
}

TEST_F(MainFormTest, LinkDispatch) {
    auto w = Start();
    w->DispatchLink("PROF_Lot");
    EXPECT_EQ(SelectedData(*w), 10);
    w->DispatchLink("PROF_nobody");
    EXPECT_EQ(SelectedData(*w), 10);
    w->DispatchLink("MDOC_FEATURES");
    EXPECT_EQ(SelectedData(*w), -2);
    w->DispatchLink("feat_index");
    EXPECT_EQ(SelectedData(*w), -2);
    w->CheckOutlineOption(1);
    w->DispatchLink("FEAT_INDEX");
    EXPECT_EQ(SelectedData(*w), 1);
    EXPECT_TRUE(w->rbOutlineComposite->isChecked());
    w->DispatchLink("http://Example.org/Some/Page");
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], "http://example.org/Some/Page"); // the path keeps its letter case
    for (const char* quiet : {"RAUDIO_002.255", "FEAT_SEARCH", "FEAT_GLOSSARY", "FEAT_BOOKMARKS",
                              "FEAT_WORD_SPELL", "FEAT_PREFS", "FEAT_REMOTE_AUD"})
        EXPECT_NO_THROW(w->DispatchLink(quiet));
    EXPECT_EQ(SelectedData(*w), 1);
    // A link clicked in a page arrives with its raw text, spaces included.
    w->HandleLink("PROF_Musa and Harun");
    EXPECT_EQ(SelectedData(*w), 16);
}

TEST_F(MainFormTest, OutlineModeSequence) {
    auto w = Start();
    w->SelectProphet(1);
    EXPECT_EQ(w->OutlineMode(), 2);
    EXPECT_FALSE(w->pnlOutline->isHidden());
    w->rbOutlineTopical->click();
    EXPECT_EQ(w->OutlineMode(), 1);
    w->SelectTreeIndex(1); // a document
    EXPECT_EQ(w->OutlineMode(), 0);
    EXPECT_TRUE(w->pnlOutline->isHidden());
    EXPECT_FALSE(w->pnlDock->isEnabled());
    w->SelectProphet(2);
    EXPECT_EQ(w->OutlineMode(), 2); // the first return does not keep the choice
    w->rbOutlineTopical->click();
    w->SelectTreeIndex(3); // welcome
    EXPECT_EQ(w->lblChapter->text(), "Welcome to Halvora");
    EXPECT_TRUE(w->pnlOutline->isHidden());
    w->SelectProphet(3);
    EXPECT_EQ(w->OutlineMode(), 1);
    EXPECT_TRUE(w->trvOutlineComposite->isHidden());
    EXPECT_FALSE(w->trvOutlineTopical->isHidden());
    w->rbOutlineNone->click();
    EXPECT_EQ(w->CurrentOutlineTree(), nullptr);
    w->UpdateOutlineMenu();
    EXPECT_FALSE(w->pmnuiCopyText->isVisible());
}

TEST_F(MainFormTest, OutlineClicksPositionTheView) {
    auto w = Start();
    w->resize(900, 700);
    w->SelectProphet(1);
    QApplication::processEvents();
    QScrollBar* bar = w->Browser->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    ClickOutline(*w, "Descent");
    int descent = bar->value();
    EXPECT_GT(descent, 0);
    ClickOutline(*w, "Adam [Adam] (Peace be upon him)");
    EXPECT_EQ(bar->value(), 0);
    ClickOutline(*w, "007.019");
    EXPECT_GT(bar->value(), 0);
    EXPECT_LT(bar->value(), descent + 1);
    ClickOutline(*w, "Creation");
    EXPECT_LT(bar->value(), descent);
}

TEST_F(MainFormTest, NothingToBookmark) {
    auto w = Start();
    w->btnAddBookmark->click();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].heading, "Nothing to Bookmark!");
    w->SelectProphet(1);
    w->rbOutlineNone->click();
    w->AddBookmark();
    EXPECT_EQ(asked_.size(), 2u);
    w->rbOutlineComposite->click();
    ClickOutline(*w, "Creation");
    w->AddBookmark();
    EXPECT_EQ(asked_.size(), 2u); // an item is selected: no warning
}

TEST_F(MainFormTest, CopyTextBothAnswers) {
    auto w = Start();
    w->SelectProphet(1);
    ClickOutline(*w, "The Garden");
    answer_ = mrNo;
    w->CopyText();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].heading, "Copy Sub-Topic's text?");
    EXPECT_EQ(QApplication::clipboard()->text(), "The Garden");
    answer_ = mrYes;
    w->CopyText();
    // Paragraphs and verses apart by an empty line; nothing before the title,
    // nothing of the next sub-topic.
    QString garden = "The Garden";
    for (int i = 0; i < 12; ++i)
        garden += "\n\nGarden paragraph " + QString::number(i) +
                  " tells of the story at some length so that the page needs scrolling.";
    garden += "\n\n007.019 text 7:19";
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), garden.toStdString());
    ClickOutline(*w, "Descent"); // the last sub-topic runs to the end of the page
    w->CopyText();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "Descent\n\nThe last part.");
    ClickOutline(*w, "002.030-031");
    w->CopyText();
    EXPECT_EQ(asked_.back().heading, "Copy Qur'an Excerpt's text?");
    EXPECT_EQ(QApplication::clipboard()->text(), "002.030 text 2:30\n\n002.031 text 2:31");
    // In the topical outline a reference is no excerpt item.
    w->rbOutlineTopical->click();
    ClickOutline(*w, "Creation");
    answer_ = mrNo;
    w->CopyText();
    EXPECT_EQ(asked_.back().heading, "Copy Sub-Topic's text?");
    // A passage with an excerpt of two verses: the verses as their lines.
    answer_ = mrYes;
    w->CopyText();
    QString creation = "Creation";
    for (int i = 0; i < 12; ++i)
        creation += "\n\nCreation paragraph " + QString::number(i) +
                    " tells of the story at some length so that the page needs scrolling.";
    creation += "\n\nLater he would live in the garden.\n\n002.030 text 2:30\n\n002.031 text 2:31";
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), creation.toStdString());
}

TEST_F(MainFormTest, TheSelectedNodeShowsTheOpenBook) {
    auto w = Start();
    w->SelectProphet(2);
    QApplication::processEvents();
    const QImage open = Artwork("Tree2.png").convertToFormat(QImage::Format_RGB32);
    const QImage closed = Artwork("Tree1.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_NE(open, closed);
    const QImage shot = w->trvProphets->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto shows = [&](QTreeWidgetItem* item, const QImage& icon) {
        const QRect row = w->trvProphets->visualItemRect(item);
        for (int x = row.left(); x + 16 <= std::min(row.left() + 40, shot.width()); ++x)
            for (int y = row.top(); y + 16 <= row.bottom() + 1; ++y)
                if (shot.copy(x, y, 16, 16) == icon) return true;
        return false;
    };
    EXPECT_TRUE(shows(w->TreeNodeAt(3 + 2), open));
    EXPECT_TRUE(shows(w->TreeNodeAt(3 + 1), closed));
    EXPECT_FALSE(shows(w->TreeNodeAt(3 + 2), closed));
}

TEST_F(MainFormTest, SelectingTheShownNodeChangesNothing) {
    auto w = Start();
    w->resize(900, 700);
    w->SelectProphet(1);
    QApplication::processEvents();
    QScrollBar* bar = w->Browser->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    ClickOutline(*w, "Descent");
    const int where = bar->value();
    ASSERT_GT(where, 0);
    const int pictures = w->Browser->ImageRequestCount();
    w->DispatchLink("PROF_Adam");
    EXPECT_EQ(bar->value(), where);
    w->DispatchLink("FEAT_INDEX");
    EXPECT_EQ(bar->value(), where);
    EXPECT_EQ(w->Browser->ImageRequestCount(), pictures); // the page was not built again
    EXPECT_EQ(SelectedData(*w), 1);
    EXPECT_TRUE(w->trvProphets->currentItem()->isSelected());
}

TEST_F(MainFormTest, SessionEndQuestion) {
    auto w = Start();
    // The question comes while the program's loop runs, as the session manager asks it.
    struct Outcome {
        int exitCode;
        bool mayEnd;
    };
    auto ask = [&](int answer) {
        answer_ = answer;
        Outcome o{-1, false};
        QTimer::singleShot(0, w.get(), [&] { o.mayEnd = w->QueryEndSession(); });
        QTimer stillRunning;
        stillRunning.setSingleShot(true);
        QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(42); });
        stillRunning.start(1500);
        o.exitCode = QApplication::exec();
        return o;
    };
    Outcome no = ask(mrNo);
    EXPECT_FALSE(no.mayEnd);
    EXPECT_EQ(no.exitCode, 42); // the program was still running when the test ended it
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].heading, "Windows Log off/Shutdown");
    EXPECT_EQ(asked_[0].message, "Windows is trying to Shutdown Halvora, would you like to do so?");
    EXPECT_TRUE(w->isVisible());

    Outcome yes = ask(mrYes);
    EXPECT_TRUE(yes.mayEnd);
    EXPECT_EQ(yes.exitCode, 0); // the program ended itself
    EXPECT_EQ(asked_.size(), 2u); // no further question
}

TEST_F(MainFormTest, AboutQuotations) {
    auto w = Start();
    TfrmAboutDlg about;
    EXPECT_EQ(about.Quotation(0), ""); // no translation module yet
    about.SetQuranModule(w->QuranModule.get());
    EXPECT_EQ(about.Quotation(0), "\"text 14:4\"\r\n\r\nAl-Qur'an, 014.004 (" + SurahTitle(14, 2) +
                                      ")\r\n...Allah's Messengers sent to teach us");
    EXPECT_NE(about.Quotation(3).find("004.165"), std::string::npos);
    about.show();
    EXPECT_EQ(about.windowTitle(), "Halvora 1.5");
    EXPECT_FALSE(about.lblQuote->text().isEmpty());
}

TEST_F(MainFormTest, MissingBuiltInDocumentEndsTheProgram) {
    std::remove((folder_.Path() + "Introduction.dbi").c_str());
    auto w = Start();
    EXPECT_EQ(folder_.Reports, 1);
    EXPECT_EQ(folder_.Terminations, 1);
}

TEST_F(MainFormTest, RecitationLinksSettingsAndNewsAreWired) {
    TLoopbackServer server([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "pnm://audio/002030.ra\n")};
    });
    StoredPrefs().EnableRemoteAudio = true;
    StoredPrefs().RemoteAudioServer = server.Address();
    StoredPrefs().DiskCacheDir = folder_.Path() + "cache";
    // The window reads the settings file when it is created: one of this test's
    // own, as the other tests of this file run side by side.
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    std::string restoreConfig = oldConfig ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", (folder_.Path() + "config").c_str(), 1);
    struct TRestore {
        std::string Value;
        ~TRestore() { setenv("XDG_CONFIG_HOME", Value.c_str(), 1); }
    } restore{restoreConfig};
    SaveSettings();
    TfrmNews news;
    news.Server = "127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort());
    TfrmRemoteAudioDlg dialog;
    int dialogs = 0;
    seam_.reset(); // the fixture's seam goes first, or it would restore itself over this one
    seam_ = std::make_unique<TScopedDialogSeam>(TDialogSeam{
        [&](QDialog& d) -> std::optional<int> {
            if (&d == &dialog) ++dialogs;
            return mrCancel;
        },
        nullptr});
    auto w = Start();
    EXPECT_EQ(w->RemoteAudio->Count(), 40);
    EXPECT_EQ(w->RemoteAudio->Server, server.Address());
    EXPECT_EQ(w->RemoteAudio->CacheFolder, folder_.Path() + "cache");
    EXPECT_TRUE(news.ShowAtStartUp);
    EXPECT_EQ(news.trvNews->HotTrackColor(), ColorFromRef(HighlightColour(StoredPrefs().ColorWordHL)));
    w->SelectProphet(1);
    EXPECT_TRUE(w->Browser->toHtml().contains("RAUDIO_002.030"));
    w->DispatchLink("RAUDIO_002.030");
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"GET /Quran_RAM/Q002030.ram HTTP/1.1"});
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(QString::fromStdString(folder_.Path() + "cache/Q002030.ram")).toString().toStdString());
    EXPECT_EQ(w->StatusIcon(), 0);
    w->DispatchLink("FEAT_REMOTE_AUD");
    w->mnuiRemoteAudio->trigger();
    EXPECT_EQ(dialogs, 2);
    w->TarnwickDirectNews1->trigger();
    EXPECT_TRUE(news.isVisible());
    // The news window in the main window's scheme, for people to look at.
    news.btnUpdateClick(); // no server on the port the test gives: the notice
    QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    QApplication::processEvents();
    EXPECT_TRUE(news.grab().save(QString(HALVORA_BUILD_DIR) + "/screenshots/news-in-scheme.png"));
    // The module takes the server and folder from the stored settings only.
    THVPrefs other = StoredPrefs();
    other.RemoteAudioServer = "elsewhere.invalid";
    other.NewsOnStart = false;
    w->ApplySettings(other);
    EXPECT_EQ(w->RemoteAudio->Server, server.Address());
    EXPECT_FALSE(news.ShowAtStartUp);
}

TEST_F(MainFormTest, ADamagedRecitationTableEndsTheProgram) {
    TStringList lines;
    ASSERT_TRUE(ReadFileLines(folder_.Path() + "QRemoteAud.dbx", lines));
    lines[10].insert(2, "!");
    WriteFileLines(folder_.Path() + "QRemoteAud.dbx", lines);
    auto w = Start();
    EXPECT_EQ(folder_.Reports, 1);
    EXPECT_EQ(folder_.Terminations, 1);
}

} // namespace
