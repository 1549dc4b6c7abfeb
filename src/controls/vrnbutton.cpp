#include "controls/vrnbutton.h"

#include "platform/qtstrings_ui.h"

#include <QDialog>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

TVrnButton::TVrnButton(QWidget* parent) : QPushButton(parent) { Init(); }

TVrnButton::TVrnButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    Init();
}

void TVrnButton::Init() {
    setFont(ProgramFont(8));
    QPalette pal = palette();
    pal.setColor(QPalette::ButtonText, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::Button, Qt::black);
    setPalette(pal);
    setAttribute(Qt::WA_Hover);
    resize(75, 25);
    connect(this, &QPushButton::clicked, this, [this] {
        if (!FModalResult) return;
        if (auto* dlg = qobject_cast<QDialog*>(window())) dlg->done(FModalResult);
    });
}

void TVrnButton::SetHighlightColor(const QColor& c) {
    if (c == FHighlightColor) return;
    FHighlightColor = c;
    update();
}

void TVrnButton::SetHotTrack(bool on) {
    if (on == FHotTrack) return;
    FHotTrack = on;
    update();
}

// Lines stop one pixel short of their end point, so each edge owns its
// corner exactly as the raised look needs.
void TVrnButton::DrawFrame(QPainter& p, const QRect& r, const QColor& first, const QColor& second) {
    const int L = r.left(), T = r.top(), R = r.left() + r.width(), D = r.top() + r.height();
    p.setPen(second);
    p.drawLine(R - 1, D - 1, R - 1, T);
    p.drawLine(R - 1, D - 1, L, D - 1);
    p.setPen(first);
    p.drawLine(L, T, R - 1, T);
    p.drawLine(L, T, L, D - 1);
}

void TVrnButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    auto normalLook = [&] {
        p.fillRect(r, Qt::black);
        p.setPen(FBorderColor);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    };
    if (FMouseInside) {
        p.fillRect(r, Qt::black);
        DrawFrame(p, r, FBorderColorHighl, FBorderColorShadw);
        if (isDown()) DrawFrame(p, r, FBorderColorShadw, FBorderColorHighl);
    } else {
        normalLook();
    }
    QColor caption(0xC0, 0xC0, 0xC0);
    if (!isEnabled()) {
        caption = QColor(0x80, 0x80, 0x80);
        normalLook();
    } else if (FMouseInside && FHotTrack) {
        caption = FHighlightColor;
    }
    p.setPen(caption);
    p.setFont(font());
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    if (hasFocus() && isEnabled()) {
        // A dotted focus mark inside the frame, for keyboard users.
        QPen pen(QColor(0x80, 0x80, 0x80));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

void TVrnButton::enterEvent(QEnterEvent* e) {
    QPushButton::enterEvent(e);
    QWidget* grabber = QWidget::mouseGrabber();
    if (!FMouseInside && isEnabled() && (grabber == nullptr || grabber == this)) {
        FMouseInside = true;
        emit MouseEnter();
        update();
    }
}

void TVrnButton::leaveEvent(QEvent* e) {
    QPushButton::leaveEvent(e);
    if (FMouseInside && isEnabled()) {
        FMouseInside = false;
        emit MouseExit();
        update();
    }
}

void TVrnButton::mouseDoubleClickEvent(QMouseEvent* e) {
    // A quick second click is a second press, not a lost one.
    if (e->button() == Qt::LeftButton) mousePressEvent(e);
    else QPushButton::mouseDoubleClickEvent(e);
}

void TVrnButton::changeEvent(QEvent* e) {
    QPushButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled()) FMouseInside = false;
    if (e->type() == QEvent::FontChange || e->type() == QEvent::EnabledChange) update();
}
