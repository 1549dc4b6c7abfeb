#include "net/recitationdlg_ui.h"

#include "controls/vrnbutton.h"
#include "net/recitation.h"
#include "platform/dialogs_ui.h"
#include "platform/qtstrings_ui.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

TfrmRemoteAudioDlg* frmRemoteAudioDlg = nullptr;

namespace {

const char* const kExplanation =
    "Remote Recitation plays each verse of the Qur'an by connecting to a Tarnwick server and "
    "downloading the audio. Your internet connection must be up while you listen, and the free "
    "RealAudio player software is required.";

QLabel* WhiteLabel(QWidget* parent, const QString& text, int size, bool bold, QRect r) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    l->setPalette(pal);
    l->setGeometry(r);
    return l;
}

TVrnButton* Button(QWidget* parent, const QString& caption, QRect r) {
    auto* b = new TVrnButton(caption, parent);
    b->SetBorderColor(QColor(0xC0, 0xC0, 0xC0));
    b->SetBorderColorHighl(Qt::white);
    b->SetBorderColorShadw(QColor(0x80, 0x80, 0x80));
    b->SetHighlightColor(Qt::white);
    b->SetHotTrack(true);
    b->setGeometry(r);
    return b;
}

QFrame* Panel(QWidget* parent, QRect r, const QColor& colour) {
    auto* p = new QFrame(parent);
    p->setGeometry(r);
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, colour);
    p->setPalette(pal);
    return p;
}

} // namespace

TfrmRemoteAudioDlg::TfrmRemoteAudioDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRemoteAudioDlg");
    if (!frmRemoteAudioDlg) frmRemoteAudioDlg = this;
    setWindowTitle("Remote Qur'an Audio");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(456, 364);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    lblHeading = WhiteLabel(this, "REMOTE QUR'AN RECITATION", 10, true, {12, 10, 330, 20});
    Shape1 = new QFrame(this);
    Shape1->setGeometry(12, 33, 334, 3);
    Shape1->setStyleSheet("background: white;");
    lblExplain = WhiteLabel(this, kExplanation, 8, false, {12, 44, 334, 64});
    lblExplain->setWordWrap(true);
    lblExplain->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    chkRemoteAudio = new QCheckBox("Enable Remote Qur'an Recitation", this);
    chkRemoteAudio->setGeometry(12, 112, 334, 20);
    chkRemoteAudio->setFont(ProgramFont(8, true));
    {
        QPalette cp = chkRemoteAudio->palette();
        cp.setColor(QPalette::WindowText, Qt::white);
        chkRemoteAudio->setPalette(cp);
    }
    chkRemoteAudio->setCursor(Qt::PointingHandCursor);
    chkRemoteAudio->setToolTip(kExplanation);

    pnlRemoteAudio = Panel(this, {12, 138, 334, 64}, Qt::black);
    pnlRemoteAudio->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblServer = WhiteLabel(pnlRemoteAudio, "Recitation Server: ", 8, false, {8, 6, 200, 16});
    txtRAServer = new QLineEdit(pnlRemoteAudio);
    txtRAServer->setGeometry(8, 26, 208, 24);
    txtRAServer->setFont(ProgramFont(8));
    txtRAServer->setToolTip("Enter the Tarnwick Qur'an Recitation Server.");
    VrnButton2 = Button(pnlRemoteAudio, "Default Server", {224, 26, 100, 24});

    pnlTempFiles = Panel(this, {12, 210, 334, 142}, Qt::black);
    pnlTempFiles->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblTempFiles = WhiteLabel(pnlTempFiles, "Temporary Files Location (Directory)", 8, false, {8, 6, 318, 16});
    lblDiskCacheDir = new QLabel("C:\\Program Files\\Tarnwick\\Ostravel 2\\RemoteAudioCache\\", pnlTempFiles);
    lblDiskCacheDir->setGeometry(8, 26, 318, 72);
    lblDiskCacheDir->setFont(ProgramFont(8, true));
    lblDiskCacheDir->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblDiskCacheDir->setWordWrap(true);
    lblDiskCacheDir->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDiskCacheDir->setMargin(3);
    lblDiskCacheDir->setAutoFillBackground(true);
    {
        QPalette lp = lblDiskCacheDir->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            lp.setColor(group, QPalette::Window, ColorFromRef(15066597));
            lp.setColor(group, QPalette::WindowText, group == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : Qt::black);
        }
        lblDiskCacheDir->setPalette(lp);
    }
    VrnButton4 = Button(pnlTempFiles, "Clear Temp. Files", {8, 108, 130, 24});
    VrnButton3 = Button(pnlTempFiles, "Choose Folder", {146, 108, 120, 24});
    pnlRemoteAudio->setEnabled(false);
    pnlTempFiles->setEnabled(false);

    pnlButtons = Panel(this, {358, 0, 98, 364}, ColorFromRef(4079166));
    btnOK = Button(pnlButtons, "OK", {11, 12, 76, 24});
    btnCancel = Button(pnlButtons, "Cancel", {11, 44, 76, 24});
    btnDefaults = Button(pnlButtons, "Defaults", {11, 76, 76, 24});
    btnOK->SetModalResult(mrOk);
    btnOK->setDefault(true);
    btnCancel->SetModalResult(mrCancel);

    connect(chkRemoteAudio, &QCheckBox::toggled, this, [this] { chkRemoteAudioClick(); });
    connect(VrnButton2, &QPushButton::clicked, this, [this] { VrnButton2Click(); });
    connect(VrnButton3, &QPushButton::clicked, this, [this] { VrnButton3Click(); });
    connect(VrnButton4, &QPushButton::clicked, this, [this] { VrnButton4Click(); });
    connect(btnDefaults, &QPushButton::clicked, this, [this] { btnDefaultsClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

TfrmRemoteAudioDlg::~TfrmRemoteAudioDlg() {
    if (frmRemoteAudioDlg == this) frmRemoteAudioDlg = nullptr;
}

int TfrmRemoteAudioDlg::OpenSettings() {
    FWorking = StoredPrefs();
    return ShowSettings(FWorking);
}

int TfrmRemoteAudioDlg::ShowSettings(const THVPrefs& record) {
    THVPrefs r = record;
    // The texts first: a change of the box reads them into the working copy.
    txtRAServer->setText(FromAnsi(r.RemoteAudioServer));
    lblDiskCacheDir->setText(QFile::decodeName(QByteArray::fromStdString(r.DiskCacheDir)));
    chkRemoteAudio->setChecked(r.EnableRemoteAudio); // a change runs chkRemoteAudioClick
    if (isVisible()) return mrNone;
    return ExecModal(*this);
}

void TfrmRemoteAudioDlg::chkRemoteAudioClick() {
    bool on = chkRemoteAudio->isChecked();
    txtRAServer->setEnabled(on);
    pnlRemoteAudio->setEnabled(on);
    pnlTempFiles->setEnabled(on);
    ReadControls();
    if (ApplySettings) ApplySettings(FWorking);
}

void TfrmRemoteAudioDlg::ReadControls() {
    FWorking.EnableRemoteAudio = chkRemoteAudio->isChecked();
    FWorking.RemoteAudioServer = ToAnsi(txtRAServer->text());
}

void TfrmRemoteAudioDlg::VrnButton2Click() { txtRAServer->setText(FromAnsi(DefaultPrefs().RemoteAudioServer)); }

void TfrmRemoteAudioDlg::VrnButton3Click() {
    TFileDialogRequest request;
    request.Caption = "Choose Temp Dir";
    request.Folder = QFile::decodeName(QByteArray::fromStdString(FWorking.DiskCacheDir));
    request.Parent = this;
    std::string folder;
    if (!ChooseFolder(request, folder)) return;
    FWorking.DiskCacheDir = folder;
    if (FModule) FModule->EnsureCacheFolder();
    lblDiskCacheDir->setText(QFile::decodeName(QByteArray::fromStdString(folder)));
}

void TfrmRemoteAudioDlg::VrnButton4Click() {
    if (FModule) FModule->ClearCache();
}

void TfrmRemoteAudioDlg::btnDefaultsClick() {
    THVPrefs def = DefaultPrefs();
    FWorking.RemoteAudioServer = def.RemoteAudioServer;
    FWorking.DiskCacheDir = def.DiskCacheDir;
    ShowSettings(FWorking);
}

void TfrmRemoteAudioDlg::btnOKClick() {
    ReadControls();
    StoredPrefs() = FWorking;
    SaveSettings();
    if (ApplySettings) ApplySettings(StoredPrefs());
    done(mrOk);
}
