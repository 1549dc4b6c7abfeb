#include "controls/schemes.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

namespace {

// The pieces of the SmBorder strip, 6 x 5 pixels each.
enum TBorderPiece { BottomLeft, Bottom, BottomRight, TopLeft, Top, TopRight, Left, Right };

void Piece(QPainter& p, const QImage& strip, TBorderPiece piece, int x, int y) {
    p.drawImage(QPoint(x, y), strip, QRect(int(piece) * 6, 0, 6, 5));
}

} // namespace

TepSchemeStore::TepSchemeStore(QObject* owner) : QObject(owner) {}

void TepSchemeStore::Set(QImage& slot, const QImage& img) {
    slot = img.copy();
    if (auto* w = qobject_cast<QWidget*>(parent())) w->update();
    emit Changed();
}

TepScheme::TepScheme(QObject* owner) : QObject(owner) {}

void TepScheme::NotifyOwner() {
    if (auto* w = qobject_cast<QWidget*>(parent())) {
        QEvent e(kSchemeChangedEvent);
        QCoreApplication::sendEvent(w, &e);
    }
    emit Changed();
}

void TepScheme::SetSchemeStore(TepSchemeStore* store) {
    disconnect(FStoreChanged);
    disconnect(FStoreGone);
    FStore = store;
    if (store) {
        FStoreChanged = connect(store, &TepSchemeStore::Changed, this, &TepScheme::Changed);
        // The removal notice: the reference is cleared by the guard.
        FStoreGone = connect(store, &QObject::destroyed, this, [this] {
            disconnect(FStoreChanged);
            NotifyOwner();
        });
    }
    NotifyOwner();
}

TepSchemePanel::TepSchemePanel(QWidget* parent) : QFrame(parent) {
    resize(100, 50);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    if (parent)
        if (auto* scheme = parent->window()->findChild<TepScheme*>()) SetScheme(scheme);
}

void TepSchemePanel::SetScheme(TepScheme* scheme) {
    disconnect(FSchemeChanged);
    FScheme = scheme;
    if (scheme) {
        FSchemeChanged = connect(scheme, &TepScheme::Changed, this, [this] { update(); });
        connect(scheme, &QObject::destroyed, this, [this] { update(); });
        TakeFaceColour();
    }
    update();
}

void TepSchemePanel::TakeFaceColour() {
    if (!FScheme || !FScheme->SchemeStore()) return;
    const QImage& caption = FScheme->SchemeStore()->ActiveCaption();
    // An empty or narrow caption bitmap has no such pixel: keep the colour.
    if (caption.width() > 110 && caption.height() > 0)
        FColor = caption.pixelColor(110, caption.height() - 1);
}

void TepSchemePanel::SetColor(const QColor& color) {
    FColor = color;
    update();
}

void TepSchemePanel::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

bool TepSchemePanel::event(QEvent* e) {
    if (e->type() == kSchemeChangedEvent) {
        update();
        return true;
    }
    return QFrame::event(e);
}

void TepSchemePanel::PaintPlain(QPainter& p) {
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter, FCaption);
}

void TepSchemePanel::paintEvent(QPaintEvent* e) {
    TepSchemeStore* store = FScheme ? FScheme->SchemeStore() : nullptr;
    if (!store) {
        {
            QPainter p(this);
            PaintPlain(p);
        }
        QFrame::paintEvent(e);
        return;
    }
    QPainter p(this);
    const int W = width(), H = height();
    const QImage& wall = store->WallPaper();
    if (wall.isNull()) {
        p.fillRect(QRect(QPoint(-1, -1), QPoint(W, H)), FColor.isValid() ? FColor : QColor(Qt::black));
    } else {
        const int w = wall.width(), h = wall.height();
        for (int c = 0; c <= W / w; ++c)
            for (int r = 0; r <= H / h; ++r) p.drawImage(QPoint(c * w, r * h), wall);
    }
    const QImage& strip = store->SmBorder();
    if (strip.width() < 48 || strip.height() < 5) return;
    for (int i = 0; i < W / 6; ++i) Piece(p, strip, Bottom, (i + 1) * 6, H - 5);
    for (int j = 0; j < H / 5; ++j) {
        Piece(p, strip, Left, 0, (j + 1) * 5);
        Piece(p, strip, Right, W - 6, (j + 1) * 5);
    }
    Piece(p, strip, BottomLeft, 0, H - 5);
    Piece(p, strip, BottomRight, W - 6, H - 5);
    for (int l = 0; l < W / 6; ++l) Piece(p, strip, Top, (l + 1) * 6, 0);
    Piece(p, strip, TopLeft, 0, 0);
    Piece(p, strip, TopRight, W - 6, 0);
}
