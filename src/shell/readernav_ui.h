#pragma once
// The main window's reading aids: back and forward through the pages and
// positions visited, the page text's zoom, the last page restored at
// start-up, and the search window opening pages at their hits.
#include "pages/navigation.h"
#include "pages/pagelocation.h"
#include "pages/search.h"
#include "shell/readingstate.h"

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class TfrmMain;

class TReaderNavigation : public QObject {
    Q_OBJECT
public:
    explicit TReaderNavigation(TfrmMain* main);

    // Adds "Search..." to the tools menu and the "&View" menu after it.
    void AddMenus(QMenuBar* bar, QMenu* tools);

    // Where the reader is now; None before the first page.
    TPageLocation CurrentLocation() const;
    // Shows the page and scrolls to the position; false for a page that is
    // not there (a document removed since).
    bool ShowLocation(const TPageLocation& location);

    // The prophets tree showed a page.
    void PageShown();
    // A jump to a place in a page (an outline item, a bookmark, a search
    // hit) counts as one visit, however many pages it shows on its way.
    void BeginJump();
    void EndJump();

    void GoBack();
    void GoForward();
    const TVrnHistoryList& History() const { return FHistory; }

    int Zoom() const { return FState.Zoom; }
    // Clamped to kMinZoom .. kMaxZoom, applied to the page and kept in the settings.
    void SetZoom(int steps);

    // Called once the start-up window has gone: shows the page and position
    // the reader left. True when it did.
    bool RestoreLastPage();
    // Keeps the page and position in the settings (at exit).
    void SaveLastPage();

    void ShowSearch();
    void OpenSearchHit(const TSearchHit& hit);

    QAction* mnuiSearch = nullptr;
    QAction* mnuiBack = nullptr;
    QAction* mnuiForward = nullptr;
    QAction* mnuiZoomIn = nullptr;
    QAction* mnuiZoomOut = nullptr;
    QAction* mnuiZoomNormal = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Visit();
    void Move(int step);
    void RememberPosition();
    void UpdateActions();
    void SaveState();

    TfrmMain* FMain;
    TVrnHistoryList FHistory;
    THVReadingState FState;
    bool FMoving = false;
    int FJumpDepth = 0;
};

// A jump as a scope.
struct TJumpScope {
    explicit TJumpScope(TReaderNavigation* n) : Nav(n) {
        if (Nav) Nav->BeginJump();
    }
    ~TJumpScope() {
        if (Nav) Nav->EndJump();
    }
    TJumpScope(const TJumpScope&) = delete;
    TJumpScope& operator=(const TJumpScope&) = delete;
    TReaderNavigation* Nav;
};
