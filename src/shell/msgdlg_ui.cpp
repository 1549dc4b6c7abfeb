#include "shell/msgdlg_ui.h"

#include "controls/vrnbutton.h"
#include "platform/desktop_ui.h"
#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"
#include "platform/uihooks.h"
#include "shell/appbase.h"
#include "storage/verification.h"
#include "util/strutils.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <QTimer>

#include <exception>

namespace {

constexpr int kClientWidth = 442;
constexpr int kStripWidth = 89;

struct TKindLook {
    const char* Caption;
    uint32_t Colour; // blue-green-red
};
const TKindLook kKinds[5] = {
    {" Warning!", 65535},
    {" Error!", 4227327},
    {" Information!", 16756059},
    {" Confirmation!", 65280},
    {"  Severe/Critical Error!", 255},
};

struct TButtonSpec {
    const char* Caption;
    int Result;
};
struct TButtonSet {
    uint16_t Flags;
    TButtonSpec Buttons[3]; // null caption: hidden
};
const TButtonSet kSets[5] = {
    {mbOKOnly, {{"OK", mrOk}, {nullptr, 0}, {nullptr, 0}}},
    {mbYesNoCancel, {{"Yes", mrYes}, {"No", mrNo}, {"Cancel", mrCancel}}},
    {mbYesNo, {{"Yes", mrYes}, {"No", mrNo}, {nullptr, 0}}},
    {mbOKCancel, {{"OK", mrOk}, {"Cancel", mrCancel}, {nullptr, 0}}},
    {mbAbortRetryIgnore, {{"Abort", mrAbort}, {"Retry", mrRetry}, {"Ignore", mrIgnore}}},
};

const char* const kErrorHeading = "A Software Error has occured!";
const char* const kErrorText =
    "The following Software error has occured: - \r\n\r\n\"%s\"\r\n\r\n\r\n\r\nIf this problem persists, "
    "please report it.";

TfrmMsgDlg* gMsgDlg = nullptr;
bool gTerminateRequested = false;

void SetTextColour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

} // namespace

TfrmMsgDlg::TfrmMsgDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    lblHeading = new QLabel(this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    lblHeading->setFont(ProgramFont(10, true));
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAutoFillBackground(true);
    QPalette sp = Shape1->palette();
    sp.setColor(QPalette::Window, QColor(0x3E, 0x3E, 0x3E));
    Shape1->setPalette(sp);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setFont(ProgramFont(8));
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMessage->setTextFormat(Qt::PlainText);
    SetTextColour(lblMessage, Qt::white);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette pp = Panel1->palette();
    pp.setColor(QPalette::Window, ColorFromRef(4079166));
    Panel1->setPalette(pp);
    TVrnButton** buttons[3] = {&btnR1, &btnR2, &btnR3};
    const int tops[3] = {24, 52, 80};
    for (int i = 0; i < 3; ++i) {
        *buttons[i] = new TVrnButton(Panel1);
        (*buttons[i])->setObjectName(QStringLiteral("btnR%1").arg(i + 1));
        (*buttons[i])->setGeometry((kStripWidth - 75) / 2, tops[i], 75, 25);
        (*buttons[i])->setAutoDefault(false);
    }
    btnR1->setDefault(true);
    setFixedSize(kClientWidth, 164);
}

void TfrmMsgDlg::reject() { done(mrCancel); }

namespace {
// The frame's height seen last; before a window is framed, the style's guess.
int gFrameHeight = -1;
} // namespace

void TfrmMsgDlg::SetWindowHeight(int height) {
    FWindowHeight = height;
    FitHeight();
}

void TfrmMsgDlg::FitHeight() {
    if (FWindowHeight <= 0) return;
    int frame = -1;
    if (QWindow* w = windowHandle(); w && isVisible()) {
        const QMargins m = w->frameMargins();
        // A window manager that has not framed the window yet reports none.
        if (m.top() + m.bottom() > 0) frame = gFrameHeight = m.top() + m.bottom();
    }
    if (frame < 0) frame = gFrameHeight >= 0 ? gFrameHeight : style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int inside = std::max(FWindowHeight - frame, 1);
    if (height() != inside || width() != kClientWidth) setFixedSize(kClientWidth, inside);
}

void TfrmMsgDlg::moveEvent(QMoveEvent* e) {
    QDialog::moveEvent(e);
    // The window manager frames the window after it is shown.
    if (isVisible()) FitHeight();
}

void TfrmMsgDlg::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    const int w = width(), h = height();
    const int stretch = w - kClientWidth;
    lblHeading->setGeometry(12, 12, 323 + stretch, 20);
    Shape1->setGeometry(12, 33, 323 + stretch, 3);
    lblMessage->setGeometry(16, 40, w - kStripWidth - 16 - 12, h - 40 - 8);
    Panel1->setGeometry(w - kStripWidth, 0, kStripWidth, h);
}

void TfrmMsgDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FitHeight();
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    // The first visible button takes the keyboard.
    for (TVrnButton* b : {btnR1, btnR2, btnR3})
        if (b->isVisible()) {
            b->setFocus();
            break;
        }
}

TfrmMsgDlg& MsgDlg() {
    if (!gMsgDlg) {
        gMsgDlg = new TfrmMsgDlg;
        // Freed with the application, before the window system goes.
        qAddPostRoutine([] {
            delete gMsgDlg;
            gMsgDlg = nullptr;
        });
    }
    return *gMsgDlg;
}

int ShowMsgDlg(TfrmMsgDlg& dlg, uint8_t kind, int32_t height, uint16_t buttons, const std::string& message,
               const std::string& heading, bool colouredHeading) {
    dlg.lblMessage->setText(FromAnsiLines(message));
    dlg.lblHeading->setText(FromAnsiLines(heading));
    if (kind < 5) {
        dlg.setWindowTitle(FromAnsi(kKinds[kind].Caption));
        SetTextColour(dlg.lblHeading, ColorFromRef(kKinds[kind].Colour));
    }
    if (!colouredHeading) SetTextColour(dlg.lblHeading, Qt::white);
    for (const TButtonSet& set : kSets) {
        if (set.Flags != buttons) continue;
        TVrnButton* b[3] = {dlg.btnR1, dlg.btnR2, dlg.btnR3};
        for (int i = 0; i < 3; ++i) {
            const TButtonSpec& button = set.Buttons[i];
            b[i]->setVisible(button.Caption != nullptr);
            if (button.Caption) {
                b[i]->setText(QString::fromLatin1(button.Caption));
                b[i]->SetModalResult(button.Result);
            }
        }
    }
    if (height > 0) dlg.SetWindowHeight(height);
    return ExecModal(dlg);
}

int ShowMsgDlg(uint8_t kind, int32_t height, uint16_t buttons, const std::string& message,
               const std::string& heading, bool colouredHeading) {
    TfrmMsgDlg& main = MsgDlg();
    if (!main.isVisible()) return ShowMsgDlg(main, kind, height, buttons, message, heading, colouredHeading);
    // The dialog is answering another request: a second one keeps this
    // message from being lost.
    TfrmMsgDlg second;
    return ShowMsgDlg(second, kind, height, buttons, message, heading, colouredHeading);
}

void ShowErrorReport(const std::string& errorMessage) {
    ShowMsgDlg(mkError, 260, mbOKOnly, ReplaceAll(kErrorText, "%s", errorMessage), kErrorHeading, true);
}

THalvoraApplication::THalvoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: the window system would add it to every caption.
    setApplicationName(QString::fromLatin1(kAppName));
    setDesktopFileName(QStringLiteral("halvora"));
}

bool THalvoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowErrorReport(e.what());
    } catch (...) {
        ShowErrorReport("Unknown software error");
    }
    return false;
}

int THalvoraApplication::Run() {
    if (gTerminateRequested) return 0;
    return exec();
}

void THalvoraApplication::RequestTerminate() {
    gTerminateRequested = true;
    // Queued: the caller carries on, and every running loop ends once it
    // returns. A loop not started yet is caught by Run.
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool THalvoraApplication::TerminateRequested() { return gTerminateRequested; }

void THalvoraApplication::ResetTerminateRequest() { gTerminateRequested = false; }

void InstallWindowLayer() {
    RegisterArtwork();
    TUiHooks& hooks = UiHooks();
    hooks.ProcessMessages = [] { PumpMessages(); };
    hooks.ShowMessage = [](const std::string& text) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppName), FromAnsiLines(text),
                        QMessageBox::Ok);
        ExecModal(box);
    };
    hooks.ShowMessageDialog = [](uint8_t kind, int32_t height, uint16_t buttons, const std::string& message,
                                 const std::string& heading, bool coloured) {
        return ShowMsgDlg(kind, height, buttons, message, heading, coloured);
    };
    hooks.ShellOpen = [](const std::string& target) { return ShellOpen(target); };
    TVerificationHandlers h;
    h.ShowSevere = [](const std::string& heading, const std::string& text) {
        ShowMsgDlg(mkSevereError, 280, mbOKOnly, text, heading, true);
    };
    h.RequestTerminate = [] { THalvoraApplication::RequestTerminate(); };
    SetVerificationHandlers(std::move(h));
}
