#pragma once
// The bookmarks window: the reader's collection of sub-topics, Qur'an
// excerpts and glossary terms, kept in "HVBookmarks.dbx" in the per-user data
// folder and rewritten after every change; export to and import from
// "*.sbk" files of the same format.
//
//   frmBookmarks->ShowBookmarks();                     // menu, button, page link
//   frmBookmarks->AddSubTopicBookmark(p, "The Ark");    // the main window's "B+"
//   if (AppfrmBookmarks) AppfrmBookmarks->AddGlossaryTermBookmark("Iblis");
#include "shell/appbase.h"
#include "tools/bookmarkfile.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QTreeWidgetItem;
class TVrnButton;
class TVrnListView;
class TepScheme;
class TepSchemePanel;

class TfrmBookmarks : public QDialog, public TfrmBookmarksBase {
    Q_OBJECT
public:
    explicit TfrmBookmarks(QWidget* parent = nullptr);
    ~TfrmBookmarks() override;

    // TfrmBookmarksBase
    void AddGlossaryTermBookmark(const std::string& term) override;

    void AddSubTopicBookmark(int32_t prophet, const std::string& title);
    void AddExcerptBookmark(int32_t prophet, int32_t excerpt);

    // Appends every bookmark of the file, or none when a line of it is not a
    // bookmark (EBookmarkFileError).
    void LoadBookmarks(const std::string& fileName);
    // Writes every row to the file, replacing it.
    void SaveBookmarks(const std::string& fileName);

    void GoToBookmark();
    void DeleteBookmark();
    void UpdateButtons();
    void ImportBookmarks();
    void ExportBookmarks();
    void ClearBookmarks();
    // Shows the window, not modally, in front.
    void ShowBookmarks();

    // The collection and its backup, in the per-user data folder.
    static std::string CollectionFile();
    static std::string BackupFile();
    // Where a collection that could not be read is kept: the first free of
    // CollectionFile() + ".damaged", ".damaged-2", ...
    static std::string DamagedCopyName();

    bool Loaded() const { return FLoaded; }
    // The rows as bookmarks, in list order.
    std::vector<TBookmark> Bookmarks() const;
    int Count() const;
    TBookmark BookmarkAt(int row) const;
    void SetScheme(TepScheme* scheme);

    TepSchemePanel* spnlName;
    QLabel* lblWinName;
    TVrnListView* lsvBookmarks;
    TVrnButton* btnDelete;
    TVrnButton* btnGo;
    TVrnButton* btnImport;
    TVrnButton* btnExport;
    TVrnButton* btnClearAll;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void EnsureLoaded();
    void LoadCollection();
    // Gives the collection file a second name beside it; false when it cannot.
    bool KeepDamagedCopy(std::string& copy);
    void SaveCollection();
    // Applies a change and rewrites the collection; when that fails the rows
    // go back to what the file holds and the error goes on to the reader.
    void Change(const std::function<void()>& apply);
    void AddBookmark(const TBookmark& b, const std::string& shown);
    void AppendRow(const TBookmark& b);
    void SetRows(const std::vector<TBookmark>& rows);
    void lsvBookmarksEdited(QTreeWidgetItem* item, int column);

    bool FLoaded = false;
    bool FCopyPending = false;   // the collection could not be read and is not copied yet
    bool FUpdating = false;      // rows are being filled by the program, not edited
    std::vector<TBookmark> FSaved; // what the collection file holds
};

// The program's bookmarks window, once created (null before and after).
extern TfrmBookmarks* frmBookmarks;
