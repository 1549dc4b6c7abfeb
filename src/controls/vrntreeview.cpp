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
        // Icon as usual, then the text on the plain background, underlined.
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QStyleOptionViewItem iconOnly = opt;
        iconOnly.text.clear();
        iconOnly.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        QStyledItemDelegate::paint(p, iconOnly, index);
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : nullptr;
        QRect textRect = style ? style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w) : opt.rect;
        p->save();
        p->fillRect(textRect, FTree->palette().color(QPalette::Base));
        QFont f = opt.font;
        f.setUnderline(true);
        f.setBold(false);
        f.setItalic(false);
        p->setFont(f);
        p->setPen(FTree->HotTrackColor());
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
