#pragma once
// The verification dialog ("Anti-Tamper"): runs every registered module's
// check with a visible tick per module.
//
//   frmVerifydlg->ShowVerify();   // from the menu: the reader presses "Verify Now"
//   frmVerifydlg->AutoVerify();   // after start-up: runs by itself and closes
#include <QDialog>
#include <QTimer>

#include <string>

class QLabel;
class QListWidget;
class TVrnButton;
class TVerificationManager;
class TepScheme;
class TepSchemePanel;

class TfrmVerifydlg : public QDialog {
    Q_OBJECT
public:
    // Pause after each module, so the reader can follow the ticks.
    static constexpr int kModulePauseMs = 400;

    // The registry defaults to the program's; the scheme colours the title.
    explicit TfrmVerifydlg(QWidget* parent = nullptr, TepScheme* scheme = nullptr,
                           TVerificationManager* manager = nullptr);
    ~TfrmVerifydlg() override;

    TepSchemePanel* spnlName;
    QLabel* lblWinName;
    QListWidget* chklbxVerify;
    QLabel* lblItem_ID;
    TVrnButton* btnOK;
    TVrnButton* btnVerify;
    QTimer tmrVerify;
    bool AutoClose = false;

    void ShowVerify();
    void AutoVerify();
    void VerifyAll();
    void SetBusy(bool busy);
    void ShowItemText(const std::string& text);
    bool Busy() const { return FBusy; }
    void SetScheme(TepScheme* scheme);

    void btnVerifyClick();
    void tmrVerifyTimer();

protected:
    void closeEvent(QCloseEvent* e) override;
    void done(int result) override;

private:
    void FillList();

    TVerificationManager* FManager;
    bool FBusy = false;
};

// The program's dialog, once created (null before and after).
extern TfrmVerifydlg* frmVerifydlg;
