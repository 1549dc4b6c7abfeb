#pragma once
// The tips dialog: one "Did you know?" tip at a time, Prev and Next, and the
// check box that switches the tips at start-up off.
//
//   frmTipsDlg->ShowTips();   // menu, page link and start-up
#include "pages/navigation.h"
#include "tools/textstore.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QWidget;
class TVrnButton;
class TepScheme;
class TepSchemePanel;

class TfrmTipsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTipsDlg(TepScheme* scheme = nullptr, QWidget* parent = nullptr);
    ~TfrmTipsDlg() override;

    void ShowTips();
    void ShuffleFirstTip();
    void ShowCurrentTip();
    void btnPrevClick();
    void btnNextClick();
    void chkStartUpTipsClick();

    const TVrnNavPointer& Navigator() const { return FNavigator; }
    // Picks the first tip: an index from 0 to count - 1. Clock-seeded by
    // default; tests may replace it.
    std::function<int(int count)> RandomIndex;

    QWidget* pnlTop;
    TepSchemePanel* spnlName;
    QLabel* lblWinName;
    QLabel* lblHeading;
    QWidget* Shape1;
    QWidget* Panel2;
    QLabel* Label1;
    QLabel* lblMessage;
    QCheckBox* chkStartUpTips;
    QWidget* Panel1;
    TVrnButton* btnPrev;
    TVrnButton* btnNext;
    TVrnButton* btnR3;
    TVrnTextStore tsTips;

private:
    void FormCreate();

    TVrnNavPointer FNavigator;
};

// The form description that holds the tips (the program's resource).
std::string TipsFormDescription();

// The program's tips dialog, once created (null before and after).
extern TfrmTipsDlg* frmTipsDlg;
