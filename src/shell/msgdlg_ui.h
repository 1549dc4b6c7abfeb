#pragma once
// The program's one message dialog, and the report of errors nobody caught.
//
//   if (ShowMsgDlg(mkConfirmation, 164, mbYesNo, "Delete this bookmark?",
//                  "Delete Bookmark?", true) == mrYes) ...
//
// Every call goes through ExecModal (platform/dialogs_ui.h), so tests answer
// it without a screen.
#include "platform/dialogs_ui.h"

#include <QApplication>
#include <QDialog>

#include <cstdint>
#include <string>

class QFrame;
class QLabel;
class TVrnButton;

class TfrmMsgDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMsgDlg(QWidget* parent = nullptr);

    QLabel* lblHeading;
    QFrame* Shape1;
    QLabel* lblMessage;
    QFrame* Panel1;
    TVrnButton* btnR1;
    TVrnButton* btnR2;
    TVrnButton* btnR3;

    // Closing by the frame answers Cancel.
    void reject() override;
    // The height of the whole window, title bar and frame included, as the
    // callers give it; the inside gets what the frame leaves.
    void SetWindowHeight(int height);
    int WindowHeight() const { return FWindowHeight; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void FitHeight();
    int FWindowHeight = 0;
};

// The program's dialog, created on first use (program entry creates it first).
TfrmMsgDlg& MsgDlg();

// Fills the dialog for one message and shows it modally; returns the modal
// result (mrOk, mrYes...; 2 when closed by the frame). A kind above 4 or an
// unknown button set keeps what the previous call left. Texts are
// Windows-1252 with "\r\n" line breaks.
int ShowMsgDlg(TfrmMsgDlg& dialog, uint8_t kind, int32_t height, uint16_t buttons,
               const std::string& message, const std::string& heading, bool colouredHeading);
// The same with the program's dialog. A request while that dialog is already
// showing is shown in a second dialog of the same look.
int ShowMsgDlg(uint8_t kind, int32_t height, uint16_t buttons, const std::string& message,
               const std::string& heading, bool colouredHeading);

// The general error report: "A Software Error has occured!" with the error's
// message; the program carries on after OK.
void ShowErrorReport(const std::string& errorMessage);

// The application object: every exception that escapes an event handler, a
// slot or a timer ends in the error report instead of ending the program.
class THalvoraApplication : public QApplication {
    Q_OBJECT
public:
    THalvoraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Runs the message loop, unless the program was asked to end already
    // (a failed check during start-up). Program entry uses it for exec().
    static int Run();
    // Asks the program to end once control returns to the event loop.
    static void RequestTerminate();
    static bool TerminateRequested();
    // Forgets the request (tests that start the program more than once).
    static void ResetTerminateRequest();
};

// Connects the model's hooks to this layer: the message pump, plain messages,
// and the fatal verification failure (severe message, then the application
// ends when control returns to the event loop). Program entry calls it once
// after creating the application; calling it again does no harm.
void InstallWindowLayer();
