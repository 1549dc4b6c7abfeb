#include "controls/vrnlistview.h"

#include "platform/qtstrings_ui.h"
#include "util/strutils.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

// Grid lines: each cell outlined in the dark gray of the program's panels.
class TGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, opt, index);
        p->save();
        p->setPen(QColor(0x3E, 0x3E, 0x3E));
        p->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
        p->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
        p->restore();
    }
};

} // namespace

TVrnListView::TVrnListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setItemDelegate(new TGridDelegate(this));
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &TVrnListView::ColumnClick);
    FFitTimer.setInterval(100);
    connect(&FFitTimer, &QTimer::timeout, this, &TVrnListView::FitLastColumn);
    FFitTimer.start();
}

void TVrnListView::SetFitColumns(bool on) {
    FFitColumns = on;
    if (on) FFitTimer.start();
    else FFitTimer.stop();
}

void TVrnListView::SetColumns(const std::vector<std::string>& captions, const std::vector<int>& widths) {
    QStringList labels;
    for (const auto& c : captions) labels << FromAnsi(c);
    setColumnCount(int(labels.size()));
    setHeaderLabels(labels);
    for (size_t i = 0; i < widths.size() && i < captions.size(); ++i) setColumnWidth(int(i), widths[i]);
    FColumnTags.assign(captions.size(), 0);
    FSortColumn = 0;
}

int TVrnListView::ColumnTag(int column) const {
    return column >= 0 && size_t(column) < FColumnTags.size() ? FColumnTags[size_t(column)] : 0;
}

void TVrnListView::SetColumnTag(int column, int tag) {
    if (column < 0) return;
    if (size_t(column) >= FColumnTags.size()) FColumnTags.resize(size_t(column) + 1, 0);
    FColumnTags[size_t(column)] = tag;
}

QTreeWidgetItem* TVrnListView::AddDelimited(const std::string& text, void* data) {
    TStringList fields = SplitTrimmed(text, std::string(1, FDelimChar));
    auto* item = new QTreeWidgetItem(this);
    if (text.empty()) return item;
    for (size_t i = 0; i < fields.size(); ++i) item->setText(int(i), FromAnsi(fields[i]));
    if (!fields.empty()) item->setData(0, kDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
    return item;
}

int TVrnListView::SelectedItemIndex() const {
    const auto sel = selectedItems();
    return sel.isEmpty() ? -1 : indexOfTopLevelItem(sel.first());
}

void* TVrnListView::ItemDataAt(int index) const {
    const QTreeWidgetItem* it = topLevelItem(index);
    return it ? reinterpret_cast<void*>(it->data(0, kDataRole).value<quintptr>()) : nullptr;
}

void TVrnListView::SetItemDataAt(int index, void* data) {
    if (QTreeWidgetItem* it = topLevelItem(index))
        it->setData(0, kDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
}

std::string TVrnListView::ItemText(int index, int column) const {
    const QTreeWidgetItem* it = topLevelItem(index);
    return it ? ToAnsi(it->text(column)) : std::string();
}

int TVrnListView::CompareItems(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const {
    std::string ta = ToAnsi(a->text(FSortColumn));
    std::string tb = ToAnsi(b->text(FSortColumn));
    if (ColumnTag(FSortColumn) == 2) std::swap(ta, tb);
    if (IsInteger(ta) && IsInteger(tb)) return CompareInt(StrToInt(ta), StrToInt(tb));
    int c = ta.compare(tb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TVrnListView::ColumnClick(int column) {
    if (column < 0 || column >= columnCount()) return;
    FSortColumn = column;
    const QTreeWidgetItem* current = currentItem();
    QList<QTreeWidgetItem*> items;
    while (topLevelItemCount() > 0) items << takeTopLevelItem(0);
    std::stable_sort(items.begin(), items.end(), [this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return CompareItems(a, b) < 0;
    });
    addTopLevelItems(items);
    if (current) setCurrentItem(const_cast<QTreeWidgetItem*>(current));
    int tag = ColumnTag(column);
    SetColumnTag(column, tag == 1 ? 2 : 1);
}

void TVrnListView::FitLastColumn() {
    if (!FFitColumns || columnCount() == 0) return;
    const int last = columnCount() - 1;
    int others = 0;
    for (int i = 0; i < last; ++i) others += columnWidth(i);
    const int w = std::max(width() - others - 20, kMinLastColumnWidth);
    if (columnWidth(last) != w) setColumnWidth(last, w);
}

void TVrnListView::resizeEvent(QResizeEvent* e) {
    QTreeWidget::resizeEvent(e);
    FitLastColumn();
}

bool TVrnListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    return QTreeWidget::edit(index.isValid() ? index.siblingAtColumn(0) : index, trigger, event);
}
