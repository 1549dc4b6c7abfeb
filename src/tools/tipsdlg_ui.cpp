#include "tools/tipsdlg_ui.h"

#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "platform/dialogs_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/prefs.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QScreen>

#include <chrono>
#include <random>

// Outside any namespace, as the resource initialiser needs.
static void InitToolsResources() { Q_INIT_RESOURCE(tools); }

TfrmTipsDlg* frmTipsDlg = nullptr;

std::string TipsFormDescription() {
    InitToolsResources();
    QFile f(":/forms/tipsdlg.form");
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

namespace {

void Fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

QLabel* Label(const QString& text, QWidget* parent, int size, bool bold, const QColor& colour) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

} // namespace

TfrmTipsDlg::TfrmTipsDlg(TepScheme* scheme, QWidget* parent) : QDialog(parent) {
    setObjectName("frmTipsDlg");
    setWindowTitle("Tips and Info!");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(411, 295);
    Fill(this, Qt::black);

    pnlTop = new QWidget(this);
    pnlTop->setGeometry(0, 0, 411, 4);
    Fill(pnlTop, Qt::black);
    spnlName = new TepSchemePanel(this);
    spnlName->setGeometry(0, 4, 411, 22);
    spnlName->SetBorderWidth(6);
    if (scheme) spnlName->SetScheme(scheme);
    lblWinName = Label("Software Tips and Information", spnlName, 8, true, Qt::white);
    lblWinName->setGeometry(10, 3, 390, 16);

    lblHeading = Label("", this, 10, true, Qt::white);
    lblHeading->setGeometry(12, 31, 387, 20);
    Shape1 = new QWidget(this);
    Shape1->setGeometry(12, 53, 387, 1);
    Fill(Shape1, QColor(0x80, 0x80, 0x80));

    Panel2 = new QWidget(this);
    Panel2->setGeometry(12, 60, 387, 164);
    Fill(Panel2, ColorFromRef(14740459));
    Label1 = Label("Did you know?", Panel2, 10, true, Qt::black);
    Label1->setGeometry(10, 8, 367, 18);
    lblMessage = Label("", Panel2, 10, false, Qt::black);
    lblMessage->setGeometry(10, 30, 367, 128);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    chkStartUpTips = new QCheckBox("In Future, Show tips at startup", this);
    chkStartUpTips->setFont(ProgramFont(8));
    {
        // Through the palette: a style sheet colour would paint the tick white on white.
        QPalette pal = chkStartUpTips->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        chkStartUpTips->setPalette(pal);
    }
    chkStartUpTips->setGeometry(12, 230, 387, 20);
    chkStartUpTips->setChecked(true);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, 256, 411, 39);
    Fill(Panel1, ColorFromRef(4079166));
    btnPrev = new TVrnButton("<< Prev", Panel1);
    btnPrev->setGeometry(163, 8, 75, 24);
    btnNext = new TVrnButton("Next >>", Panel1);
    btnNext->setGeometry(244, 8, 75, 24);
    btnR3 = new TVrnButton("Close", Panel1);
    btnR3->setGeometry(325, 8, 75, 24);
    btnR3->SetModalResult(mrOk);
    for (TVrnButton* b : {btnPrev, btnNext, btnR3}) b->setFont(ProgramFont(8));

    connect(btnPrev, &QPushButton::clicked, this, [this] { btnPrevClick(); });
    connect(btnNext, &QPushButton::clicked, this, [this] { btnNextClick(); });
    connect(chkStartUpTips, &QCheckBox::clicked, this, [this] { chkStartUpTipsClick(); });

    RandomIndex = [](int count) {
        static std::mt19937 generator;
        generator.seed(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
        return std::uniform_int_distribution<int>(0, count - 1)(generator);
    };
    FormCreate();
    if (!frmTipsDlg) frmTipsDlg = this;
}

TfrmTipsDlg::~TfrmTipsDlg() {
    if (frmTipsDlg == this) frmTipsDlg = nullptr;
}

void TfrmTipsDlg::FormCreate() {
    ReadTextStoreForm(TipsFormDescription(), "tsTips", tsTips);
    FNavigator = TVrnNavPointer(tsTips.Storage().Count());
    FNavigator.SetButtons([this](bool on) { btnPrev->setEnabled(on); },
                          [this](bool on) { btnNext->setEnabled(on); });
}

void TfrmTipsDlg::ShowTips() {
    ShuffleFirstTip();
    ShowCurrentTip();
    if (isVisible()) return;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    ExecModal(*this);
}

void TfrmTipsDlg::ShuffleFirstTip() {
    const int count = tsTips.Storage().Count();
    if (count == 0) return;
    const int i = RandomIndex(count);
    if (i > 0 && i < count) tsTips.Storage().Swap(0, i);
    FNavigator.SetPosition(0);
}

void TfrmTipsDlg::ShowCurrentTip() {
    const int p = FNavigator.Position();
    if (p < 0 || p >= tsTips.Storage().Count()) return;
    const TTextStoreItem& tip = tsTips.Storage().Items(p);
    lblHeading->setText(FromAnsi("\"" + tip.Title + "\""));
    lblMessage->setText(FromAnsiLines(tip.Text));
}

void TfrmTipsDlg::btnPrevClick() {
    FNavigator.GoBack();
    ShowCurrentTip();
}

void TfrmTipsDlg::btnNextClick() {
    FNavigator.GoForward();
    ShowCurrentTip();
}

void TfrmTipsDlg::chkStartUpTipsClick() {
    StoredPrefs().StartUpTips = chkStartUpTips->isChecked();
    SaveSettings();
}
