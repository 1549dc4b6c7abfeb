#include "shell/mainform_ui.h"

#include "content/prophets.h"
#include "controls/menustyles.h"
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "controls/vrnurllabel.h"
#include "net/newsform_ui.h"
#include "net/recitationdlg_ui.h"
#include "pages/banner_ui.h"
#include "pages/controlutils_ui.h"
#include "platform/desktop_ui.h"
#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"
#include "platform/uihooks.h"
#include "shell/aboutdlg_ui.h"
#include "shell/initform_ui.h"
#include "shell/msgdlg_ui.h"
#include "shell/readernav_ui.h"
#include "storage/verifydlg_ui.h"
#include "tools/bookmarks_ui.h"
#include "tools/glossarywin_ui.h"
#include "tools/prefsdlg_ui.h"
#include "tools/tipsdlg_ui.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSessionManager>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolTip>
#include <QVBoxLayout>

TfrmMain* frmMain = nullptr;

namespace {

const char* const kNothingToBookmark =
    "To bookmark an area of a Prophet's Story, first select the item you wish to bookmark from "
    "the \"Outline Window\".";
constexpr int kDataRole = Qt::UserRole;

QWidget* BlackPanel(QWidget* parent, int height = -1) {
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, Qt::black);
    w->setPalette(pal);
    if (height >= 0) w->setFixedHeight(height);
    return w;
}

QLabel* TextLabel(QWidget* parent, const QString& text, int size, bool bold, const char* colour) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    l->setStyleSheet(QString("color: %1; background: transparent;").arg(colour));
    return l;
}

// A picture label that reports clicks.
class TClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
            OnClick();
        QLabel::mouseReleaseEvent(e);
    }
};

TVrnTreeView* MakeTree(QWidget* parent) {
    auto* t = new TVrnTreeView(parent);
    t->setHeaderHidden(true);
    t->setIndentation(19);
    t->setFont(ProgramFont(8));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette pal = t->palette();
    pal.setColor(QPalette::Base, ColorFromRef(15066597));
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    t->setPalette(pal);
    t->setFocusPolicy(Qt::StrongFocus);
    return t;
}

QIcon TreeIcon(int index, int selectedIndex) {
    if (WindowsKind() == 1 || WindowsKind() == 4) return {};
    QIcon icon(QPixmap::fromImage(Artwork(QString("Tree%1.png").arg(index))));
    icon.addPixmap(QPixmap::fromImage(Artwork(QString("Tree%1.png").arg(selectedIndex))), QIcon::Selected);
    return icon;
}

int32_t NodeData(const QTreeWidgetItem* item) { return item ? item->data(0, kDataRole).toInt() : 0; }

} // namespace

TfrmMain::TfrmMain(TfrmInit* initForm, TMainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), FInitForm(initForm), FOptions(std::move(options)) {
    setObjectName("frmMain");
    if (!frmMain) frmMain = this;
    tmrStartUp.setSingleShot(true);
    tmrStartUp.setInterval(1000);
    connect(&tmrStartUp, &QTimer::timeout, this, [this] { tmrStartUpTimer(); });
    BuildWindow();
    BuildMenus();
    try {
        FormCreate();
    } catch (const std::exception& e) {
        // The creation ends at the failing step; the program goes on.
        ShowErrorReport(e.what());
    }
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager& m) { CommitDataRequest(m); });
}

TfrmMain::~TfrmMain() {
    tmrStartUp.stop();
    SetPageReady(false);
    for (TVerifiableObject* m : FRegistered) VerificationManager().Unregister(*m);
    if (AppfrmMain == this) AppfrmMain = nullptr;
    if (frmMain == this) frmMain = nullptr;
    if (frmAboutDlg) frmAboutDlg->SetQuranModule(nullptr);
    ReleaseTextCipher(EncDec);
}

void TfrmMain::BuildWindow() {
    setWindowTitle(QString("%1 %2").arg(kAppName, kAppVersion));
    resize(880, 670);
    setMinimumSize(880, 670);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    SchemeStore = new TepSchemeStore(this);
    SchemeStore->SetSmBorder(Artwork("SmBorder.png"));
    Scheme = new TepScheme(this);
    Scheme->SetSchemeStore(SchemeStore);

    QWidget* central = BlackPanel(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // Top strip: calligraphy, product lines, the maker's address.
    pnlTop = BlackPanel(central, 43);
    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(6, 1, 6, 1);
    imgBismillah1 = new QLabel(pnlTop);
    imgBismillah1->setPixmap(QPixmap::fromImage(Artwork("Bismillah1.png")));
    imgBismillah1->setFixedSize(50, 35);
    top->addWidget(imgBismillah1);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(0);
    Label1 = TextLabel(pnlTop, "THE STORIES OF THE PROPHETS - A SAMPLE EDITION FOR HALVORA", 8,
                       true, "white");
    Label4 = TextLabel(pnlTop, "Software by the Halvora developers - stories written for this edition "
                               "- Qur'an verses from the Saheeh International translation",
                       7, false, "#C0C0C0");
    lines->addWidget(Label1);
    lines->addWidget(Label4);
    top->addLayout(lines, 1);
    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->setContentsMargins(0, 0, 0, 0);
    auto* bism2 = new TClickLabel(pnlTop);
    imgBismillah2 = bism2;
    bism2->setPixmap(QPixmap::fromImage(Artwork("Bismillah2.png")));
    bism2->setFixedSize(121, 24);
    bism2->setCursor(Qt::PointingHandCursor);
    bism2->setToolTip("About Halvora");
    bism2->OnClick = [] {
        if (frmAboutDlg) ExecModal(*frmAboutDlg);
    };
    lblURLTarnwick = new TVrnURLLabel(pnlTop);
    lblURLTarnwick->SetURL("halvora.example.org");
    lblURLTarnwick->setText("halvora.example.org");
    {
        QFont f = ProgramFont(7);
        lblURLTarnwick->SetNormalFont({f, QColor(0xC0, 0xC0, 0xC0)});
        f.setUnderline(true);
        lblURLTarnwick->SetHighlightFont({f, Qt::white});
    }
    lblURLTarnwick->setFixedHeight(14);
    lblURLTarnwick->SetOnClick([this] {
        TVrnURLLabel::OpenAddress(lblURLTarnwick->URLType(), lblURLTarnwick->URL());
    });
    right->addWidget(bism2, 0, Qt::AlignRight);
    right->addWidget(lblURLTarnwick, 0, Qt::AlignRight);
    top->addLayout(right);
    outer->addWidget(pnlTop);
    auto* shape1 = new QWidget(central);
    shape1->setFixedHeight(1);
    shape1->setStyleSheet("background: white;");
    outer->addWidget(shape1);

    spnlMain = new TepSchemePanel(central);
    spnlMain->SetScheme(Scheme);
    spnlMain->SetBorderWidth(4);
    auto* mainLayout = new QVBoxLayout(spnlMain);
    mainLayout->setContentsMargins(4, 4, 4, 4);
    QWidget* panel1 = BlackPanel(spnlMain);
    mainLayout->addWidget(panel1);
    auto* p1 = new QVBoxLayout(panel1);
    p1->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, panel1);
    Splitter1->setHandleWidth(7);
    Splitter1->setChildrenCollapsible(false);
    p1->addWidget(Splitter1);

    // Left: the prophets tree.
    QWidget* pnlLeft = BlackPanel(Splitter1);
    auto* left = new QVBoxLayout(pnlLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    spnlTitle = new TepSchemePanel(pnlLeft);
    spnlTitle->SetScheme(Scheme);
    spnlTitle->SetCaption("Almighty Allah's Prophets");
    spnlTitle->setFixedHeight(24);
    {
        // The panel paints its wallpaper; the caption is a label over it.
        auto* caption = TextLabel(spnlTitle, "Almighty Allah's Prophets", 8, true, "white");
        auto* l = new QHBoxLayout(spnlTitle);
        l->setContentsMargins(6, 0, 6, 0);
        l->addWidget(caption, 0, Qt::AlignCenter);
    }
    left->addWidget(spnlTitle);
    trvProphets = MakeTree(pnlLeft);
    left->addWidget(trvProphets, 1);
    pnlNav = BlackPanel(pnlLeft, 30);
    auto* nav = new QHBoxLayout(pnlNav);
    nav->setContentsMargins(2, 3, 2, 3);
    VrnButton3 = new TVrnButton("Bookmarks", pnlNav);
    VrnButton3->setToolTip("View your Bookmark collection.");
    VrnButton3->setFixedSize(100, 24);
    btnAddBookmark = new TVrnButton("B+", pnlNav);
    btnAddBookmark->setToolTip("Add Bookmark.");
    btnAddBookmark->setFixedSize(34, 24);
    nav->addWidget(VrnButton3);
    nav->addWidget(btnAddBookmark);
    nav->addStretch(1);
    left->addWidget(pnlNav);
    pnlLeft->setMinimumWidth(160);

    // Right: page banner strip, the view, the outline.
    QWidget* pnlRight = new QWidget(Splitter1);
    pnlRight->setAutoFillBackground(true);
    QPalette rp = pnlRight->palette();
    rp.setColor(QPalette::Window, ColorFromRef(14740459));
    pnlRight->setPalette(rp);
    auto* rightLayout = new QVBoxLayout(pnlRight);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    spnlName = new TepSchemePanel(pnlRight);
    spnlName->SetScheme(Scheme);
    spnlName->setFixedHeight(40);
    auto* nameLayout = new QVBoxLayout(spnlName);
    nameLayout->setContentsMargins(10, 3, 10, 3);
    nameLayout->setSpacing(0);
    lblChapter = TextLabel(spnlName, "", 10, true, "white");
    lblChapter2 = TextLabel(spnlName, "", 8, true, "white");
    nameLayout->addWidget(lblChapter);
    nameLayout->addWidget(lblChapter2);
    rightLayout->addWidget(spnlName);

    splRight = new QSplitter(Qt::Vertical, pnlRight);
    splRight->setHandleWidth(8);
    splRight->setChildrenCollapsible(false);
    splRight->setStyleSheet("QSplitter::handle { background: black; }");
    Browser = new TVrnHTML(splRight);
    Browser->setFrameShape(QFrame::StyledPanel);
    Browser->document()->setDefaultFont(ProgramFont(10));
    pnlOutline = BlackPanel(splRight);
    auto* outline = new QVBoxLayout(pnlOutline);
    outline->setContentsMargins(0, 0, 0, 0);
    trvOutlineTopical = MakeTree(pnlOutline);
    trvOutlineComposite = MakeTree(pnlOutline);
    outline->addWidget(trvOutlineTopical);
    outline->addWidget(trvOutlineComposite);
    splRight->addWidget(Browser);
    splRight->addWidget(pnlOutline);
    splRight->setStretchFactor(0, 1);
    splRight->setSizes({400, 105});
    rightLayout->addWidget(splRight, 1);
    auto* shape2 = BlackPanel(pnlRight, 6);
    rightLayout->addWidget(shape2);
    Splitter1->addWidget(pnlLeft);
    Splitter1->addWidget(pnlRight);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({248, 600});
    outer->addWidget(spnlMain, 1);

    // The outline options.
    pnlDock = BlackPanel(central, 21);
    auto* dock = new QHBoxLayout(pnlDock);
    dock->setContentsMargins(8, 0, 8, 0);
    Label6 = TextLabel(pnlDock, "Display Outline:", 8, true, "white");
    dock->addWidget(Label6);
    auto radio = [this](const QString& text, const QString& hint) {
        auto* rb = new QRadioButton(text, pnlDock);
        rb->setFont(ProgramFont(8, true));
        // Through the palette, not a style sheet: a style sheet colour would also
        // paint the checked dot white on the white indicator.
        QPalette pal = rb->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
        rb->setPalette(pal);
        rb->setCursor(Qt::PointingHandCursor);
        rb->setToolTip(hint);
        return rb;
    };
    rbOutlineComposite = radio("Topics and Qur'an References",
                               "Display an Outline window for this Prophet's story\ncontaining "
                               "Topics and Qur'an references.");
    rbOutlineTopical = radio("Topical List Only", "Display an Outline window for this Prophet's "
                                                  "story\ncontaining a list of Topics only.");
    rbOutlineNone = radio("None", "Hide the Outline window for this Prophet's story.");
    rbOutlineComposite->setChecked(true);
    dock->addWidget(rbOutlineComposite);
    dock->addWidget(rbOutlineTopical);
    dock->addWidget(rbOutlineNone);
    dock->addStretch(1);
    outer->addWidget(pnlDock);
    setCentralWidget(central);

    // Status bar: the busy icon, then the page's status text.
    StatusIconPanel = new QLabel(this);
    StatusIconPanel->setFixedWidth(18);
    StatusTextPanel = new QLabel(this);
    statusBar()->addWidget(StatusIconPanel);
    statusBar()->addWidget(StatusTextPanel, 1);
    statusBar()->setStyleSheet("QStatusBar { background: black; color: white; } QLabel { color: white; }");

    // Handlers.
    connect(trvProphets, &QTreeWidget::currentItemChanged, this, [this] {
        ShowSelection();
        if (Navigation) Navigation->PageShown();
    });
    connect(trvOutlineComposite, &QTreeWidget::currentItemChanged, this,
            [this] { OutlineSelectionChanged(trvOutlineComposite); });
    connect(trvOutlineTopical, &QTreeWidget::currentItemChanged, this,
            [this] { OutlineSelectionChanged(trvOutlineTopical); });
    // A click on the already selected outline item goes there again.
    connect(trvOutlineComposite, &QTreeWidget::itemClicked, this,
            [this] { OutlineSelectionChanged(trvOutlineComposite); });
    connect(trvOutlineTopical, &QTreeWidget::itemClicked, this,
            [this] { OutlineSelectionChanged(trvOutlineTopical); });
    connect(rbOutlineComposite, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetOutlineMode(2);
    });
    connect(rbOutlineTopical, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetOutlineMode(1);
    });
    connect(rbOutlineNone, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetOutlineMode(0);
    });
    connect(Browser, &TVrnHTML::HotSpotClick, this, [this](const std::string& link) { DispatchLink(link); });
    connect(Browser, &TVrnHTML::DoubleClicked, this, [this] {
        if (frmGloss) frmGloss->ShowWord(Trim(Browser->SelectedText()), true);
    });
    Browser->SetImageRequest([this](const std::string& name) { return BrowserImageRequest(name); });
    connect(btnAddBookmark, &QPushButton::clicked, this, [this] { AddBookmark(); });
    connect(VrnButton3, &QPushButton::clicked, this, [] {
        if (frmBookmarks) frmBookmarks->ShowBookmarks();
    });
}

void TfrmMain::BuildMenus() {
    VrnMainMenuStyle1 = new TVrnMainMenuStyle(this);
    VrnPopUpMenuStyle1 = new TVrnPopUpMenuStyle(this);
    QMenuBar* bar = menuBar();
    bar->setStyleSheet("QMenuBar { background: black; color: white; } "
                       "QMenuBar::item:selected { background: #404040; }");
    QMenu* file = bar->addMenu("&File");
    mnuExit = file->addAction("E&xit Halvora");
    connect(mnuExit, &QAction::triggered, this, [] { qApp->quit(); });
    QMenu* tools = bar->addMenu("&Tools");
    tools->addAction("Glossary of Islamic Terms", this, [] {
        if (frmGloss) frmGloss->ShowLookup();
    });
    tools->addAction("My Bookmarks", this, [] {
        if (frmBookmarks) frmBookmarks->ShowBookmarks();
    });
    tools->addSeparator();
    tools->addAction("Display Tips and Info", this, [] {
        if (frmTipsDlg) frmTipsDlg->ShowTips();
    });
    QMenu* options = bar->addMenu("Options");
    options->addAction("Preferences", this, [] {
        if (frmPrefsDlg) frmPrefsDlg->Execute();
    });
    mnuiRemoteAudio = options->addAction("Remote Audio");
    connect(mnuiRemoteAudio, &QAction::triggered, this, [] {
        if (frmRemoteAudioDlg) frmRemoteAudioDlg->OpenSettings();
    });
    VerifyAntiTamperSecurity1 = options->addAction("Verify Software");
    connect(VerifyAntiTamperSecurity1, &QAction::triggered, this, [] {
        if (frmVerifydlg) frmVerifydlg->ShowVerify();
    });
    QMenu* about = bar->addMenu("&About");
    mnuAbout = about->addAction("About Halvora");
    connect(mnuAbout, &QAction::triggered, this, [] {
        if (frmAboutDlg) ExecModal(*frmAboutDlg);
    });
    about->addAction("Visit the Halvora web site", this, [this] {
        TVrnURLLabel::OpenAddress(utHTTP, lblURLTarnwick->URL());
    });
    about->addSeparator();
    TarnwickDirectNews1 = about->addAction("Tarnwick Direct (News)");
    connect(TarnwickDirectNews1, &QAction::triggered, this, [] {
        if (frmNews) {
            frmNews->show();
            frmNews->raise();
        }
    });
    for (QMenu* m : {file, tools, options, about}) VrnMainMenuStyle1->Attach(m);
    Navigation = new TReaderNavigation(this);
    Navigation->AddMenus(bar, tools);

    pmnuTools = new QMenu(this);
    pmnuiAddBookmark = pmnuTools->addAction("Add Bookmark");
    pmnuTools->addSeparator();
    pmnuiCopyText = pmnuTools->addAction("Copy Text");
    VrnPopUpMenuStyle1->Attach(pmnuTools);
    connect(pmnuiAddBookmark, &QAction::triggered, this, [this] { AddBookmark(); });
    connect(pmnuiCopyText, &QAction::triggered, this, [this] { CopyText(); });
    connect(pmnuTools, &QMenu::aboutToShow, this, [this] { UpdateOutlineMenu(); });
    for (TVrnTreeView* t : {trvOutlineComposite, trvOutlineTopical}) {
        t->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(t, &QWidget::customContextMenuRequested, this,
                [this, t](const QPoint& pos) { pmnuTools->popup(t->viewport()->mapToGlobal(pos)); });
    }
}

void TfrmMain::FormCreate() {
    QApplication::setApplicationName(kAppName);
    AppfrmMain = this;
    if (FInitForm) AppfrmInit = FInitForm;
    if (frmBookmarks) {
        AppfrmBookmarks = frmBookmarks;
        frmBookmarks->SetScheme(Scheme);
    }
    LoadSettings();
    PrepareTextCipher(EncDec);
    MainDocs = std::make_unique<TMainDocManager>();
    QuranModule = std::make_unique<TQuranDLLHelper>(kQuranModuleFile, FOptions.QuranSignature, false);
    Stories = std::make_unique<TProphetsHelper>(kStoryModuleFile, QuranModule.get(),
                                                FOptions.StorySignature);
    RemoteAudio = std::make_unique<TQRemoteAudio>(this, FOptions.RecitationSignature);
    Composer = std::make_unique<TPageComposer>(MainDocs.get(), QuranModule.get(), Stories.get());
    if (frmAboutDlg) frmAboutDlg->SetQuranModule(QuranModule.get());
    FOutlineMode = 2;
    if (FInitForm) {
        FInitForm->show();
        FInitForm->repaint();
    }
    if (!FOptions.SelfCheck)
        FOptions.SelfCheck = std::make_unique<TProgramSelfCheck>(TProgramSelfCheck::RunningProgramFile());
    auto registerModule = [this](TVerifiableObject& m) {
        VerificationManager().Register(m);
        FRegistered.push_back(&m);
    };
    registerModule(*FOptions.SelfCheck);
    FOptions.SelfCheck->Verify();
    registerModule(*MainDocs);
    OpenBuiltInDocuments(*MainDocs);
    registerModule(*QuranModule);
    registerModule(*Stories);
    registerModule(*RemoteAudio);
    Glossary = std::make_unique<TGlossaryHelper>(ProgramFolder() + kGlossaryFileName,
                                                 FOptions.GlossarySignature);
}

void TfrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (FShown) return;
    FShown = true;
    try {
        FormShow();
    } catch (const std::exception& ex) {
        ShowErrorReport(ex.what());
    }
}

void TfrmMain::FormShow() {
    ApplySettings(StoredPrefs());
    // A file that cannot be read is not the one shipped: it ends the program as
    // a failed check (one message, then the end), and no page is built over
    // modules half read.
    bool loaded = LoadShippedFile([this] { QuranModule->Load(); }) &&
                  LoadShippedFile([this] {
                      RemoteAudio->Load();
                      // A table that is not the shipped one is a failed check too.
                      if (RemoteAudio->Damaged()) FatalVerificationFailure();
                  }) &&
                  LoadShippedFile([this] { Stories->LoadAll(); }) &&
                  LoadShippedFile([this] { MainDocs->LoadAll(); });
    if (!loaded) {
        ClearTextCipherCache();
        return;
    }
    VerificationManager().Register(*Glossary);
    FRegistered.push_back(Glossary.get());
    // The welcome page needs no glossary, and reading it is the longest step
    // of the start-up: it is read once the window is on screen (a look-up
    // before then reads it itself). One that cannot be read fails its check.
    QTimer::singleShot(0, this, [this] {
        if (!Glossary->Loaded) LoadShippedFile([this] { Glossary->Load(); });
        // Start-up derives each line key once; the cache has done its work.
        ClearTextCipherCache();
    });

    FillTree(trvProphets, Composer->FillProphetsTree());
    ScrollToTop(trvProphets);
    tmrStartUp.start();
    SetPageReady(true);
    FocusIfVisible(trvProphets);
    SelectTreeIndex(MainDocs->Count());
}

void TfrmMain::tmrStartUpTimer() {
    tmrStartUp.stop();
    StartUpSteps.push_back("hide start-up window");
    if (FInitForm) {
        FInitForm->hide();
        FInitForm->close();
    }
    if (StoredPrefs().Maximise) {
        StartUpSteps.push_back("maximise");
        showMaximized();
    }
    if (Navigation && Navigation->RestoreLastPage()) StartUpSteps.push_back("restore last page");
    if (frmVerifydlg && !THalvoraApplication::TerminateRequested()) {
        StartUpSteps.push_back("verify");
        frmVerifydlg->AutoVerify();
    }
    if (StoredPrefs().StartUpTips && frmTipsDlg) {
        StartUpSteps.push_back("tips");
        frmTipsDlg->ShowTips();
    }
    if (StoredPrefs().NewsOnStart && ShowNewsIfConnected) {
        StartUpSteps.push_back("news");
        ShowNewsIfConnected();
    }
    emit StartUpFinished();
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    e->accept();
    if (Navigation) Navigation->SaveLastPage();
    // Closing the main window ends the program, whatever else is open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TfrmMain::QueryEndSession() {
    int answer = ShowMsgDlg(mkConfirmation, 184, mbYesNo,
                            "Windows is trying to Shutdown Halvora, would you like to do so?",
                            "Windows Log off/Shutdown", true);
    if (answer == mrYes) {
        qApp->quit();
        return true;
    }
    return false;
}

void TfrmMain::CommitDataRequest(QSessionManager& manager) {
    if (!manager.allowsInteraction()) return;
    bool end = QueryEndSession();
    manager.release();
    if (!end) manager.cancel();
}

void TfrmMain::HandleLink(const std::string& link) { DispatchLink(link); }

void TfrmMain::SetBusyState(uint8_t state) {
    // One busy cursor at a time: each call replaces what the previous one set.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    FStatusIcon = (state == 1 || state == 2) ? state : 0;
    if (state == 1) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (state == 2) QApplication::setOverrideCursor(Qt::BusyCursor);
    if (WindowsKind() == 1 || WindowsKind() == 4)
        StatusIconPanel->clear();
    else
        StatusIconPanel->setPixmap(QPixmap::fromImage(Artwork(QString("Status%1.png").arg(FStatusIcon))));
    statusBar()->repaint();
}

int32_t TfrmMain::SelectedNodeData() const { return NodeData(trvProphets->currentItem()); }

QString TfrmMain::StatusText() const { return StatusTextPanel->text(); }

void TfrmMain::ApplySettings(const THVPrefs& r) {
    FApplied = r;
    SchemeStore->SetWallPaper(WallpaperTile(r.ColorScheme));
    spnlMain->update();
    spnlName->update();
    spnlTitle->update();
    QColor c = ColorFromRef(HighlightColour(r.ColorWordHL));
    if (frmGloss) frmGloss->SetLinkColour(HighlightColour(r.ColorWordHL));
    if (frmNews) {
        frmNews->ApplyHotTrackColor(c);
        frmNews->ShowAtStartUp = r.NewsOnStart;
        frmNews->ApplyScheme(Scheme);
    }
    for (TVrnTreeView* t : {trvProphets, trvOutlineComposite, trvOutlineTopical}) t->SetHotTrackColor(c);
    Browser->SetLinkColors(c, c);
    if (RemoteAudio) {
        RemoteAudio->CacheFolder = StoredPrefs().DiskCacheDir;
        RemoteAudio->Server = StoredPrefs().RemoteAudioServer;
    }
    if (PageReady()) {
        Browser->ClearPage();
        ShowSelection();
    }
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, ColorFromRef(15066597));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);
}

QTreeWidgetItem* TfrmMain::TreeNodeAt(int index) const {
    if (index < 0) return nullptr;
    int i = 0;
    for (QTreeWidgetItemIterator it(trvProphets); *it; ++it, ++i)
        if (i == index) return *it;
    return nullptr;
}

void TfrmMain::SelectTreeIndex(int index) {
    QTreeWidgetItem* item = TreeNodeAt(index);
    if (!item) return;
    // The node already shown stays as it is, scrolled where the reader left it.
    if (trvProphets->currentItem() != item)
        trvProphets->setCurrentItem(item);
    else
        item->setSelected(true);
    trvProphets->scrollToItem(item);
    trvProphets->viewport()->update();
}

void TfrmMain::LoadPage(const std::string& html, bool emptyPictures) {
    if (emptyPictures)
        Browser->ClearPage();
    else
        Browser->clear();
    Browser->LoadFromString(html);
}

void TfrmMain::LeaveProphets() {
    Stories->ClearProphet();
    if (!FOutlineHidden) FSavedOutlineMode = FOutlineMode;
    CheckOutlineOption(0);
    FOutlineHidden = true;
}

void TfrmMain::ShowSelection() {
    if (!Stories) return;
    QTreeWidgetItem* node = trvProphets->currentItem();
    if (!node) return;
    int32_t d = NodeData(node);
    if (d == 0) return;
    SetBusyState(2);
    struct TIdle {
        TfrmMain* w;
        ~TIdle() { w->SetBusyState(0); }
    } idle{this};
    const std::string bismillah = "In the Name of Allah, Most Gracious, Most Merciful";
    bool links = StoredPrefs().EnableRemoteAudio;
    if (d == kWelcomeNodeData) {
        LeaveProphets();
        lblChapter->setText("Welcome to Halvora");
        lblChapter2->setText(FromAnsi(bismillah));
        StatusTextPanel->setText("Welcome to Halvora");
        pnlDock->setEnabled(false);
        LoadPage(Composer->BuildWelcomePage(), true);
    } else if (d >= -6 && d <= -1) {
        if (-d > MainDocs->Count()) return;
        LeaveProphets();
        const TMainDoc& doc = MainDocs->Items(-d - 1);
        lblChapter->setText(FromAnsi(doc.Title));
        lblChapter2->setText(FromAnsi(bismillah));
        StatusTextPanel->setText(FromAnsi(doc.Title));
        pnlDock->setEnabled(false);
        LoadPage(Composer->BuildDocumentPage(-d - 1, links), true);
    } else if (d >= 1 && d <= 29) {
        Stories->SelectProphet(d);
        if (!FProphetShown) {
            FProphetShown = true;
            CheckOutlineOption(2);
        } else if (FOutlineHidden) {
            CheckOutlineOption(FSavedOutlineMode);
            FOutlineHidden = false;
        }
        std::string name = ProphetName(d, 2);
        lblChapter->setText(FromAnsi("Prophet " + name));
        lblChapter2->setText(FromAnsi(ProphetBlessing(d, 1).substr(2)));
        StatusTextPanel->setText(
            FromAnsi("Prophet " + name + " - Allah's Peace and Blessings be upon him"));
        LoadPage(Composer->BuildStoryPage(d, links), false);
        pnlDock->setEnabled(true);
        FillTree(trvOutlineComposite, Stories->FillOutline(d, true));
        FillTree(trvOutlineTopical, Stories->FillOutline(d, false));
    }
}

void TfrmMain::FillTree(TVrnTreeView* tree, const std::vector<TTreeNodeSpec>& nodes) {
    QSignalBlocker block(tree);
    tree->clear();
    std::vector<QTreeWidgetItem*> items;
    for (const TTreeNodeSpec& n : nodes) {
        QTreeWidgetItem* item = n.Parent < 0 ? new QTreeWidgetItem(tree)
                                             : new QTreeWidgetItem(items[static_cast<size_t>(n.Parent)]);
        item->setText(0, FromAnsi(n.Text));
        item->setData(0, kDataRole, n.Data);
        item->setIcon(0, TreeIcon(n.ImageIndex, n.SelectedIndex));
        items.push_back(item);
    }
    tree->expandAll();
    ScrollToTop(tree);
}

void TfrmMain::CheckOutlineOption(uint8_t mode) {
    switch (mode) {
    case 0:
        rbOutlineNone->setChecked(true);
        break;
    case 1:
        rbOutlineTopical->setChecked(true);
        break;
    case 2:
        rbOutlineComposite->setChecked(true);
        break;
    default:
        break;
    }
}

void TfrmMain::SetOutlineMode(uint8_t mode) {
    FOutlineMode = mode;
    switch (mode) {
    case 0:
        pnlOutline->hide();
        break;
    case 1:
        trvOutlineComposite->hide();
        trvOutlineTopical->show();
        pnlOutline->show();
        break;
    case 2:
        trvOutlineComposite->show();
        trvOutlineTopical->hide();
        pnlOutline->show();
        break;
    default:
        break;
    }
    UpdateOutlineMenu();
}

TVrnTreeView* TfrmMain::CurrentOutlineTree() const {
    if (FOutlineMode == 1) return trvOutlineTopical;
    if (FOutlineMode == 2) return trvOutlineComposite;
    return nullptr;
}

void TfrmMain::UpdateOutlineMenu() {
    TVrnTreeView* t = CurrentOutlineTree();
    pmnuiCopyText->setVisible(t && t->currentItem() && NodeData(t->currentItem()) != 0);
    pmnuiAddBookmark->setVisible(true);
}

void TfrmMain::OutlineSelectionChanged(TVrnTreeView* tree) {
    if (tree != CurrentOutlineTree()) return;
    QTreeWidgetItem* node = tree->currentItem();
    if (!node) return;
    int32_t d = NodeData(node);
    std::string text = ToAnsi(node->text(0));
    if (!node->parent()) {
        Browser->PositionTo("TOP");
        Browser->ScrollToTop();
    } else if (d == kOutlineQuranRef) {
        GoToExcerpt(Stories->CurrentProphet(), Stories->FindExcerpt(text));
    } else if (d != 0) {
        GoToSubTopic(Stories->CurrentProphet(), Stories->FindTopic(text));
    }
}

void TfrmMain::SelectProphet(int32_t prophet) { SelectTreeIndex(MainDocs->Count() + prophet); }

void TfrmMain::GoToSubTopic(int32_t prophet, int32_t n) {
    TJumpScope jump(Navigation);
    if (Stories->CurrentProphet() != prophet) SelectProphet(prophet);
    Browser->PositionTo("SUBTOPIC_" + std::to_string(n));
}

void TfrmMain::GoToExcerpt(int32_t prophet, int32_t n) {
    TJumpScope jump(Navigation);
    if (Stories->CurrentProphet() != prophet) SelectProphet(prophet);
    Browser->PositionTo("QREF_" + std::to_string(n));
}

void TfrmMain::GoToSubTopicRef(const std::string& ref) {
    int32_t p = 0, n = 0;
    ParseTopicLocation(ref, p, n);
    GoToSubTopic(p, n);
}

void TfrmMain::GoToExcerptRef(const std::string& ref) {
    int32_t p = 0, n = 0;
    ParseExcerptLocation(ref, p, n);
    GoToExcerpt(p, n);
}

void TfrmMain::AddBookmark() {
    TVrnTreeView* t = CurrentOutlineTree();
    if (!t || !t->currentItem()) {
        ShowMsgDlg(mkWarning, 184, mbOKOnly, kNothingToBookmark, "Nothing to Bookmark!", true);
        return;
    }
    if (!frmBookmarks) return;
    QTreeWidgetItem* node = t->currentItem();
    const std::string text = ToAnsi(node->text(0));
    const int32_t prophet = Stories->CurrentProphet();
    if (NodeData(node) == kOutlineQuranRef)
        frmBookmarks->AddExcerptBookmark(prophet, Stories->FindExcerpt(text));
    else
        frmBookmarks->AddSubTopicBookmark(prophet, RemoveAll(text, kPeaceBeUponHim));
}

void TfrmMain::CopyText() {
    TVrnTreeView* t = CurrentOutlineTree();
    if (!t || !t->currentItem()) return;
    QTreeWidgetItem* node = t->currentItem();
    bool excerpt = FOutlineMode == 2 && NodeData(trvOutlineComposite->currentItem()) == kOutlineQuranRef &&
                   trvOutlineComposite->currentItem()->parent();
    std::string noun = excerpt ? "Qur'an Excerpt" : "Sub-Topic";
    int answer = ShowMsgDlg(mkConfirmation, 184, mbYesNo,
                            "Choose \"Yes\" to copy the " + noun + "'s actual text or \"No\" to copy just the " +
                                noun + "'s title.",
                            "Copy " + noun + "'s text?", true);
    QClipboard* clip = QApplication::clipboard();
    std::string title = ToAnsi(node->text(0));
    if (answer != mrYes) {
        clip->setText(node->text(0));
        return;
    }
    if (excerpt) {
        int32_t n = Stories->FindExcerpt(title);
        TQuranExcerpt e = Stories->GetExcerpt(n);
        clip->setText(FromAnsiLines(ExcerptHtml(*QuranModule, e.Range, "", false, false)));
        return;
    }
    // The sub-topic's passage: from its own anchor to the next sub-topic's.
    // Its title may occur earlier in the page, in another heading or the text.
    const int i = Stories->FindTopic(title);
    const int count = Stories->TopicCount(Stories->CurrentProphet());
    const int start = i >= 0 ? Browser->AnchorPosition("SUBTOPIC_" + std::to_string(i)) : -1;
    if (start < 0) {
        clip->setText(node->text(0)); // a title missing from the page: its title is all there is
        return;
    }
    int end = i + 1 < count ? Browser->AnchorPosition("SUBTOPIC_" + std::to_string(i + 1)) : -1;
    if (end < start) end = Browser->document()->characterCount() - 1; // the last one runs to the end
    QTextCursor c = Browser->textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    Browser->setTextCursor(c);
    clip->setText(Browser->PlainText(start, end));
}

int TfrmMain::MainDocumentPosition() const {
    if (!Stories || !trvProphets->currentItem()) return 0;
    int32_t d = NodeData(trvProphets->currentItem());
    return d >= -6 && d <= -1 ? -d : 0;
}

QImage TfrmMain::BrowserImageRequest(const std::string& rawName) {
    if (!PageReady()) return {};
    std::string name = Trim(rawName);
    if (SameText(name, "Audio.jpg")) return Artwork("Audio.png");
    if (SameText(name, "Welcome1.jpg")) return Artwork("Welcome1.jpg");
    if (SameText(name, "Welcome2.jpg")) return Artwork("Welcome2.jpg");
    bool preview = frmPrefsDlg && frmPrefsDlg->isVisible();
    QImage banner = BannerPicture(preview ? FApplied.ColorWordHL : StoredPrefs().ColorWordHL)
                        .convertToFormat(QImage::Format_RGB32);
    std::string title = Composer->BannerTitle(MainDocumentPosition());
    DrawBannerTitle(banner, FromAnsi(title));
    return banner;
}

void TfrmMain::DispatchLink(const std::string& link) {
    for (const TLinkAction& a : DispatchLinkActions(link, MainDocs.get())) {
        switch (a.Action) {
        case TLinkAction::PlayRecitation:
            if (RemoteAudio) RemoteAudio->PlayReference(a.Argument);
            break;
        case TLinkAction::SelectTreeNode:
            SelectTreeIndex(a.Index);
            break;
        case TLinkAction::ShowDocument:
            SelectTreeIndex(a.Index);
            break;
        case TLinkAction::Feature:
            if (a.Argument == "FEAT_INDEX") CheckOutlineOption(2);
            if (a.Argument == "FEAT_TIPS" && frmTipsDlg) frmTipsDlg->ShowTips();
            if (a.Argument == "FEAT_GLOSSARY" && frmGloss) frmGloss->ShowLookup();
            if (a.Argument == "FEAT_PREFS" && frmPrefsDlg) frmPrefsDlg->Execute();
            if (a.Argument == "FEAT_WORD_SPELL" && frmGloss) frmGloss->ShowWordQuery();
            if (a.Argument == "FEAT_REMOTE_AUD" && frmRemoteAudioDlg) frmRemoteAudioDlg->OpenSettings();
            if (a.Argument == "FEAT_BOOKMARKS" && frmBookmarks) frmBookmarks->ShowBookmarks();
            if (a.Argument == "FEAT_SEARCH" && Navigation) Navigation->ShowSearch();
            break;
        case TLinkAction::OpenWebAddress:
            TVrnURLLabel::OpenAddress(utHTTP, a.Argument);
            break;
        }
    }
}
