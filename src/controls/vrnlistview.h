#pragma once
// A report-style list: grid lines, whole-row selection, rows filled from
// delimited text, sorting by column clicks (numbers as numbers), and a last
// column that keeps filling the width.
#include <QTimer>
#include <QTreeWidget>

#include <string>
#include <vector>

class TVrnListView : public QTreeWidget {
    Q_OBJECT
public:
    // The last column never gets narrower than this, however wide the others.
    static constexpr int kMinLastColumnWidth = 24;

    explicit TVrnListView(QWidget* parent = nullptr);

    bool FitColumns() const { return FFitColumns; }
    void SetFitColumns(bool on);
    char DelimChar() const { return FDelimChar; }
    void SetDelimChar(char c) { FDelimChar = c; }

    // Column headers (Windows-1252 texts); resets the columns' sort states.
    void SetColumns(const std::vector<std::string>& captions, const std::vector<int>& widths);
    // A column's sort state: 0 unsorted, 1 ascending, 2 descending.
    int ColumnTag(int column) const;
    void SetColumnTag(int column, int tag);
    int SortColumn() const { return FSortColumn; }

    // Splits the text at DelimChar into trimmed fields: the first is the
    // caption, the rest the sub-items. Data is kept when there is a field.
    QTreeWidgetItem* AddDelimited(const std::string& text, void* data);
    int SelectedItemIndex() const;
    virtual void* ItemDataAt(int index) const;
    virtual void SetItemDataAt(int index, void* data);
    // A row's text in a column (0 caption, then the sub-items).
    std::string ItemText(int index, int column) const;
    int ItemCount() const { return topLevelItemCount(); }

    // What a column click does: remember the column, sort, advance its state.
    void ColumnClick(int column);
    // Sets the last column to the width left by the others, less 20.
    void FitLastColumn();
    // -1, 0 or 1 for rows a and b under the current sort column and state.
    int CompareItems(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;

    using QTreeWidget::edit;
    // True while a caption is being edited in place.
    bool Editing() const { return state() == EditingState; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    // Only a row's caption is edited in place, whichever of its cells was clicked.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    bool FFitColumns = true;
    char FDelimChar = '|';
    int FSortColumn = 0;
    std::vector<int> FColumnTags;
    QTimer FFitTimer;
};
