#pragma once
// The program's push button: black face, silver caption, a raised frame and
// a bright caption while the mouse is over it, sunken only while the mouse
// presses it (a keyboard press keeps the flat look).
#include <QColor>
#include <QPushButton>

class TVrnButton : public QPushButton {
    Q_OBJECT
public:
    explicit TVrnButton(QWidget* parent = nullptr);
    TVrnButton(const QString& caption, QWidget* parent = nullptr);

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& c) { FBorderColor = c; }
    QColor BorderColorHighl() const { return FBorderColorHighl; }
    void SetBorderColorHighl(const QColor& c) { FBorderColorHighl = c; }
    QColor BorderColorShadw() const { return FBorderColorShadw; }
    void SetBorderColorShadw(const QColor& c) { FBorderColorShadw = c; }
    QColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(const QColor& c);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool on);

    // The modal result a dialog finishes with when the button is clicked
    // (0: none). Set it on a button whose window is a QDialog.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result) { FModalResult = result; }

    // True while the mouse is over the (enabled) button.
    bool MouseInside() const { return FMouseInside; }

    QSize sizeHint() const override { return size(); }
    QSize minimumSizeHint() const override { return QSize(0, 0); }

signals:
    void MouseEnter();
    void MouseExit();

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Init();
    void DrawFrame(class QPainter& p, const QRect& r, const QColor& first, const QColor& second);

    QColor FBorderColor{0xC0, 0xC0, 0xC0};
    QColor FBorderColorHighl{Qt::white};
    QColor FBorderColorShadw{0x80, 0x80, 0x80};
    QColor FHighlightColor{Qt::white};
    bool FHotTrack = true;
    bool FMouseInside = false;
    int FModalResult = 0;
};
