#pragma once
// A tree whose item under the mouse is drawn underlined in its own colour.
#include <QColor>
#include <QPersistentModelIndex>
#include <QTreeWidget>

class TVrnTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TVrnTreeView(QWidget* parent = nullptr);

    QColor HotTrackColor() const { return FHotTrackColor; }
    // On the old Windows kinds the tree also turns white and loses its icons.
    void SetHotTrackColor(const QColor& color);
    // The item under the mouse, or null.
    QTreeWidgetItem* HotItem() const;
    // Marks the item under the mouse (the mouse tracking calls it).
    void SetHotItem(QTreeWidgetItem* item);
    // Whether hot items get the custom look (not on the old Windows kinds).
    bool CustomDraw() const;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    QColor FHotTrackColor{0x4E, 0x74, 0x9A};
    QPersistentModelIndex FHot;
};
