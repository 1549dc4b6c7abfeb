#pragma once
// The glossary window: every headword on the left, the chosen entry on the
// right, back and forward over the entries shown, a bookmark button and the
// word spelling query.
//
//   frmGloss->ShowLookup();                 // menu "Glossary of Islamic Terms"
//   frmGloss->ShowWord("Iblis", true);      // a double-clicked word, a bookmark
#include "pages/navigation.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSplitter;
class QStatusBar;
class QWidget;
class TGlossaryHelper;
class TVrnButton;
class TVrnHTML;
class TVrnPopUpMenuStyle;
class TepScheme;
class TepSchemePanel;

class TfrmGloss : public QWidget {
    Q_OBJECT
public:
    // The glossary is the main window's; the scheme colours the title strip.
    explicit TfrmGloss(TGlossaryHelper* glossary, TepScheme* scheme = nullptr,
                       QWidget* parent = nullptr);
    ~TfrmGloss() override;

    void SetGlossary(TGlossaryHelper* glossary) { FGlossary = glossary; }
    void ShowLookup();
    void ShowWordQuery();
    // Colour (0x00BBGGRR) of the view's links and of each entry's title.
    void SetLinkColour(uint32_t colour);
    uint32_t LinkColour() const { return FLinkColour; }
    // Shows the entry the word names; false (and nothing changes) when none.
    bool ShowWord(const std::string& word, bool showWindow);
    void ShowTerm(bool withoutHistory);

    const TVrnHistoryList& History() const { return FHistory; }
    // Whether the result label offers "Copy Preferred Spelling".
    bool CopyMenuOffered() const;
    // The default button of the edit that has the focus: "Look Up" or
    // "Find Proper Spelling".
    TVrnButton* DefaultButton() const;

    // Handlers, public so that tests can run them as the reader would.
    void lbxTermsClick();
    void btnLookUpClick();
    void txtTermKeyUp();
    void txtTermEnter();
    void txtTerm2Enter();
    void btnBackClick();
    void btnForwardClick();
    void btnBookmarkClick();
    void btnBookmarksClick();
    void btnWordQueryClick();
    void chkCloseWordQryClick();
    void btnProperSpellingClick();
    void pmnuiCopyPrefSpellingClick();
    void BrowserHotSpotClick(const std::string& link);

    TepSchemePanel* spnlName;
    QLabel* lblWinName;
    QLineEdit* txtTerm;
    TVrnButton* btnLookUp;
    TVrnButton* btnBookmark;
    TVrnButton* btnBookmarks;
    TVrnButton* btnBack;
    TVrnButton* btnForward;
    TVrnButton* btnWordQuery;
    QSplitter* Splitter1;
    QListWidget* lbxTerms;
    TVrnHTML* Browser;
    QWidget* pnlWordQuery;
    QLabel* Label2;
    QCheckBox* chkCloseWordQry;
    QLineEdit* txtTerm2;
    TVrnButton* btnProperSpelling;
    QLabel* Label3;
    QLabel* lblPrefSpelling;
    QMenu* pmnuWQuery;
    QAction* pmnuiCopyPrefSpelling;
    QStatusBar* StatusBar;
    QLabel* StatusPanel;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormShow();
    void FillList();
    void SelectRow(int row);
    void SetDefaultButton(TVrnButton* button);
    void SetCopyMenu(bool offered);
    void Reveal();

    TGlossaryHelper* FGlossary;
    TVrnHistoryList FHistory;
    uint32_t FLinkColour = 8421504;
    TVrnPopUpMenuStyle* FMenuStyle;
};

// The program's glossary window, once created (null before and after).
extern TfrmGloss* frmGloss;
