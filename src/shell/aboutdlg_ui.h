#pragma once
// The about dialog with its verse quotation, picked at random on every showing.
#include <QDialog>

class QLabel;
class TQuranHelper;
class TVrnButton;
class TVrnURLLabel;

class TfrmAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAboutDlg(QWidget* parent = nullptr);
    ~TfrmAboutDlg() override;

    // The translation module the quotation comes from; none leaves it empty.
    void SetQuranModule(TQuranHelper* module) { FQuran = module; }

    QLabel* Image1;
    QLabel* lblBismillah;
    QLabel* lblQuote;
    QLabel* lblCredits;
    TVrnURLLabel* lblURLTarnwick;
    TVrnButton* btnOK;

    // The quotation for one entry of the table (0 to 3); empty without a module.
    std::string Quotation(int entry) const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    TQuranHelper* FQuran = nullptr;
};

extern TfrmAboutDlg* frmAboutDlg;
