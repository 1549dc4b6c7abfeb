#include "controls/menustyles.h"

#include "platform/qtstrings_ui.h"
#include "util/strutils.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

// Draws the styled items of the menus it is set on; everything else, and
// items added later, the base style draws.
class TVrnMenuProxyStyle : public QProxyStyle {
public:
    explicit TVrnMenuProxyStyle(const TVrnMenuStyleBase* owner)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), FOwner(owner) {}

    void drawControl(ControlElement element, const QStyleOption* opt, QPainter* p,
                     const QWidget* w) const override {
        if (element == CE_MenuItem) {
            const auto* menu = qobject_cast<const QMenu*>(w);
            const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
            QAction* action = menu && mi ? menu->actionAt(opt->rect.center()) : nullptr;
            if (action && FOwner->IsStyled(action)) {
                const bool separator = action->isSeparator();
                // A separator always comes as a disabled "-", as the menus
                // of the original platform hand it over.
                const QString caption = separator ? QStringLiteral("-") : action->text();
                const bool disabled = separator || !(opt->state & State_Enabled);
                const bool selected = !separator && (opt->state & State_Selected);
                p->save();
                // Left unpainted by the item, the stripe shows the platform's
                // menu colour, as it would under a native menu.
                if (FOwner->LeftStripe)
                    p->fillRect(QRect(opt->rect.left(), opt->rect.top(), 4, opt->rect.height()),
                                QApplication::palette("QMenu").color(QPalette::Window));
                p->setFont(mi->font);
                FOwner->DrawItem(*p, opt->rect, caption, action->icon(), selected, disabled);
                p->restore();
                return;
            }
            if (mi) {
                // An item the style did not take over keeps the platform's look,
                // its own background included.
                QStyleOptionMenuItem plain = *mi;
                plain.palette = QApplication::palette("QMenu");
                p->fillRect(opt->rect, plain.palette.color(QPalette::Window));
                QProxyStyle::drawControl(element, &plain, p, w);
                return;
            }
        }
        QProxyStyle::drawControl(element, opt, p, w);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* opt, QPainter* p,
                       const QWidget* w) const override {
        if ((element == PE_PanelMenu || element == PE_FrameMenu) && qobject_cast<const QMenu*>(w)) {
            p->fillRect(opt->rect, FOwner->BackColor);
            if (element == PE_FrameMenu) {
                p->setPen(FOwner->BarColor);
                p->drawRect(opt->rect.adjusted(0, 0, -1, -1));
            }
            return;
        }
        QProxyStyle::drawPrimitive(element, opt, p, w);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* opt, const QSize& size,
                           const QWidget* w) const override {
        QSize s = QProxyStyle::sizeFromContents(type, opt, size, w);
        if (type == CT_MenuItem) {
            if (const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt)) {
                if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
                    // Room for the line to sit clear of its neighbours.
                    s.setHeight(std::max(s.height(), 9));
                } else {
                    const QFontMetrics fm(mi->font);
                    const int needed = 8 + 22 + 4 + fm.horizontalAdvance(mi->text) + 24;
                    s.setWidth(std::max(s.width(), needed));
                    s.setHeight(std::max(s.height(), fm.height() + 4));
                }
            }
        }
        return s;
    }

private:
    const TVrnMenuStyleBase* FOwner;
};

TVrnMenuStyleBase::TVrnMenuStyleBase(QObject* owner) : QObject(owner), FProxy(new TVrnMenuProxyStyle(this)) {}

// Menus still holding the proxy fall back to the application's style when it
// goes: a widget keeps only a guarded reference to its style.
TVrnMenuStyleBase::~TVrnMenuStyleBase() { delete FProxy; }

void TVrnMenuStyleBase::Attach(QMenu* menu) {
    if (!menu) return;
    menu->setStyle(FProxy);
    for (QAction* a : menu->actions()) {
        FStyled.insert(a);
        if (a->menu()) Attach(a->menu());
    }
}

void TVrnMenuStyleBase::DrawItem(QPainter& p, const QRect& rect, const QString& rawCaption, const QIcon& icon,
                                 bool selected, bool disabled) const {
    QRect r = rect;
    if (LeftStripe) r.setLeft(r.left() + 4);
    const int indent = icon.isNull() ? 0 : 22;
    const QString caption = FromAnsi(RemoveAll(ToAnsi(rawCaption), "&"));
    const bool separator = rawCaption == QLatin1String("-");
    p.setClipRect(rect);
    auto write = [&](const QColor& color, const QColor& background) {
        // A separator is its line alone: no caption.
        if (separator) return;
        // Text cells have the brush colour behind them, as on a canvas; the
        // caption sits in the middle of its row.
        const QFontMetrics fm(p.font());
        QRect text(r.left() + indent + 4, r.top() + (r.height() - fm.height()) / 2,
                   fm.horizontalAdvance(caption), fm.height());
        p.fillRect(text, background);
        p.setPen(color);
        p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    };
    p.fillRect(r, BackColor);
    write(FontColor, BackColor);
    if (selected) {
        if (ShowSelectBar) {
            p.fillRect(r, BarColor);
            write(BarFontColor, BarColor);
        } else {
            p.setPen(SeperatorColor);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            write(FontColor, BackColor);
        }
    }
    if (disabled && !separator) {
        p.fillRect(r, BackColor);
        write(DisabledFontColor, BackColor);
    }
    if (disabled && separator) {
        if (ThickSeperator) {
            p.fillRect(r, SeperatorColor);
        } else {
            const int m = r.top() + r.height() / 2;
            p.setPen(SeperatorColor);
            p.drawLine(r.left(), m, r.left() + r.width() - 1, m);
        }
    }
    if (indent == 22) p.drawPixmap(r.left() + 4, r.top() + 1, icon.pixmap(16, 16));
}

TVrnMainMenuStyle::TVrnMainMenuStyle(QObject* owner) : TVrnMenuStyleBase(owner) {
    if (!owner) return;
    QList<QMenuBar*> bars = owner->findChildren<QMenuBar*>();
    if (auto* bar = qobject_cast<QMenuBar*>(owner)) bars.prepend(bar);
    for (QMenuBar* bar : bars)
        for (QAction* top : bar->actions())
            if (top->menu()) Attach(top->menu());
}

TVrnPopUpMenuStyle::TVrnPopUpMenuStyle(QObject* owner) : TVrnMenuStyleBase(owner) {
    if (!owner) return;
    for (QMenu* m : owner->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) Attach(m);
}
