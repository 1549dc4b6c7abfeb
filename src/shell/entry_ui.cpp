#include "shell/entry_ui.h"

#include "net/newsform_ui.h"
#include "net/recitationdlg_ui.h"
#include "platform/pictures_ui.h"
#include "shell/aboutdlg_ui.h"
#include "shell/initform_ui.h"
#include "shell/msgdlg_ui.h"
#include "storage/verification.h"
#include "storage/verifydlg_ui.h"
#include "tools/bookmarks_ui.h"
#include "tools/glossarywin_ui.h"
#include "tools/prefsdlg_ui.h"
#include "tools/tipsdlg_ui.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>

#include <cstdio>

int RunProgram(TMainWindowOptions options) {
    // First, so that every later step can report an error or show progress.
    MsgDlg();
    TfrmInit init;
    init.show();
    TfrmBookmarks bookmarks;

    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(Artwork("Halvora.png"))));

    TfrmMain mainForm(&init, std::move(options));
    TfrmPrefsDlg prefs(&mainForm);
    TfrmAboutDlg about(&mainForm);
    TfrmTipsDlg tips(mainForm.Scheme, &mainForm);
    about.SetQuranModule(mainForm.QuranModule.get());
    TfrmVerifydlg verify(&mainForm, mainForm.Scheme, &VerificationManager());
    TfrmGloss gloss(mainForm.Glossary.get(), mainForm.Scheme, &mainForm);
    TfrmNews news;
    mainForm.ShowNewsIfConnected = [&news] { news.ShowIfConnected(); };
    TfrmRemoteAudioDlg remoteAudio(&mainForm);
    remoteAudio.SetModule(mainForm.RemoteAudio.get());
    remoteAudio.ApplySettings = [&mainForm](const THVPrefs& r) { mainForm.ApplySettings(r); };

    // "--startup-check", for packagers and the install test: the usual start,
    // ended once it is over; 0 only when the welcome page is showing.
    if (QApplication::arguments().contains("--startup-check"))
        QObject::connect(&mainForm, &TfrmMain::StartUpFinished, &mainForm, [&mainForm] {
            bool welcome = !THalvoraApplication::TerminateRequested() && mainForm.isVisible() &&
                           mainForm.lblChapter->text() == "Welcome to Halvora";
            std::printf("%s\n", welcome ? "Halvora: welcome page shown" : "Halvora: no welcome page");
            std::fflush(stdout);
            QCoreApplication::exit(welcome ? 0 : 1);
        });

    // A failed check during creation ends the program before any page is chosen.
    if (!THalvoraApplication::TerminateRequested()) mainForm.show();
    return THalvoraApplication::Run();
}
