// The bookmarks window over real files in the per-user data folder, with the
// main window of a small edition for the bookmarks it adds and opens.
#include "tools/bookmarks_ui.h"

#include "content/documents.h"
#include "content/glossary.h"
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "controls/vrnlistview.h"
#include "controls/vrntreeview.h"
#include "platform/dialogs_ui.h"
#include "platform/pictures_ui.h"
#include "platform/userdirs.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "shell/msgdlg_ui.h"
#include "storage/cipher.h"
#include "tools/glossarywin_ui.h"
#include "support/edition_fixture.h"
#include "util/fileutils.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

void PrintTo(const TBookmark& b, std::ostream* os) { *os << "{" << FormatBookmarkRecord(b) << "}"; }

namespace {

struct Asked {
    std::string heading, message;
    int height;
};

std::string Bytes(const std::string& file) {
    std::string b;
    EXPECT_TRUE(ReadFileBytes(file, b)) << file;
    return b;
}

ino_t Inode(const std::string& file) {
    struct stat st {};
    return stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

// A file of plain records, line k enciphered under key k.
std::string FileOf(const TStringList& records) {
    std::string out;
    for (size_t k = 0; k < records.size(); ++k) out += EncipherText(records[k], int32_t(k)) + "\r\n";
    return out;
}

const TBookmark kCommentary{btCommentary, "A note", "On the flood", {}};
const TBookmark kSearch{btSearchTerm, "Patience", "Search Term: sabr", {"sabr", "12", "Y"}};
const TBookmark kTerm{btGlossaryTerm, "Iblis", "Glossary Term: Iblis", {"Iblis"}};

class BookmarksTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A data folder of each test's own: CTest runs the tests of one file side by side.
        oldData_ = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
        setenv("XDG_DATA_HOME", (folder_.Path() + "data").c_str(), 1);
        fs::create_directories(UserDataFolder());
        StoredPrefs() = DefaultPrefs();
        seam_ = std::make_unique<TScopedDialogSeam>(TDialogSeam{
            [this](QDialog& d) -> std::optional<int> {
                auto* m = dynamic_cast<TfrmMsgDlg*>(&d);
                if (!m) return 1;
                std::string heading = m->lblHeading->text().toStdString();
                asked_.push_back({heading, m->lblMessage->text().toStdString(), m->WindowHeight()});
                auto a = answers_.find(heading);
                return a == answers_.end() ? int(mrYes) : a->second;
            },
            [this](TFileDialogKind kind, const TFileDialogRequest& r) -> std::optional<std::string> {
                requests_.push_back({kind, r.Caption.toStdString()});
                if (files_.empty()) return std::nullopt;
                std::string f = files_.front();
                files_.pop_front();
                return f;
            }});
        // Created first, as the program does.
        bookmarks_ = std::make_unique<TfrmBookmarks>();
    }
    void TearDown() override {
        main_.reset();
        bookmarks_.reset();
        SetPageReady(false);
        setenv("XDG_DATA_HOME", oldData_.c_str(), 1);
    }

    // The main window over a story of three sub-topics and two excerpts.
    void StartMain() {
        std::map<int, TStringList> stories;
        TStringList s1 = {"<[Creation]>"};
        for (int i = 0; i < 12; ++i) s1.push_back("<P>Creation paragraph " + std::to_string(i) + ", long enough to scroll the page.</P>");
        s1.push_back("<<2:30-31>>");
        s1.push_back("<[The Garden]>");
        for (int i = 0; i < 12; ++i) s1.push_back("<P>Garden paragraph " + std::to_string(i) + ", long enough to scroll the page.</P>");
        s1.push_back("<<7:19>>");
        s1.push_back("<[Descent]>");
        s1.push_back("<P>The last part.</P>");
        stories[1] = s1;
        TMainWindowOptions o;
        o.QuranSignature = folder_.Write("DAZaruro2.dll", BuildQuranModuleBytes());
        o.StorySignature = folder_.Write("HVModule.dll", BuildStoryModuleBytes(stories));
        WriteMainDocument(folder_.Path() + "Introduction.dbi",
                          MainDocSource("MDOC_INTRO", "Introduction", 1, {"<P>Welcome.</P>"}));
        WriteMainDocument(folder_.Path() + "SoftFeat.dbi",
                          MainDocSource("MDOC_FEATURES", "Software Features", 2, {"<P>Features.</P>"}));
        WriteMainDocument(folder_.Path() + "Distribution.dbi",
                          MainDocSource("MDOC_DIST", "Distribution", 3, {"<P>Share it.</P>"}));
        WriteGlossary(folder_.Path() + "QGloss.dbx", {"<<T:Iblis>>|<<O:Eblis>>", "The one who refused."});
        o.GlossarySignature = FileSignature(folder_.Path() + "QGloss.dbx");
        o.SelfCheck = std::make_unique<TPassingCheck>();
        init_ = std::make_unique<TfrmInit>();
        main_ = std::make_unique<TfrmMain>(init_.get(), std::move(o));
        main_->show();
    }
    void SelectOutline(const QString& text) {
        TVrnTreeView* t = main_->CurrentOutlineTree();
        ASSERT_NE(t, nullptr);
        auto found = t->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        t->setCurrentItem(found.front());
    }
    // Closes the window and opens a new one, as a restart of the program would.
    void Restart() {
        bookmarks_.reset();
        bookmarks_ = std::make_unique<TfrmBookmarks>();
        bookmarks_->show();
    }
    void Select(int row) { bookmarks_->lsvBookmarks->setCurrentItem(bookmarks_->lsvBookmarks->topLevelItem(row)); }
    std::vector<std::string> Headings() const {
        std::vector<std::string> h;
        for (const Asked& a : asked_) h.push_back(a.heading);
        return h;
    }
    std::string Collection() const { return TfrmBookmarks::CollectionFile(); }

    TFixtureFolder folder_;
    std::string oldData_;
    std::unique_ptr<TScopedDialogSeam> seam_;
    std::unique_ptr<TfrmBookmarks> bookmarks_;
    std::unique_ptr<TfrmInit> init_;
    std::unique_ptr<TfrmMain> main_;
    std::vector<Asked> asked_;
    std::map<std::string, int> answers_;
    std::deque<std::string> files_;
    std::vector<std::pair<TFileDialogKind, std::string>> requests_;
};

TEST_F(BookmarksTest, EveryKindAddedListedRenamedAndKeptAcrossARestart) {
    StartMain();
    ASSERT_EQ(AppfrmBookmarks, bookmarks_.get()); // filled by the main window's creation
    EXPECT_FALSE(bookmarks_->Loaded());
    main_->SelectProphet(1);
    SelectOutline("The Garden");
    main_->btnAddBookmark->click();
    SelectOutline("007.019");
    main_->btnAddBookmark->click();
    SelectOutline("Adam [Adam] (Peace be upon him)"); // the root: no sub-topic of that title
    main_->pmnuiAddBookmark->trigger();
    // The glossary window knows only the base class.
    AppfrmBookmarks->AddGlossaryTermBookmark("Iblis");
    AppfrmBookmarks->AddGlossaryTermBookmark("Iblis");
    EXPECT_TRUE(bookmarks_->Loaded());
    EXPECT_FALSE(bookmarks_->isVisible()); // adding does not open the window

    const std::string adam = ProphetName(1, 0) + " (pbuh)";
    const std::vector<TBookmark> expected = {
        {btSubTopic, adam, "The Garden", {"001+001"}},
        {btExcerpt, adam, adam + " - Qur'an 007.019", {"001*001"}},
        {btSubTopic, adam, "Adam [Adam]", {"1"}},
        kTerm,
        kTerm, // the same term twice: two rows
    };
    EXPECT_EQ(bookmarks_->Bookmarks(), expected);
    ASSERT_EQ(asked_.size(), 5u);
    for (const Asked& a : asked_) {
        EXPECT_EQ(a.heading, "Bookmark Added!");
        EXPECT_EQ(a.height, 164);
    }
    EXPECT_EQ(asked_[0].message, "Bookmark (The Garden), has been added to your collection.");
    EXPECT_EQ(asked_[1].message, "Bookmark (" + adam + " - Qur'an 007.019), has been added to your collection.");
    EXPECT_EQ(asked_[3].message, "Bookmark (Glossary Term: Iblis), has been added to your collection.");

    // Listed with the type names in the visible columns.
    bookmarks_->ShowBookmarks();
    TVrnListView* lv = bookmarks_->lsvBookmarks;
    ASSERT_EQ(lv->columnCount(), 3);
    EXPECT_EQ(lv->headerItem()->text(2), "Description");
    EXPECT_EQ(lv->columnWidth(0), 100);
    EXPECT_EQ(lv->ItemText(1, 1), "Qur'an Excerpt");
    EXPECT_EQ(lv->ItemText(3, 1), "Glossary Term");
    EXPECT_EQ(lv->ItemText(1, 2), adam + " - Qur'an 007.019");

    // Renamed in place: F2 on the selected row's description edits its name.
    lv->setFocus();
    lv->setCurrentIndex(lv->model()->index(3, 2));
    QTest::keyClick(lv, Qt::Key_F2);
    auto* editor = lv->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Iblis");
    editor->setText("The refuser || of Adam");
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits, then the window saves: both wait for the event loop.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    EXPECT_EQ(lv->ItemText(3, 0), "The refuser | of Adam");
    EXPECT_EQ(lv->ItemText(3, 2), "Glossary Term: Iblis");

    std::vector<TBookmark> renamed = expected;
    renamed[3].Name = "The refuser | of Adam";
    Restart();
    EXPECT_TRUE(bookmarks_->Loaded());
    EXPECT_EQ(bookmarks_->Bookmarks(), renamed);
    EXPECT_EQ(Headings().size(), 5u); // nothing more was asked or reported
}

TEST_F(BookmarksTest, TheMainWindowOpensIt) {
    StartMain();
    QAction* menu = nullptr;
    for (QAction* a : main_->findChildren<QAction*>())
        if (a->text() == "My Bookmarks") menu = a;
    ASSERT_NE(menu, nullptr);
    const std::vector<std::function<void()>> ways = {
        [&] { main_->VrnButton3->click(); },
        [&] { menu->trigger(); },
        [&] { main_->DispatchLink("FEAT_BOOKMARKS"); },
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        bookmarks_->hide();
        ways[i]();
        EXPECT_TRUE(bookmarks_->isVisible()) << i;
        EXPECT_FALSE(bookmarks_->isModal());
    }
    EXPECT_TRUE(bookmarks_->Loaded());
    EXPECT_EQ(bookmarks_->spnlName->Scheme(), main_->Scheme);
}

TEST_F(BookmarksTest, GoOpensEachTypesTarget) {
    StartMain();
    TfrmGloss gloss(main_->Glossary.get(), main_->Scheme);
    WriteBookmarkFile(Collection(), {
                                        {btSubTopic, "Adam", "Descent", {"001+002"}},
                                        {btExcerpt, "Adam", "Adam - Qur'an 002.030-031", {"001*000"}},
                                        {btSubTopic, "Adam", "Adam [Adam]", {"1"}},
                                        kTerm,
                                        kCommentary,
                                        kSearch,
                                        {btSubTopic, "Far", "Nowhere", {"999+001"}},
                                    });
    bookmarks_->show();
    ASSERT_EQ(bookmarks_->Count(), 7);
    EXPECT_FALSE(bookmarks_->btnGo->isEnabled()); // nothing selected
    QScrollBar* bar = main_->Browser->verticalScrollBar();

    Select(0);
    EXPECT_TRUE(bookmarks_->btnGo->isEnabled());
    EXPECT_TRUE(bookmarks_->btnDelete->isEnabled());
    bookmarks_->btnGo->click();
    EXPECT_EQ(main_->Stories->CurrentProphet(), 1);
    const int descent = bar->value();
    EXPECT_GT(descent, 0);

    // A bare prophet number: his story from the top. A double-click goes too.
    main_->SelectTreeIndex(0);
    EXPECT_EQ(main_->Stories->CurrentProphet(), -8);
    Select(2);
    TVrnListView* lv = bookmarks_->lsvBookmarks;
    QSignalSpy dbl(lv, &QTreeWidget::itemDoubleClicked);
    const QPoint at = lv->visualItemRect(lv->topLevelItem(2)).center();
    QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, at); // the first click of the two
    QTest::mouseDClick(lv->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(dbl.count(), 1);
    EXPECT_FALSE(lv->Editing());
    EXPECT_EQ(main_->Stories->CurrentProphet(), 1);
    EXPECT_EQ(bar->value(), 0);

    Select(1); // Enter in the list: "Go" is the window's default button
    QTest::keyClick(lv, Qt::Key_Return);
    EXPECT_GT(bar->value(), 0);
    EXPECT_LT(bar->value(), descent);

    Select(3);
    EXPECT_FALSE(gloss.isVisible());
    bookmarks_->GoToBookmark();
    EXPECT_TRUE(gloss.isVisible());
    EXPECT_NE(gloss.Browser->DocumentText().find("The one who refused."), std::string::npos);
    gloss.hide();

    // Commentary, search term and a target outside the book: nothing moves.
    main_->SelectTreeIndex(0);
    for (int row : {4, 5, 6}) {
        Select(row);
        bookmarks_->GoToBookmark();
        EXPECT_EQ(main_->Stories->CurrentProphet(), -8) << row;
    }
    EXPECT_FALSE(gloss.isVisible());
    EXPECT_TRUE(asked_.empty());
}

TEST_F(BookmarksTest, DeleteAsksAndRewritesTheFileEitherWay) {
    WriteBookmarkFile(Collection(), {kTerm, kCommentary, kSearch});
    bookmarks_->show();
    // Sorted by name in the window only; a rewrite puts that order in the file.
    bookmarks_->lsvBookmarks->ColumnClick(0);
    EXPECT_EQ(bookmarks_->BookmarkAt(0), kCommentary);
    const std::string before = Bytes(Collection());

    bookmarks_->DeleteBookmark(); // no selection: nothing
    EXPECT_TRUE(asked_.empty());

    Select(1);
    answers_["Delete Bookmark?"] = mrNo;
    bookmarks_->btnDelete->click();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].message, "Delete Bookmark Glossary Term: Iblis from your collection?\n\nAre you sure?");
    EXPECT_EQ(bookmarks_->Count(), 3);
    EXPECT_NE(Bytes(Collection()), before);
    EXPECT_EQ(ReadBookmarkFile(Collection()).Bookmarks, (std::vector<TBookmark>{kCommentary, kTerm, kSearch}));

    answers_["Delete Bookmark?"] = mrYes;
    Select(1);
    QTest::keyClick(bookmarks_->lsvBookmarks, Qt::Key_Delete); // the key acts when released
    EXPECT_EQ(asked_.size(), 2u);
    EXPECT_EQ(ReadBookmarkFile(Collection()).Bookmarks, (std::vector<TBookmark>{kCommentary, kSearch}));
    EXPECT_EQ(bookmarks_->Count(), 2);
}

TEST_F(BookmarksTest, ImportAppendsEveryRowReKeyedAndKeepsAllFields) {
    WriteBookmarkFile(Collection(), {kTerm, kTerm});
    const std::string in = UserDataFolder() + "../shared.sbk";
    WriteBookmarkFile(in, {kCommentary, kSearch, kTerm});
    bookmarks_->show();

    answers_["Import into your Bookmarks?"] = mrNo;
    files_ = {in};
    bookmarks_->btnImport->click();
    EXPECT_TRUE(requests_.empty()); // No: no dialog
    answers_.erase("Import into your Bookmarks?");
    bookmarks_->btnImport->click();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].second, "Select Bookmarks file to Import");
    EXPECT_EQ(Headings(), (std::vector<std::string>{"Import into your Bookmarks?", "Import into your Bookmarks?"}));

    const std::vector<TBookmark> all = {kTerm, kTerm, kCommentary, kSearch, kTerm};
    EXPECT_EQ(bookmarks_->Bookmarks(), all);
    EXPECT_EQ(bookmarks_->lsvBookmarks->ItemText(2, 1), "Commentary");
    EXPECT_EQ(bookmarks_->lsvBookmarks->ItemText(3, 1), "Search Term");
    // The collection holds both sets, each line enciphered under its new number.
    TStringList records;
    for (const TBookmark& b : all) records.push_back(FormatBookmarkRecord(b));
    EXPECT_EQ(Bytes(Collection()), FileOf(records));

    // Exported to a new file and imported again: types 2 and 4 with every field.
    const std::string out = UserDataFolder() + "../new.sbk";
    files_ = {out};
    bookmarks_->btnExport->click();
    EXPECT_EQ(requests_.back().first, TFileDialogKind::Save);
    EXPECT_EQ(requests_.back().second, "Select Bookmarks file to Export to");
    EXPECT_EQ(ReadBookmarkFile(out).Bookmarks, all);
    bookmarks_->ClearBookmarks();
    files_ = {out};
    bookmarks_->ImportBookmarks();
    EXPECT_EQ(bookmarks_->Bookmarks(), all);
    Restart();
    EXPECT_EQ(bookmarks_->Bookmarks(), all);
    EXPECT_EQ(bookmarks_->BookmarkAt(3).Fields, (TStringList{"sabr", "12", "Y"}));
}

TEST_F(BookmarksTest, ExportAsksBeforeReplacingAFile) {
    WriteBookmarkFile(Collection(), {kTerm});
    bookmarks_->show();
    const std::string out = UserDataFolder() + "../old.sbk";
    WriteFileAtomic(out, "keep me");
    answers_["Replace the existing file?"] = mrNo;
    files_ = {out};
    bookmarks_->ExportBookmarks();
    EXPECT_EQ(Headings(), (std::vector<std::string>{"Export your Bookmarks?", "Replace the existing file?"}));
    EXPECT_EQ(Bytes(out), "keep me");
    answers_["Replace the existing file?"] = mrYes;
    files_ = {out};
    bookmarks_->ExportBookmarks();
    EXPECT_EQ(ReadBookmarkFile(out).Bookmarks, std::vector<TBookmark>{kTerm});
    // Cancelled dialog or No to the first question: nothing written.
    answers_["Export your Bookmarks?"] = mrNo;
    files_ = {UserDataFolder() + "../never.sbk"};
    bookmarks_->ExportBookmarks();
    answers_.erase("Export your Bookmarks?");
    files_.clear();
    bookmarks_->ExportBookmarks();
    EXPECT_FALSE(fs::exists(UserDataFolder() + "../never.sbk"));
}

TEST_F(BookmarksTest, TheCollectionItselfIsRefusedInAnyLetterCase) {
    WriteBookmarkFile(Collection(), {kTerm});
    bookmarks_->show();
    const std::string before = Bytes(Collection());
    const ino_t inode = Inode(Collection());
    std::string folder = UserDataFolder();
    for (const std::string& chosen : {folder + "hvbookmarks.DBX", UpperCase(Collection()), Collection(),
                                      folder + "../Halvora/HVBookmarks.dbx"}) {
        asked_.clear();
        files_ = {chosen};
        bookmarks_->ImportBookmarks();
        EXPECT_EQ(Headings(), (std::vector<std::string>{"Import into your Bookmarks?",
                                                        "You can't import your own collection!"}))
            << chosen;
    }
    EXPECT_EQ(bookmarks_->Count(), 1);
    EXPECT_EQ(Bytes(Collection()), before);
    EXPECT_EQ(Inode(Collection()), inode);
}

TEST_F(BookmarksTest, ADamagedImportFileAddsNothingAndLeavesTheCollection) {
    WriteBookmarkFile(Collection(), {kTerm});
    bookmarks_->show();
    const std::string before = Bytes(Collection());
    const ino_t inode = Inode(Collection());
    const std::string good = FormatBookmarkRecord(kSearch);
    const std::string in = UserDataFolder() + "../damaged.sbk";
    struct Case {
        std::string file, mentions;
    } cases[] = {
        {FileOf({good, good, "7||x||y||z", good}), "Line 3"},     // a bad type
        {FileOf({good, "4||a||b||c"}), "Line 2"},                  // too few fields
        {FileOf({good, good}) + "@@not a line@@\r\n", "Line 3"},   // does not decipher
        {"", "does not exist"},                                    // gone before it was read
    };
    for (const Case& c : cases) {
        asked_.clear();
        if (c.file.empty()) fs::remove(in);
        else WriteFileAtomic(in, c.file);
        files_ = {in};
        // A real click: the error goes through the application's report.
        QTest::mouseClick(bookmarks_->btnImport, Qt::LeftButton);
        ASSERT_EQ(Headings(), (std::vector<std::string>{"Import into your Bookmarks?",
                                                        "A Software Error has occured!"}))
            << c.mentions;
        EXPECT_NE(asked_[1].message.find(c.mentions), std::string::npos) << asked_[1].message;
        EXPECT_EQ(bookmarks_->Bookmarks(), std::vector<TBookmark>{kTerm});
        EXPECT_EQ(Bytes(Collection()), before);
        EXPECT_EQ(Inode(Collection()), inode); // not even rewritten
    }
}

TEST_F(BookmarksTest, ADamagedCollectionIsReportedAndKeptBesideIt) {
    const std::string damaged = FileOf({FormatBookmarkRecord(kTerm), FormatBookmarkRecord(kSearch),
                                        "3||only a name", FormatBookmarkRecord(kCommentary)});
    WriteFileAtomic(Collection(), damaged);
    // The first thing that reads it is an added term, before the window was shown.
    bookmarks_->AddGlossaryTermBookmark("Salat");
    ASSERT_EQ(Headings(), (std::vector<std::string>{"A Software Error has occured!", "Bookmark Added!"}));
    EXPECT_NE(asked_[0].message.find("Line 3"), std::string::npos) << asked_[0].message;
    const std::string copy = Collection() + ".damaged";
    EXPECT_NE(asked_[0].message.find(copy), std::string::npos) << asked_[0].message;
    EXPECT_EQ(Bytes(copy), damaged);
    const TBookmark salat{btGlossaryTerm, "Salat", "Glossary Term: Salat", {"Salat"}};
    EXPECT_EQ(ReadBookmarkFile(Collection()).Bookmarks, (std::vector<TBookmark>{kTerm, kSearch, salat}));

    // Later saves leave the copy alone; the next start reads the new file quietly.
    bookmarks_->show();
    Select(0);
    bookmarks_->DeleteBookmark();
    EXPECT_EQ(Bytes(copy), damaged);
    asked_.clear();
    Restart();
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(bookmarks_->Bookmarks(), (std::vector<TBookmark>{kSearch, salat}));
    EXPECT_FALSE(fs::exists(Collection() + ".damaged-2"));
}

TEST_F(BookmarksTest, ACollectionThatCannotBeKeptIsNeverSavedOver) {
    // A folder where the file should be: unreadable, and no copy can be made.
    fs::create_directories(Collection());
    fs::create_directories(Collection() + "/inside");
    bookmarks_->show();
    ASSERT_EQ(Headings(), std::vector<std::string>{"A Software Error has occured!"});
    EXPECT_NE(asked_[0].message.find("cannot be read"), std::string::npos) << asked_[0].message;
    asked_.clear();
    QTest::mouseClick(bookmarks_->btnClearAll, Qt::LeftButton); // any change
    ASSERT_EQ(Headings(), (std::vector<std::string>{"Delete All Bookmarks?", "A Software Error has occured!"}));
    EXPECT_NE(asked_[1].message.find("not saved"), std::string::npos) << asked_[1].message;
    EXPECT_THROW(bookmarks_->AddGlossaryTermBookmark("Salat"), EInOutError);
    EXPECT_EQ(bookmarks_->Count(), 0); // the row went back out with the failed save
    EXPECT_TRUE(fs::exists(Collection() + "/inside"));
}

TEST_F(BookmarksTest, ClearAllWritesTheBackupFirst) {
    WriteBookmarkFile(Collection(), {kTerm, kSearch});
    bookmarks_->show();
    answers_["Delete All Bookmarks?"] = mrNo;
    bookmarks_->btnClearAll->click();
    EXPECT_EQ(bookmarks_->Count(), 2);
    EXPECT_FALSE(fs::exists(TfrmBookmarks::BackupFile()));
    answers_["Delete All Bookmarks?"] = mrYes;
    bookmarks_->btnClearAll->click();
    EXPECT_EQ(asked_.back().height, 240);
    EXPECT_EQ(bookmarks_->Count(), 0);
    EXPECT_EQ(ReadBookmarkFile(TfrmBookmarks::BackupFile()).Bookmarks, (std::vector<TBookmark>{kTerm, kSearch}));
    EXPECT_EQ(Bytes(Collection()), "");
    // On an empty collection: an empty backup replaces the last one.
    bookmarks_->ClearBookmarks();
    EXPECT_EQ(Bytes(TfrmBookmarks::BackupFile()), "");
    EXPECT_EQ(Bytes(Collection()), "");
}

TEST_F(BookmarksTest, AMissingCollectionIsAnEmptyOne) {
    fs::remove_all(UserDataFolder());
    bookmarks_->show();
    EXPECT_TRUE(bookmarks_->Loaded());
    EXPECT_EQ(bookmarks_->Count(), 0);
    EXPECT_TRUE(asked_.empty());
    EXPECT_FALSE(fs::exists(Collection())); // reading writes nothing
    bookmarks_->AddGlossaryTermBookmark("Iblis");
    EXPECT_EQ(ReadBookmarkFile(Collection()).Bookmarks, std::vector<TBookmark>{kTerm});
}

// The window in a dark (Blue) and a light (Silver) scheme, before and after a selection and
// while a name is edited, for a person to look at.
TEST_F(BookmarksTest, Screenshots) {
    WriteBookmarkFile(Collection(), {{btSubTopic, "Nuh (pbuh)", "The Ark", {"003+001"}},
                                     {btExcerpt, "Nuh (pbuh)", "Nuh (pbuh) - Qur'an 011.040", {"003*000"}},
                                     kTerm, kCommentary, kSearch});
    QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    auto* store = new TepSchemeStore(bookmarks_.get());
    store->SetSmBorder(Artwork("SmBorder.png"));
    auto* scheme = new TepScheme(bookmarks_.get());
    scheme->SetSchemeStore(store);
    bookmarks_->SetScheme(scheme);
    bookmarks_->show();
    auto shot = [&](const char* name) {
        QApplication::processEvents();
        QImage img = bookmarks_->grab().toImage();
        QString file = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
        EXPECT_TRUE(img.save(file)) << file.toStdString();
        return img;
    };
    for (auto [colours, name] : {std::pair<int, const char*>{scBlue, "dark"}, {scSilver, "light"}}) {
        store->SetWallPaper(WallpaperTile(colours));
        bookmarks_->lsvBookmarks->clearSelection();
        QImage img = shot((std::string("bookmarks-") + name + ".png").c_str());
        // The heading strip shows the wallpaper, not the black window.
        EXPECT_NE(img.pixelColor(200, 15), QColor(Qt::black)) << name;
    }
    Select(2);
    shot("bookmarks-selected.png");
    bookmarks_->lsvBookmarks->editItem(bookmarks_->lsvBookmarks->topLevelItem(2), 0);
    shot("bookmarks-renaming.png");
}

} // namespace
