#include "controls/vrntreeview.h"

#include "util/fileutils.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

class THotItemDelegate : public QStyledItemDelegate {
public:
    explicit THotItemDelegate(TVrnTreeView* tree) : QStyledItemDelegate(tree), FTree(tree) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QTreeWidgetItem* hot = FTree->HotItem();
        if (!FTree->CustomDraw() || !hot || FTree->indexFromItem(hot) != index) {
            QStyledItemDelegate::paint(p, option, index);
            return;
        }
        // The item as usual without its text (a selected one keeps its bar and
        // its selected image), then the text underlined: on the bar in the
        // selected text colour, elsewhere on the plain background.
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const bool selected = opt.state & QStyle::State_Selected;
        QStyleOptionViewItem noText = opt;
        noText.text.clear();
        noText.state &= ~QStyle::State_MouseOver;
        QStyledItemDelegate::paint(p, noText, index);
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : nullptr;
        QRect textRect = style ? style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w) : opt.rect;
        p->save();
        if (!selected) p->fillRect(textRect, FTree->palette().color(QPalette::Base));
        QFont f = opt.font;
        f.setUnderline(true);
        f.setBold(false);
        f.setItalic(false);
        p->setFont(f);
        p->setPen(selected ? opt.palette.color(QPalette::HighlightedText) : FTree->HotTrackColor());
        p->drawText(textRect.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, opt.text);
        p->restore();
    }

private:
    TVrnTreeView* FTree;
};

} // namespace

TVrnTreeView::TVrnTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setMouseTracking(true);
    setItemDelegate(new THotItemDelegate(this));
}

bool TVrnTreeView::CustomDraw() const {
    const int kind = WindowsKind();
    return kind != 1 && kind != 4;
}

void TVrnTreeView::SetHotTrackColor(const QColor& color) {
    FHotTrackColor = color;
    if (!CustomDraw()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Base, Qt::white);
        setPalette(pal);
        setIconSize(QSize(0, 0));
    }
    viewport()->update();
}

QTreeWidgetItem* TVrnTreeView::HotItem() const {
    return FHot.isValid() ? itemFromIndex(FHot) : nullptr;
}

void TVrnTreeView::SetHotItem(QTreeWidgetItem* item) {
    QModelIndex idx = item ? indexFromItem(item) : QModelIndex();
    if (idx == FHot) return;
    FHot = idx;
    viewport()->update();
}

void TVrnTreeView::mouseMoveEvent(QMouseEvent* e) {
    QTreeWidget::mouseMoveEvent(e);
    SetHotItem(itemAt(e->position().toPoint()));
}

void TVrnTreeView::leaveEvent(QEvent* e) {
    QTreeWidget::leaveEvent(e);
    SetHotItem(nullptr);
}

bool TVrnTreeView::event(QEvent* e) {
    // A modal window or another program taking over: the mouse is no longer here.
    if (e->type() == QEvent::WindowDeactivate || e->type() == QEvent::Hide) SetHotItem(nullptr);
    return QTreeWidget::event(e);
}
