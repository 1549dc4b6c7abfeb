#include "tools/glossarywin_ui.h"

#include "content/glossary.h"
#include "controls/menustyles.h"
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "pages/controlutils_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/appbase.h"
#include "tools/spelling.h"
#include "util/strutils.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

TfrmGloss* frmGloss = nullptr;

namespace {

const char* const kFirstSpellingCaption = "Type word above to find it's proper spelling!";

void Paint(QWidget* w, const QColor& window, const QColor& text) {
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, window);
    pal.setColor(QPalette::WindowText, text);
    w->setPalette(pal);
}

QLabel* WhiteLabel(const QString& text, QWidget* parent, int size, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}

TVrnButton* Button(const QString& caption, const QString& hint, int width, QWidget* parent) {
    auto* b = new TVrnButton(caption, parent);
    b->setFont(ProgramFont(8));
    b->setFixedSize(width, 24);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

QLineEdit* Edit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setFont(ProgramFont(8));
    e->setFixedHeight(22);
    return e;
}

} // namespace

TfrmGloss::TfrmGloss(TGlossaryHelper* glossary, TepScheme* scheme, QWidget* parent)
    : QWidget(parent, Qt::Tool), FGlossary(glossary) {
    setObjectName("frmGloss");
    setWindowTitle("Glossary");
    setMinimumSize(556, 360);
    resize(720, 480);
    Paint(this, Qt::black, Qt::white);
    FMenuStyle = new TVrnPopUpMenuStyle(this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    spnlName = new TepSchemePanel(this);
    if (scheme) spnlName->SetScheme(scheme);
    spnlName->setFixedHeight(30);
    lblWinName = WhiteLabel("Glossary of Islamic and Arabic Terms", spnlName, 10, true);
    auto* title = new QHBoxLayout(spnlName);
    title->setContentsMargins(12, 0, 12, 0);
    title->addWidget(lblWinName);
    outer->addWidget(spnlName);

    auto* bar = new QWidget(this);
    Paint(bar, Qt::black, Qt::white);
    auto* top = new QHBoxLayout(bar);
    top->setContentsMargins(6, 5, 6, 5);
    top->setSpacing(4);
    txtTerm = Edit(bar);
    txtTerm->setMinimumWidth(150);
    btnLookUp = Button("Look Up", "Look-up a word.", 64, bar);
    btnBookmark = Button("B+", "Add Bookmark. (Bookmarks the\ncurrently selected glossary term)", 30, bar);
    btnBookmarks = Button("Bookmarks", "View your Bookmark collection.", 76, bar);
    btnBack = Button("<<", "", 30, bar);
    btnForward = Button(">>", "", 30, bar);
    btnWordQuery = Button("Word Query", "Find the proper spelling of a word.", 84, bar);
    top->addWidget(txtTerm, 1);
    top->addWidget(btnLookUp);
    top->addWidget(btnBookmark);
    top->addWidget(btnBookmarks);
    top->addSpacing(10);
    top->addWidget(btnBack);
    top->addWidget(btnForward);
    top->addSpacing(10);
    top->addWidget(btnWordQuery);
    outer->addWidget(bar);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setStyleSheet("QSplitter::handle { background: black; }");
    lbxTerms = new QListWidget(Splitter1);
    lbxTerms->setFont(ProgramFont(8));
    {
        QPalette pal = lbxTerms->palette();
        pal.setColor(QPalette::Base, ColorFromRef(15066597));
        pal.setColor(QPalette::Text, Qt::black);
        lbxTerms->setPalette(pal);
    }
    auto* right = new QWidget(Splitter1);
    Paint(right, Qt::black, Qt::white);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    Browser = new TVrnHTML(right);
    Browser->document()->setDefaultFont(ProgramFont(10));
    Browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rightLayout->addWidget(Browser, 1);

    pnlWordQuery = new QWidget(right);
    Paint(pnlWordQuery, Qt::black, Qt::white);
    auto* wq = new QVBoxLayout(pnlWordQuery);
    wq->setContentsMargins(6, 6, 6, 6);
    wq->setSpacing(4);
    auto* row1 = new QHBoxLayout;
    Label2 = WhiteLabel(" WORD SPELLING QUERY", pnlWordQuery, 8, true);
    chkCloseWordQry = new QCheckBox("Close Word Query", pnlWordQuery);
    chkCloseWordQry->setFont(ProgramFont(8));
    {
        // Through the palette: a style sheet colour would paint the tick white on white.
        QPalette pal = chkCloseWordQry->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        chkCloseWordQry->setPalette(pal);
    }
    row1->addWidget(Label2);
    row1->addStretch(1);
    row1->addWidget(chkCloseWordQry);
    auto* row2 = new QHBoxLayout;
    txtTerm2 = Edit(pnlWordQuery);
    btnProperSpelling = Button("Find Proper Spelling", "Find the proper spelling of a word.", 130,
                               pnlWordQuery);
    row2->addWidget(txtTerm2, 1);
    row2->addWidget(btnProperSpelling);
    auto* row3 = new QHBoxLayout;
    Label3 = WhiteLabel("Preferred Spelling:", pnlWordQuery, 8, true);
    lblPrefSpelling = WhiteLabel(kFirstSpellingCaption, pnlWordQuery, 8, false);
    lblPrefSpelling->setTextInteractionFlags(Qt::NoTextInteraction);
    row3->addWidget(Label3);
    row3->addWidget(lblPrefSpelling, 1);
    wq->addLayout(row1);
    wq->addLayout(row2);
    wq->addLayout(row3);
    pnlWordQuery->hide();
    rightLayout->addWidget(pnlWordQuery);
    Splitter1->addWidget(lbxTerms);
    Splitter1->addWidget(right);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({180, 520});
    outer->addWidget(Splitter1, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(true);
    StatusBar->setStyleSheet("QStatusBar { background: black; } QLabel { color: white; }");
    StatusPanel = new QLabel(StatusBar);
    StatusPanel->setFixedWidth(50);
    StatusPanel->setContentsMargins(4, 3, 0, 0);
    StatusBar->addWidget(StatusPanel);
    outer->addWidget(StatusBar);

    pmnuWQuery = new QMenu(this);
    pmnuiCopyPrefSpelling = pmnuWQuery->addAction("Copy Preferred Spelling");
    FMenuStyle->Attach(pmnuWQuery);
    connect(pmnuiCopyPrefSpelling, &QAction::triggered, this, [this] { pmnuiCopyPrefSpellingClick(); });
    connect(lblPrefSpelling, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { pmnuWQuery->popup(lblPrefSpelling->mapToGlobal(pos)); });
    SetCopyMenu(true);
    lblPrefSpelling->setProperty("tag", 0);

    // FormCreate: the history drives the two buttons.
    FHistory.SetButtons([this](bool on) { btnBack->setEnabled(on); },
                        [this](bool on) { btnForward->setEnabled(on); });

    connect(lbxTerms, &QListWidget::currentRowChanged, this, [this] { lbxTermsClick(); });
    connect(btnLookUp, &QPushButton::clicked, this, [this] { btnLookUpClick(); });
    connect(txtTerm, &QLineEdit::textEdited, this, [this] { txtTermKeyUp(); });
    connect(btnBack, &QPushButton::clicked, this, [this] { btnBackClick(); });
    connect(btnForward, &QPushButton::clicked, this, [this] { btnForwardClick(); });
    connect(btnBookmark, &QPushButton::clicked, this, [this] { btnBookmarkClick(); });
    connect(btnBookmarks, &QPushButton::clicked, this, [this] { btnBookmarksClick(); });
    connect(btnWordQuery, &QPushButton::clicked, this, [this] { btnWordQueryClick(); });
    connect(chkCloseWordQry, &QCheckBox::clicked, this, [this] { chkCloseWordQryClick(); });
    connect(btnProperSpelling, &QPushButton::clicked, this, [this] { btnProperSpellingClick(); });
    connect(Browser, &TVrnHTML::HotSpotClick, this,
            [this](const std::string& link) { BrowserHotSpotClick(link); });
    // Enter in either edit presses the default button.
    for (QLineEdit* e : {txtTerm, txtTerm2}) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::returnPressed, this, [this] {
            if (TVrnButton* b = DefaultButton()) b->click();
        });
    }
    SetDefaultButton(btnLookUp);
    SetLinkColour(FLinkColour);

    if (!frmGloss) frmGloss = this;
}

TfrmGloss::~TfrmGloss() {
    if (frmGloss == this) frmGloss = nullptr;
}

bool TfrmGloss::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusIn) {
        if (watched == txtTerm) txtTermEnter();
        if (watched == txtTerm2) txtTerm2Enter();
    }
    return QWidget::eventFilter(watched, e);
}

void TfrmGloss::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Each time the reader opens the window, not when the desktop restores it.
    if (!e->spontaneous()) FormShow();
}

void TfrmGloss::FillList() {
    if (!FGlossary) return;
    TStringList terms;
    FGlossary->FillTerms(terms);
    QSignalBlocker block(lbxTerms);
    lbxTerms->clear();
    for (const std::string& t : terms) lbxTerms->addItem(FromAnsi(t));
}

void TfrmGloss::FormShow() {
    FillList();
    if (lbxTerms->count() == 0) return;
    SelectRow(0);
    lbxTermsClick();
}

void TfrmGloss::SelectRow(int row) {
    QSignalBlocker block(lbxTerms);
    lbxTerms->setCurrentRow(row);
    if (QListWidgetItem* item = lbxTerms->item(row)) lbxTerms->scrollToItem(item);
}

void TfrmGloss::Reveal() {
    show();
    raise();
    activateWindow();
}

void TfrmGloss::ShowLookup() {
    Reveal();
    if (txtTerm->isVisible()) txtTerm->setFocus();
    SetDefaultButton(btnLookUp);
}

void TfrmGloss::ShowWordQuery() {
    Reveal();
    btnWordQueryClick();
}

void TfrmGloss::SetLinkColour(uint32_t colour) {
    FLinkColour = colour;
    const QColor c = ColorFromRef(colour);
    Browser->SetLinkColors(c, c);
    // The shown entry's title takes the new colour too.
    if (isVisible() && lbxTerms->currentRow() >= 0) ShowTerm(true);
}

bool TfrmGloss::ShowWord(const std::string& word, bool showWindow) {
    if (!FGlossary) return false;
    const int i = FGlossary->LookupWord(word);
    if (i < 0) return false;
    if (showWindow) Reveal();
    // Asked before the window was ever shown: the list is not filled yet.
    if (lbxTerms->count() == 0) FillList();
    SelectRow(i);
    ShowTerm(false);
    return true;
}

void TfrmGloss::ShowTerm(bool withoutHistory) {
    const int row = lbxTerms->currentRow();
    if (!FGlossary || row < 0 || row >= FGlossary->Count()) return;
    Browser->LoadFromString(FGlossary->TermPage(row, FLinkColour));
    const QString headword = lbxTerms->item(row)->text();
    txtTerm->setText(headword);
    if (!withoutHistory) FHistory.Add(ToAnsi(headword));
}

void TfrmGloss::lbxTermsClick() { ShowTerm(false); }

void TfrmGloss::btnLookUpClick() { lbxTermsClick(); }

void TfrmGloss::txtTermKeyUp() { SelectByPrefix(txtTerm, lbxTerms); }

void TfrmGloss::txtTermEnter() { SetDefaultButton(btnLookUp); }

void TfrmGloss::txtTerm2Enter() { SetDefaultButton(btnProperSpelling); }

void TfrmGloss::SetDefaultButton(TVrnButton* button) {
    btnLookUp->setDefault(button == btnLookUp);
    btnProperSpelling->setDefault(button == btnProperSpelling);
}

TVrnButton* TfrmGloss::DefaultButton() const {
    if (btnLookUp->isDefault()) return btnLookUp;
    if (btnProperSpelling->isDefault()) return btnProperSpelling;
    return nullptr;
}

void TfrmGloss::btnBackClick() {
    FHistory.GoBack();
    if (FHistory.Current() < 0 || !FGlossary) return;
    const int i = FGlossary->LookupWord(FHistory[FHistory.Current()]);
    if (i < 0) return;
    SelectRow(i);
    ShowTerm(true);
    Reveal();
}

void TfrmGloss::btnForwardClick() {
    FHistory.GoForward();
    if (FHistory.Current() < 0 || !FGlossary) return;
    const int i = FGlossary->LookupWord(FHistory[FHistory.Current()]);
    if (i < 0) return;
    SelectRow(i);
    ShowTerm(true);
    Reveal();
}

void TfrmGloss::btnBookmarkClick() {
    QListWidgetItem* item = lbxTerms->currentItem();
    if (item && AppfrmBookmarks) AppfrmBookmarks->AddGlossaryTermBookmark(ToAnsi(item->text()));
}

void TfrmGloss::btnBookmarksClick() {
    if (auto* w = dynamic_cast<QWidget*>(AppfrmBookmarks)) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void TfrmGloss::btnWordQueryClick() {
    chkCloseWordQry->setChecked(false);
    pnlWordQuery->show();
    txtTerm2->setFocus();
    SetDefaultButton(btnProperSpelling);
}

void TfrmGloss::chkCloseWordQryClick() {
    if (chkCloseWordQry->isChecked()) pnlWordQuery->hide();
    SetDefaultButton(btnLookUp);
}

void TfrmGloss::SetCopyMenu(bool offered) {
    lblPrefSpelling->setContextMenuPolicy(offered ? Qt::CustomContextMenu : Qt::PreventContextMenu);
}

bool TfrmGloss::CopyMenuOffered() const {
    return lblPrefSpelling->contextMenuPolicy() == Qt::CustomContextMenu;
}

void TfrmGloss::btnProperSpellingClick() {
    if (!FGlossary) return;
    const TSpellingAnswer a = WordSpellingQuery(*FGlossary, ToAnsi(txtTerm2->text()));
    switch (a.Outcome) {
    case TSpellingAnswer::NoQuery:
        return;
    case TSpellingAnswer::Corrected:
        lblPrefSpelling->setText(FromAnsi(a.Caption));
        ShowWord(a.ShowWord, true);
        ShowTerm(true);
        SetCopyMenu(true);
        break;
    case TSpellingAnswer::NotInGlossary:
        lblPrefSpelling->setText(FromAnsi(a.Caption));
        SetCopyMenu(false);
        break;
    case TSpellingAnswer::Correct:
        lblPrefSpelling->setText(FromAnsi(a.Caption));
        ShowWord(a.ShowWord, true);
        // A correct spelling can be copied too, also after a word the
        // glossary did not know took the menu away.
        SetCopyMenu(true);
        break;
    }
    lblPrefSpelling->setProperty("tag", a.Tag);
}

void TfrmGloss::pmnuiCopyPrefSpellingClick() {
    const bool correct = lblPrefSpelling->property("tag").toInt() == 1;
    QApplication::clipboard()->setText(correct ? txtTerm->text() : lblPrefSpelling->text());
}

void TfrmGloss::BrowserHotSpotClick(const std::string& link) {
    if (ShowWord(link, true)) return;
    if (AppfrmMain) AppfrmMain->HandleLink(link);
}
