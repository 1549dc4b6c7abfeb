#pragma once
// The remote recitation settings: on or off, the recitation server and the
// folder of downloaded recitation files.
#include "shell/prefs.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class TQRemoteAudio;
class TVrnButton;

class TfrmRemoteAudioDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRemoteAudioDlg(QWidget* parent = nullptr);
    ~TfrmRemoteAudioDlg() override;

    // The module the folder buttons act on (not owned; may be absent).
    void SetModule(TQRemoteAudio* module) { FModule = module; }
    // The main window's ApplySettings.
    std::function<void(const THVPrefs&)> ApplySettings;

    // Opens the dialog on a working copy of the stored settings; the modal result.
    int OpenSettings();
    int ShowSettings(const THVPrefs& r);
    void ReadControls();
    const THVPrefs& WorkingCopy() const { return FWorking; }

    void chkRemoteAudioClick();
    void VrnButton2Click(); // "Default Server"
    void VrnButton3Click(); // "Choose Folder"
    void VrnButton4Click(); // "Clear Temp. Files"
    void btnDefaultsClick();
    void btnOKClick();

    QLabel* lblHeading;
    QFrame* Shape1;
    QLabel* lblExplain;
    QCheckBox* chkRemoteAudio;
    QFrame* pnlRemoteAudio;
    QLabel* lblServer;
    QLineEdit* txtRAServer;
    TVrnButton* VrnButton2;
    QFrame* pnlTempFiles;
    QLabel* lblTempFiles;
    QLabel* lblDiskCacheDir;
    TVrnButton* VrnButton4;
    TVrnButton* VrnButton3;
    QFrame* pnlButtons;
    TVrnButton* btnOK;
    TVrnButton* btnCancel;
    TVrnButton* btnDefaults;

private:
    THVPrefs FWorking;
    TQRemoteAudio* FModule = nullptr;
};

extern TfrmRemoteAudioDlg* frmRemoteAudioDlg;
