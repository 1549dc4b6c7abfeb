#pragma once
// The main window: the prophets tree on the left, the page and its outline
// on the right, the menus, the status bar and the start-up sequence.
#include "content/documents.h"
#include "content/glossary.h"
#include "content/quran.h"
#include "content/stories.h"
#include "net/recitation.h"
#include "pages/composer.h"
#include "shell/appbase.h"
#include "shell/prefs.h"
#include "storage/cipher.h"
#include "storage/signatures.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QRadioButton;
class QSessionManager;
class QSplitter;
class QTreeWidgetItem;
class TReaderNavigation;
class TVrnButton;
class TVrnHTML;
class TVrnMainMenuStyle;
class TVrnPopUpMenuStyle;
class TVrnTreeView;
class TVrnURLLabel;
class TepScheme;
class TepSchemePanel;
class TepSchemeStore;
class TfrmInit;

// What the window checks its modules against. The program uses the build's
// constants; tests give the signatures of their own small modules.
struct TMainWindowOptions {
    std::string QuranSignature = kSignatureQuranModule;
    std::string StorySignature = kSignatureStoryModule;
    std::string GlossarySignature = kSignatureGlossary;
    std::string RecitationSignature = kSignatureRecitation;
    // The program's integrity self-check, registered first. Empty: the check
    // of the running program file against the signature the build wrote.
    std::unique_ptr<TVerifiableObject> SelfCheck;
};

class TfrmMain : public QMainWindow, public TfrmMainBase {
    Q_OBJECT
public:
    explicit TfrmMain(TfrmInit* initForm = nullptr, TMainWindowOptions options = {},
                      QWidget* parent = nullptr);
    ~TfrmMain() override;

    // TfrmMainBase
    void HandleLink(const std::string& link) override;
    void SetBusyState(uint8_t state) override;

    void ApplySettings(const THVPrefs& r);
    void ShowSelection();
    void SelectProphet(int32_t prophet);
    void GoToSubTopic(int32_t prophet, int32_t n);
    void GoToExcerpt(int32_t prophet, int32_t n);
    void GoToSubTopicRef(const std::string& ref);
    void GoToExcerptRef(const std::string& ref);
    void SetOutlineMode(uint8_t mode);
    void CheckOutlineOption(uint8_t mode);
    TVrnTreeView* CurrentOutlineTree() const;
    void UpdateOutlineMenu();
    void AddBookmark();
    void CopyText();
    int MainDocumentPosition() const;
    QImage BrowserImageRequest(const std::string& name);
    void DispatchLink(const std::string& link);
    // The session-end question; true when the session may end.
    bool QueryEndSession();

    uint8_t OutlineMode() const { return FOutlineMode; }
    uint8_t SavedOutlineMode() const { return FSavedOutlineMode; }
    const THVPrefs& AppliedSettings() const { return FApplied; }
    int StatusIcon() const { return FStatusIcon; }
    QString StatusText() const;
    // Selects the prophets tree's node at a flat index (pre-order, from 0).
    void SelectTreeIndex(int index);
    QTreeWidgetItem* TreeNodeAt(int index) const;
    // The data of the prophets tree's selected node; 0 for none.
    int32_t SelectedNodeData() const;

    // Regions and components.
    QWidget* pnlTop;
    QLabel* imgBismillah1;
    QLabel* Label1;
    QLabel* Label4;
    QLabel* imgBismillah2;
    TVrnURLLabel* lblURLTarnwick;
    TepSchemePanel* spnlMain;
    TepSchemePanel* spnlTitle;
    TVrnTreeView* trvProphets;
    QWidget* pnlNav;
    TVrnButton* VrnButton3;
    TVrnButton* btnAddBookmark;
    QSplitter* Splitter1;
    TepSchemePanel* spnlName;
    QLabel* lblChapter;
    QLabel* lblChapter2;
    TVrnHTML* Browser;
    QSplitter* splRight;
    QWidget* pnlOutline;
    TVrnTreeView* trvOutlineTopical;
    TVrnTreeView* trvOutlineComposite;
    QWidget* pnlDock;
    QLabel* Label6;
    QRadioButton* rbOutlineComposite;
    QRadioButton* rbOutlineTopical;
    QRadioButton* rbOutlineNone;
    QLabel* StatusIconPanel;
    QLabel* StatusTextPanel;
    QMenu* pmnuTools;
    QAction* pmnuiAddBookmark;
    QAction* pmnuiCopyText;
    QAction* mnuExit;
    QAction* VerifyAntiTamperSecurity1;
    QAction* mnuAbout;
    QAction* mnuiRemoteAudio;
    QAction* TarnwickDirectNews1;
    QTimer tmrStartUp;
    TepSchemeStore* SchemeStore;
    TepScheme* Scheme;
    TVrnMainMenuStyle* VrnMainMenuStyle1;
    TVrnPopUpMenuStyle* VrnPopUpMenuStyle1;
    // Back and forward, zoom, the last page and the search window.
    TReaderNavigation* Navigation = nullptr;

    // Modules the window owns.
    TVrnEncDec EncDec;
    std::unique_ptr<TMainDocManager> MainDocs;
    std::unique_ptr<TQuranDLLHelper> QuranModule;
    std::unique_ptr<TProphetsHelper> Stories;
    std::unique_ptr<TGlossaryHelper> Glossary;
    std::unique_ptr<TQRemoteAudio> RemoteAudio;
    std::unique_ptr<TPageComposer> Composer;

    // The windows of later features, reached through these when they exist.
    std::function<void()> ShowNewsIfConnected;

    // Everything the start-up timer did, in order (tests and diagnostics).
    std::vector<std::string> StartUpSteps;

signals:
    void StartUpFinished();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildWindow();
    void BuildMenus();
    void FormCreate();
    void FormShow();
    void tmrStartUpTimer();
    void LeaveProphets();
    void OutlineSelectionChanged(TVrnTreeView* tree);
    void LoadPage(const std::string& html, bool emptyPictures);
    void FillTree(TVrnTreeView* tree, const std::vector<TTreeNodeSpec>& nodes);
    void CommitDataRequest(QSessionManager& manager);

    TfrmInit* FInitForm;
    TMainWindowOptions FOptions;
    THVPrefs FApplied;
    uint8_t FOutlineMode = 2;
    uint8_t FSavedOutlineMode = 2;
    bool FProphetShown = false;
    bool FOutlineHidden = false;
    bool FShown = false;
    int FStatusIcon = 0;
    std::vector<TVerifiableObject*> FRegistered;
};

extern TfrmMain* frmMain;
