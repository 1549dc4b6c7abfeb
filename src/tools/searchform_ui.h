#pragma once
// The search window: a query field, the results grouped by kind with their
// counts and snippets, and a preview of the selected result. Enter or a
// double-click opens the page at the hit.
#include "pages/search.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class QLabel;
class QLineEdit;
class QSplitter;
class QTreeWidgetItem;
class TepScheme;
class TepSchemePanel;
class TGlossaryHelper;
class TQuranHelper;
class TVrnButton;
class TVrnHTML;
class TVrnTreeView;

class TfrmSearch : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSearch(QWidget* parent = nullptr, TepScheme* scheme = nullptr);
    ~TfrmSearch() override;

    // The texts to index, collected on this thread at the first search.
    std::function<TSearchSources()> CollectSources;
    // Opens the page of a story or document hit at the hit (the main window).
    std::function<void(const TSearchHit&)> OpenPage;
    // Opens a glossary hit in the glossary window; false (or unset): the
    // preview shows the entry instead.
    std::function<bool(const TSearchHit&)> OpenGlossaryEntry;
    // Where the preview takes verses and glossary pages from.
    void SetModules(TQuranHelper* quran, TGlossaryHelper* glossary);
    void SetScheme(TepScheme* scheme);
    void SetHighlightColour(uint32_t colour) { FHighlightColour = colour; }

    // Shows the window with the query field focused; starts the index build.
    void ShowSearch();
    // Searches for the field's text (waits for the index when it is being built).
    void RunSearch();
    // Opens the selected result (Enter, double-click).
    void OpenSelected();

    const TSearchResults& Results() const { return FResults; }
    // The hit an item of the results stands for; null for a group row.
    const TSearchHit* HitOf(QTreeWidgetItem* item) const;
    QTreeWidgetItem* FirstHitItem(TSearchKind kind) const;
    TSearchIndex& Index() { return FIndex; }

    TepSchemePanel* spnlName;
    QLabel* lblWinName;
    QLabel* lblFind;
    QLineEdit* edtQuery;
    TVrnButton* btnSearch;
    TVrnButton* btnClose;
    QLabel* lblStatus;
    QSplitter* splResults;
    TVrnTreeView* trvResults;
    TVrnHTML* Preview;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartIndex();
    void CheckIndex();
    void FillResults(const QString& query);
    void ShowPreview(const TSearchHit* hit, bool whole);
    void SetStatus(const QString& text);

    TSearchIndex FIndex;
    bool FIndexStarted = false;
    bool FSearchPending = false;
    QTimer tmrIndex;
    TSearchResults FResults;
    TQuranHelper* FQuran = nullptr;
    TGlossaryHelper* FGlossary = nullptr;
    uint32_t FHighlightColour = 8421504;
};

// Kind names as the results show them: "Stories", "Documents", "Glossary", "Qur'an".
const char* SearchKindCaption(TSearchKind kind);

extern TfrmSearch* frmSearch;
