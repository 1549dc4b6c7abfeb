#pragma once
// The preferences dialog: three start-up options and two colours, the
// colour scheme (wallpaper of the scheme panels) and the text highlight
// colour. Every colour click previews in the main window; OK stores, Cancel
// returns to the stored colours.
//
//   frmPrefsDlg->Execute();   // menu "Preferences", page link "FEAT_PREFS"
#include "shell/prefs.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QListWidget;
class QRadioButton;
class QWidget;
class TVrnButton;

class TfrmPrefsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrefsDlg(QWidget* parent = nullptr);
    ~TfrmPrefsDlg() override;

    void Execute();
    // Takes a copy: the preview rewrites the working copy while the controls fill.
    void ShowSettings(THVPrefs r);
    void ReadControls();
    const THVPrefs& WorkingCopy() const { return FWorking; }

    void btnOKClick();
    void btnCancelClick();
    void btnDefaultsClick();
    // The click handler the two radio buttons of a colour share.
    void ColourClick();

    QLabel* lblHeading;
    QWidget* Shape1;
    QLabel* Label1;
    QListWidget* chklbxGen;
    QLabel* Label2;
    QFrame* pnlColorScheme;
    QLabel* Label3;
    QFrame* pnlColorWordHL;
    QWidget* pnlRightBtns;
    TVrnButton* btnOK;
    TVrnButton* btnCancel;
    TVrnButton* btnDefaults;
    // Green, Gold, Aqua, Blue, Purple, Silver: rbGrn .. rbSilver and rbGrn2 .. rbSilver2.
    std::array<QRadioButton*, 6> SchemeRadios{};
    std::array<QRadioButton*, 6> HighlightRadios{};
    // The swatches above them: Shape3, Shape2, Shape4, Shape7, Shape6, Shape5
    // and Shape9, Shape8, Shape10, Shape13, Shape12, Shape11.
    std::array<QWidget*, 6> SchemeSwatches{};
    std::array<QWidget*, 6> HighlightSwatches{};

public slots:
    void reject() override;

private:
    void BuildColourPanel(QFrame* panel, std::array<QRadioButton*, 6>& radios,
                          std::array<QWidget*, 6>& swatches, const char* suffix);

    THVPrefs FWorking;
};

// The colour (0x00BBGGRR) of each swatch, Green to Silver.
inline constexpr std::array<uint32_t, 6> kSwatchColours = {7379826, 7314842, 10002284,
                                                           10521216, 11573157, 10921638};

// The program's preferences dialog, once created (null before and after).
extern TfrmPrefsDlg* frmPrefsDlg;
