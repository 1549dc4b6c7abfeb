#include "controls/vrnurllabel.h"

#include "platform/desktop_ui.h"
#include "platform/qtstrings_ui.h"

#include <QMouseEvent>

TVrnURLLabel::TVrnURLLabel(QWidget* parent) : QLabel(parent) {
    setText(FromAnsi(FURL));
    setCursor(Qt::PointingHandCursor);
    FHighlightFont.Font = font();
    FHighlightFont.Font.setUnderline(true);
    FHighlightFont.Color = ColorFromRef(0xFF0000);
}

void TVrnURLLabel::SetURL(const std::string& url) {
    FURL = url;
    update();
}

void TVrnURLLabel::SetNormalFont(const TVrnFont& f) {
    if (FHighlighted) FSaved = f;
    else Apply(f);
}

std::string TVrnURLLabel::Prefix(TURLType type) {
    switch (type) {
    case utHTTP: return "http://";
    case utFTP: return "ftp://";
    case utFILE: return "file:///";
    case utUNC: return "\\\\";
    case utNONE: break;
    }
    return {};
}

bool TVrnURLLabel::OpenAddress(TURLType type, const std::string& address) {
    if (type == utNONE) return false;
    return ShellOpen(Prefix(type) + address);
}

void TVrnURLLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton || !rect().contains(e->position().toPoint())) return;
    emit Clicked();
    if (FOnClick) FOnClick();
    else OpenAddress(FURLType, FURL);
}

TVrnFont TVrnURLLabel::Current() const { return {font(), palette().color(QPalette::WindowText)}; }

void TVrnURLLabel::Apply(const TVrnFont& f) {
    setFont(f.Font);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, f.Color);
    setPalette(pal);
}

void TVrnURLLabel::enterEvent(QEnterEvent* e) {
    QLabel::enterEvent(e);
    if (FHighlighted) return;
    FSaved = Current();
    FHighlighted = true;
    Apply(FHighlightFont);
}

void TVrnURLLabel::leaveEvent(QEvent* e) {
    QLabel::leaveEvent(e);
    if (!FHighlighted) return;
    FHighlighted = false;
    Apply(FSaved);
}
