#include "tools/bookmarks_ui.h"

#include "content/prophets.h"
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnlistview.h"
#include "platform/desktop_ui.h"
#include "platform/dialogs_ui.h"
#include "platform/qtstrings_ui.h"
#include "platform/userdirs.h"
#include "shell/mainform_ui.h"
#include "shell/msgdlg_ui.h"
#include "tools/glossarywin_ui.h"
#include "util/fileutils.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <sys/stat.h>
#include <unistd.h>

TfrmBookmarks* frmBookmarks = nullptr;

namespace {

constexpr int kFieldsRole = Qt::UserRole + 2; // the row's further fields (sub-items 2 to 4)
const char* const kCollectionName = "HVBookmarks.dbx";
const char* const kBackupName = "Bookmarks.bak";
const char* const kFilter = "Ostravel Bookmarks (*.sbk);;All files (*)";

const char* const kImportText = "This process will import all bookmarks from a seperate file into "
                                "your collection.\r\n\r\nDo you want to continue?";
const char* const kOwnCollectionText =
    "The file you selected for import contains your main collection of bookmarks.\r\n\r\nYou cannot "
    "import from your main collection into your main collection!";
const char* const kExportText = "This process will export all bookmarks in your collection to a "
                                "seperate file for back-up, or to share with others.\r\n\r\nDo you "
                                "want to continue?";
const char* const kClearText =
    "This will delete All bookmarks in your collection.\r\n\r\nIt is recommended that you first backup "
    "(export your bookmarks to a file) before clearing your current collection.\r\n\r\nDo you wish to "
    "continue, and clear All bookmarks?";

// Lets the windows repaint while a long file is read, without taking input
// that could change the list half-way.
void PaintPending(size_t& line) {
    if (++line % 256 == 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (UpperCase(a) == UpperCase(b)) return true;
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

void BringToFront(QWidget* w) {
    if (w->isMinimized()) w->showNormal();
    else w->show();
    w->raise();
    w->activateWindow();
}

struct TUpdating {
    bool& flag;
    bool old;
    explicit TUpdating(bool& f) : flag(f), old(f) { flag = true; }
    ~TUpdating() { flag = old; }
};

} // namespace

TfrmBookmarks::TfrmBookmarks(QWidget* parent) : QDialog(parent) {
    setObjectName("frmBookmarks");
    setWindowTitle(QStringLiteral("Bookmarks"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(440, 220);
    setMaximumWidth(616);
    resize(505, 300);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(8);

    spnlName = new TepSchemePanel(this);
    spnlName->setFixedHeight(30);
    lblWinName = new QLabel(QStringLiteral("My Bookmarks"), spnlName);
    lblWinName->setFont(ProgramFont(10, true));
    lblWinName->setStyleSheet("color: white; background: transparent;");
    auto* title = new QHBoxLayout(spnlName);
    title->setContentsMargins(12, 0, 12, 0);
    title->addWidget(lblWinName);
    layout->addWidget(spnlName);

    lsvBookmarks = new TVrnListView(this);
    lsvBookmarks->setObjectName("lsvBookmarks");
    lsvBookmarks->SetColumns({"Name", "Type", "Description"}, {100, 90, 279});
    lsvBookmarks->setFont(ProgramFont(8));
    lsvBookmarks->header()->setFont(ProgramFont(8, true));
    {
        // The light grey of the main window's trees.
        QPalette lp = lsvBookmarks->palette();
        lp.setColor(QPalette::Base, ColorFromRef(15066597));
        lp.setColor(QPalette::Text, Qt::black);
        lsvBookmarks->setPalette(lp);
    }
    lsvBookmarks->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    lsvBookmarks->installEventFilter(this);
    auto* listRow = new QHBoxLayout;
    listRow->setContentsMargins(8, 0, 8, 0);
    listRow->addWidget(lsvBookmarks);
    layout->addLayout(listRow, 1);

    auto button = [this](const char* caption, int width) {
        auto* b = new TVrnButton(QString::fromLatin1(caption), this);
        b->setFixedSize(width, 25);
        b->setFont(ProgramFont(8));
        return b;
    };
    btnImport = button("Import Bookmarks", 110);
    btnExport = button("Export Bookmarks", 110);
    btnClearAll = button("Clear All", 70);
    btnDelete = button("Delete", 60);
    btnDelete->setToolTip(QStringLiteral("Delete Bookmark"));
    btnGo = button("Go", 50);
    btnGo->setToolTip(QStringLiteral("Goto Bookmark"));
    btnGo->setDefault(true);
    for (TVrnButton* b : {btnImport, btnExport, btnClearAll, btnDelete}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 0, 8, 0);
    buttons->setSpacing(6);
    buttons->addWidget(btnImport);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnClearAll);
    buttons->addStretch(1);
    buttons->addWidget(btnDelete);
    buttons->addWidget(btnGo);
    layout->addLayout(buttons);

    connect(lsvBookmarks, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(lsvBookmarks, &QTreeWidget::itemDoubleClicked, this, [this] { GoToBookmark(); });
    connect(lsvBookmarks, &QTreeWidget::itemChanged, this, &TfrmBookmarks::lsvBookmarksEdited);
    connect(btnGo, &QPushButton::clicked, this, [this] { GoToBookmark(); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { DeleteBookmark(); });
    connect(btnImport, &QPushButton::clicked, this, [this] { ImportBookmarks(); });
    connect(btnExport, &QPushButton::clicked, this, [this] { ExportBookmarks(); });
    connect(btnClearAll, &QPushButton::clicked, this, [this] { ClearBookmarks(); });
    UpdateButtons();

    if (!frmBookmarks) frmBookmarks = this;
}

TfrmBookmarks::~TfrmBookmarks() {
    if (frmBookmarks == this) frmBookmarks = nullptr;
    if (AppfrmBookmarks == this) AppfrmBookmarks = nullptr;
}

void TfrmBookmarks::SetScheme(TepScheme* scheme) { spnlName->SetScheme(scheme); }

std::string TfrmBookmarks::CollectionFile() { return UserDataFolder() + kCollectionName; }
std::string TfrmBookmarks::BackupFile() { return UserDataFolder() + kBackupName; }

std::string TfrmBookmarks::DamagedCopyName() {
    const std::string base = CollectionFile() + ".damaged";
    std::string name = base;
    for (int i = 2; FileExists(name); ++i) name = base + "-" + std::to_string(i);
    return name;
}

// Rows ---------------------------------------------------------------------

int TfrmBookmarks::Count() const { return lsvBookmarks->ItemCount(); }

TBookmark TfrmBookmarks::BookmarkAt(int row) const {
    TBookmark b;
    const QTreeWidgetItem* item = lsvBookmarks->topLevelItem(row);
    if (!item) return b;
    b.Type = int32_t(reinterpret_cast<intptr_t>(lsvBookmarks->ItemDataAt(row)));
    b.Name = ToAnsi(item->text(0));
    b.Description = ToAnsi(item->text(2));
    for (const QString& f : item->data(0, kFieldsRole).toStringList()) b.Fields.push_back(ToAnsi(f));
    return b;
}

std::vector<TBookmark> TfrmBookmarks::Bookmarks() const {
    std::vector<TBookmark> rows;
    rows.reserve(size_t(Count()));
    for (int i = 0; i < Count(); ++i) rows.push_back(BookmarkAt(i));
    return rows;
}

void TfrmBookmarks::AppendRow(const TBookmark& b) {
    TUpdating guard(FUpdating);
    const int32_t type = b.Type >= 0 && b.Type < kBookmarkTypeCount ? b.Type : btCommentary;
    auto* item = new QTreeWidgetItem(lsvBookmarks);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setText(0, FromAnsi(BookmarkFieldText(b.Name)));
    item->setText(1, FromAnsi(TypeNames[type]));
    item->setText(2, FromAnsi(BookmarkFieldText(b.Description)));
    QStringList fields;
    for (int i = 0; i < FurtherFieldCount(type); ++i)
        fields << FromAnsi(size_t(i) < b.Fields.size() ? BookmarkFieldText(b.Fields[size_t(i)]) : "");
    item->setData(0, kFieldsRole, fields);
    lsvBookmarks->SetItemDataAt(lsvBookmarks->indexOfTopLevelItem(item),
                                reinterpret_cast<void*>(intptr_t(type)));
}

void TfrmBookmarks::SetRows(const std::vector<TBookmark>& rows) {
    TUpdating guard(FUpdating);
    lsvBookmarks->clear();
    for (const TBookmark& b : rows) AppendRow(b);
}

// Files --------------------------------------------------------------------

void TfrmBookmarks::LoadBookmarks(const std::string& fileName) {
    TBusyCursor busy;
    size_t line = 0;
    TBookmarkReadResult r = ReadBookmarkFile(fileName, [&] { PaintPending(line); });
    if (r.Missing) throw EBookmarkFileError("The bookmark file \"" + fileName + "\" does not exist.");
    if (!r.Complete) throw EBookmarkFileError(r.Error);
    for (const TBookmark& b : r.Bookmarks) AppendRow(b);
}

void TfrmBookmarks::SaveBookmarks(const std::string& fileName) {
    TBusyCursor busy;
    WriteBookmarkFile(fileName, Bookmarks());
}

void TfrmBookmarks::EnsureLoaded() {
    if (!FLoaded) LoadCollection();
}

void TfrmBookmarks::LoadCollection() {
    // What an earlier run killed in the middle of a save left beside the file.
    RemoveStaleTempFiles(CollectionFile());
    size_t line = 0;
    TBookmarkReadResult r;
    {
        TBusyCursor busy;
        r = ReadBookmarkFile(CollectionFile(), [&] { PaintPending(line); });
    }
    for (const TBookmark& b : r.Bookmarks) AppendRow(b);
    FSaved = Bookmarks();
    FLoaded = true;
    if (r.Complete) return;
    // Whatever could not be read stays on the disk: the collection is saved
    // over it only once a copy is kept beside it.
    FCopyPending = true;
    std::string copy;
    std::string kept = KeepDamagedCopy(copy)
                           ? "The file as it was is kept as \"" + copy + "\"."
                           : "The file could not be copied, so changes to your collection cannot be "
                             "saved over it.";
    ShowErrorReport(r.Error + "\r\n\r\nYour collection lists the " + std::to_string(r.Bookmarks.size()) +
                    " bookmarks that could be read. " + kept);
}

bool TfrmBookmarks::KeepDamagedCopy(std::string& to) {
    const std::string from = CollectionFile();
    to = DamagedCopyName();
    // A second name for the same bytes: the rewrite replaces only the first.
    bool kept = link(from.c_str(), to.c_str()) == 0;
    if (!kept) {
        struct stat st {};
        std::string bytes;
        if (stat(from.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ReadFileBytes(from, bytes)) {
            try {
                WriteFileAtomic(to, bytes);
                kept = true;
            } catch (const EInOutError&) {
            }
        }
    }
    if (kept) FCopyPending = false;
    return kept;
}

void TfrmBookmarks::SaveCollection() {
    EnsureLoaded();
    std::string copy;
    if (FCopyPending && !KeepDamagedCopy(copy))
        throw EInOutError("Your bookmarks were not saved: \"" + CollectionFile() +
                          "\" could not be read, and no copy of it could be kept beside it.");
    CreateFolderPath(UserDataFolder());
    SaveBookmarks(CollectionFile());
    FSaved = Bookmarks();
}

void TfrmBookmarks::Change(const std::function<void()>& apply) {
    EnsureLoaded();
    apply();
    try {
        SaveCollection();
    } catch (...) {
        SetRows(FSaved);
        UpdateButtons();
        throw;
    }
}

// Adding -------------------------------------------------------------------

void TfrmBookmarks::AddBookmark(const TBookmark& b, const std::string& shown) {
    Change([&] { AppendRow(b); });
    ShowMsgDlg(mkInformation, 164, mbOKOnly, "Bookmark (" + shown + "), has been added to your collection.",
               "Bookmark Added!", true);
}

void TfrmBookmarks::AddSubTopicBookmark(int32_t prophet, const std::string& title) {
    EnsureLoaded();
    std::string target = std::to_string(prophet);
    if (frmMain && frmMain->Stories) {
        int32_t n = frmMain->Stories->FindTopic(prophet, title);
        if (n >= 0) target = FormatTopicLocation(prophet, n);
    }
    AddBookmark({btSubTopic, ProphetName(prophet, 0) + " (pbuh)", title, {target}}, title);
}

void TfrmBookmarks::AddExcerptBookmark(int32_t prophet, int32_t excerpt) {
    EnsureLoaded();
    if (!frmMain || !frmMain->Stories) throw EHalvoraError("The stories are not loaded.");
    const std::string name = ProphetName(prophet, 0) + " (pbuh)";
    const std::string description = name + " - Qur'an " + frmMain->Stories->ExcerptRefText(prophet, excerpt);
    AddBookmark({btExcerpt, name, description, {FormatExcerptLocation(prophet, excerpt)}}, description);
}

void TfrmBookmarks::AddGlossaryTermBookmark(const std::string& term) {
    EnsureLoaded();
    const std::string description = std::string(TypeNames[btGlossaryTerm]) + ": " + term;
    AddBookmark({btGlossaryTerm, term, description, {term}}, description);
}

// The window ---------------------------------------------------------------

void TfrmBookmarks::ShowBookmarks() { BringToFront(this); }

void TfrmBookmarks::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    EnsureLoaded();
    UpdateButtons();
}

void TfrmBookmarks::UpdateButtons() {
    const bool selected = lsvBookmarks->SelectedItemIndex() >= 0;
    btnDelete->setEnabled(selected);
    btnGo->setEnabled(selected);
}

bool TfrmBookmarks::eventFilter(QObject* watched, QEvent* e) {
    // The Delete key deletes, unless it is editing a name.
    if (watched == lsvBookmarks && e->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete && !static_cast<QKeyEvent*>(e)->isAutoRepeat() &&
        !lsvBookmarks->Editing()) {
        DeleteBookmark();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TfrmBookmarks::GoToBookmark() {
    const int row = lsvBookmarks->SelectedItemIndex();
    if (row < 0) return;
    const TBookmark b = BookmarkAt(row);
    switch (b.Type) {
    case btSubTopic:
    case btExcerpt: {
        if (!frmMain || b.Fields.empty()) return;
        const std::string& target = b.Fields[0];
        int32_t p = 0, n = 0;
        if (b.Type == btSubTopic && IsInteger(target)) p = StrToInt(target);
        else if (b.Type == btSubTopic) ParseTopicLocation(target, p, n);
        else ParseExcerptLocation(target, p, n);
        // A target outside the book (an imported file's) names nothing.
        if (p < 1 || p > kProphetCount) return;
        if (b.Type == btSubTopic && IsInteger(target)) frmMain->SelectProphet(p);
        else if (b.Type == btSubTopic) frmMain->GoToSubTopic(p, n);
        else frmMain->GoToExcerpt(p, n);
        BringToFront(frmMain);
        break;
    }
    case btGlossaryTerm:
        if (frmGloss && !b.Fields.empty()) frmGloss->ShowWord(b.Fields[0], true);
        break;
    default:
        break;
    }
}

void TfrmBookmarks::DeleteBookmark() {
    const int row = lsvBookmarks->SelectedItemIndex();
    if (row < 0) return;
    const int answer = ShowMsgDlg(mkConfirmation, 164, mbYesNo,
                                  "Delete Bookmark " + BookmarkAt(row).Description +
                                      " from your collection?\r\n\r\nAre you sure?",
                                  "Delete Bookmark?", true);
    Change([&] {
        if (answer == mrYes) {
            TUpdating guard(FUpdating);
            delete lsvBookmarks->takeTopLevelItem(row);
        }
    });
    UpdateButtons();
}

void TfrmBookmarks::lsvBookmarksEdited(QTreeWidgetItem* item, int column) {
    if (FUpdating || column != 0) return;
    // Stored as it will read back: a name is one field of the record.
    const QString name = FromAnsi(BookmarkFieldText(ToAnsi(item->text(0))));
    if (name != item->text(0)) {
        TUpdating guard(FUpdating);
        item->setText(0, name);
    }
    // Saved once the editor has closed: a failed save puts the rows back.
    QMetaObject::invokeMethod(
        this,
        [this] {
            try {
                Change([] {});
            } catch (const std::exception& e) {
                ShowErrorReport(e.what());
            }
        },
        Qt::QueuedConnection);
}

void TfrmBookmarks::ImportBookmarks() {
    if (ShowMsgDlg(mkConfirmation, 164, mbYesNo, kImportText, "Import into your Bookmarks?", true) != mrYes)
        return;
    TFileDialogRequest request;
    request.Caption = QStringLiteral("Select Bookmarks file to Import");
    request.Filter = QString::fromLatin1(kFilter);
    request.FileName = QStringLiteral("Bookmarks.sbk");
    request.DefaultSuffix = QStringLiteral("sbk");
    request.Parent = this;
    std::string path;
    if (!ChooseOpenFile(request, path)) return;
    if (SameFile(path, CollectionFile())) {
        ShowMsgDlg(mkWarning, 164, mbOKOnly, kOwnCollectionText, "You can't import your own collection!", true);
        return;
    }
    // All of the file or none of it: a line that is not a bookmark adds nothing.
    Change([&] { LoadBookmarks(path); });
    UpdateButtons();
}

void TfrmBookmarks::ExportBookmarks() {
    if (ShowMsgDlg(mkConfirmation, 164, mbYesNo, kExportText, "Export your Bookmarks?", true) != mrYes)
        return;
    TFileDialogRequest request;
    request.Caption = QStringLiteral("Select Bookmarks file to Export to");
    request.Filter = QString::fromLatin1(kFilter);
    request.FileName = QStringLiteral("Bookmarks.sbk");
    request.DefaultSuffix = QStringLiteral("sbk");
    request.ConfirmOverwrite = false; // asked below, in the program's own dialog
    request.Parent = this;
    std::string path;
    if (!ChooseSaveFile(request, path)) return;
    if (FileExists(path) &&
        ShowMsgDlg(mkConfirmation, 164, mbYesNo,
                   "The file \"" + path + "\" already exists.\r\n\r\nDo you want to replace it?",
                   "Replace the existing file?", true) != mrYes)
        return;
    EnsureLoaded();
    // The collection itself is only ever written with its guard.
    if (SameFile(path, CollectionFile())) SaveCollection();
    else SaveBookmarks(path);
}

void TfrmBookmarks::ClearBookmarks() {
    if (ShowMsgDlg(mkConfirmation, 240, mbYesNo, kClearText, "Delete All Bookmarks?", true) != mrYes) return;
    EnsureLoaded();
    CreateFolderPath(UserDataFolder());
    SaveBookmarks(BackupFile());
    Change([this] { SetRows({}); });
    UpdateButtons();
}
