#pragma once
// The dark look of the program's menus: white on black, a gray bar under the
// selected item, silver for disabled items and separators, and a thin stripe
// left unpainted at the left edge.
//
// Create a style after the menus it takes over, with their form as owner:
// TVrnMainMenuStyle styles the drop-down items of every menu bar of the form
// (not the bar itself), TVrnPopUpMenuStyle every item of every pop-up menu
// (the form's QMenu children). Only items that exist at that moment are
// styled; items added later keep the default look.
#include <QColor>
#include <QObject>
#include <QPointer>
#include <QSet>

class QAction;
class QIcon;
class QMenu;
class QPainter;
class QRect;
class QString;
class TVrnMenuProxyStyle;

class TVrnMenuStyleBase : public QObject {
    Q_OBJECT
public:
    ~TVrnMenuStyleBase() override;

    QColor BackColor{Qt::black};
    QColor FontColor{Qt::white};
    QColor BarFontColor{Qt::white};
    QColor DisabledFontColor{0xC0, 0xC0, 0xC0};
    QColor SeperatorColor{0xC0, 0xC0, 0xC0};
    QColor BarColor{0x80, 0x80, 0x80};
    bool ThickSeperator = false;
    bool ShowSelectBar = true;
    bool LeftStripe = true;

    // Draws one item into r. The caption is the raw one ("-" for a
    // separator); a null icon means no image.
    void DrawItem(QPainter& p, const QRect& r, const QString& caption, const QIcon& icon,
                  bool selected, bool disabled) const;
    bool IsStyled(const QAction* action) const { return FStyled.contains(action); }
    // Takes over one menu and its submenus, with the items they have now.
    void Attach(QMenu* menu);

protected:
    explicit TVrnMenuStyleBase(QObject* owner);

private:
    QSet<const QAction*> FStyled;
    TVrnMenuProxyStyle* FProxy = nullptr;
};

class TVrnMainMenuStyle : public TVrnMenuStyleBase {
    Q_OBJECT
public:
    explicit TVrnMainMenuStyle(QObject* owner);
};

class TVrnPopUpMenuStyle : public TVrnMenuStyleBase {
    Q_OBJECT
public:
    explicit TVrnPopUpMenuStyle(QObject* owner);
};
