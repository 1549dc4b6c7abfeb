#include "controls/vrnhtml.h"

#include "platform/qtstrings_ui.h"

#include <QKeyEvent>
#include <QPointer>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QWheelEvent>

#include <algorithm>

#include <algorithm>

TVrnHTML::TVrnHTML(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    // A page to read: the mouse selects and the keyboard scrolls and follows
    // links, but no caret blinks in it.
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(this, &QTextBrowser::anchorClicked, this, &TVrnHTML::OnAnchorClicked);
}

void TVrnHTML::LoadFromString(const std::string& html) {
    setExtraSelections({});
    setHtml(FromAnsi(html));
    ScrollToTop();
}

void TVrnHTML::ClearPage() {
    // A fresh document: the old one takes its cached pictures with it.
    QTextDocument* old = document();
    auto* doc = new QTextDocument(this);
    doc->setDefaultFont(old->defaultFont());
    doc->setDefaultStyleSheet(old->defaultStyleSheet());
    // The view frees a document it made itself; one of ours is freed here.
    QPointer<QTextDocument> guard(old);
    setDocument(doc);
    if (guard && guard->parent() == this) guard->deleteLater();
}

void TVrnHTML::ScrollToTop() {
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

bool TVrnHTML::PositionTo(const std::string& anchor) {
    const QString name = FromAnsi(anchor);
    // Qt files an empty anchor in front of a centred picture under the next
    // block, which scrolls the picture away; the top anchor means the top.
    if (name.compare(QLatin1String("TOP"), Qt::CaseInsensitive) == 0) {
        ScrollToTop();
        return true;
    }
    const bool found = AnchorPosition(anchor) >= 0;
    if (found) scrollToAnchor(name);
    return found;
}

int TVrnHTML::AnchorPosition(const std::string& anchor) const {
    const QString name = FromAnsi(anchor);
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        // An empty anchor is kept on the block that follows it.
        if (b.charFormat().anchorNames().contains(name)) return b.position();
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name)) return it.fragment().position();
    }
    return -1;
}

QString TVrnHTML::PlainText(int start, int end) const {
    QTextCursor c(document());
    c.setPosition(std::clamp(start, 0, c.document()->characterCount() - 1));
    c.setPosition(std::clamp(end, 0, c.document()->characterCount() - 1), QTextCursor::KeepAnchor);
    // The selection holds the document's own marks: block and line
    // separators, table frame markers and a place holder per picture.
    QString raw = c.selectedText(), text;
    text.reserve(raw.size());
    for (QChar ch : raw) {
        switch (ch.unicode()) {
        case 0x2029: // QChar::ParagraphSeparator
        case 0x2028: // QChar::LineSeparator
            text += QLatin1Char('\n');
            break;
        case 0xFDD0: // start of a table or cell frame
        case 0xFDD1: // end of a frame
            text += QLatin1String("\n\n"); // a table stands apart from the text around it
            break;
        case 0xFFFC: // a picture
            break;
        case 0x00A0:
            text += QLatin1Char(' ');
            break;
        default:
            text += ch;
        }
    }
    QStringList out;
    for (QString line : text.split(QLatin1Char('\n'))) {
        while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
        if (line.isEmpty() && (out.isEmpty() || out.back().isEmpty())) continue;
        out.push_back(line);
    }
    while (!out.isEmpty() && out.back().isEmpty()) out.pop_back();
    return out.join(QLatin1Char('\n'));
}

bool TVrnHTML::FindFromStart(const std::string& text, bool matchCase) {
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::Start);
    setTextCursor(c);
    QTextDocument::FindFlags flags;
    if (matchCase) flags |= QTextDocument::FindCaseSensitively;
    const bool found = find(FromAnsi(text), flags);
    if (found) {
        ensureCursorVisible();
        QTextCursor after = textCursor();
        after.clearSelection();
        setTextCursor(after);
    }
    return found;
}

bool TVrnHTML::HighlightMatch(const QString& text, int occurrence, const std::string& anchor) {
    if (text.isEmpty()) return false;
    int from = anchor.empty() ? 0 : std::max(0, AnchorPosition(anchor));
    QTextCursor c(document());
    c.setPosition(from);
    for (int k = 0; k <= occurrence; ++k) {
        c = document()->find(text, c);
        if (c.isNull()) return false;
    }
    QTextEdit::ExtraSelection mark;
    mark.cursor = c;
    mark.format.setBackground(QColor(0xFF, 0xE0, 0x60));
    mark.format.setForeground(Qt::black);
    setExtraSelections({mark});
    setTextCursor(c);
    // Bring the hit to the upper part of the view, not its bottom edge.
    ensureCursorVisible();
    QRect r = cursorRect(c);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + r.top() - viewport()->height() / 4);
    return true;
}

void TVrnHTML::SetZoom(int steps) {
    QFont f = document()->defaultFont();
    if (FNormalPointSize <= 0) FNormalPointSize = f.pointSizeF() > 0 ? f.pointSizeF() : 10;
    FZoom = steps;
    f.setPointSizeF(std::max<qreal>(4, FNormalPointSize + steps));
    int top = TopPosition();
    document()->setDefaultFont(f);
    ScrollToPosition(top);
}

int TVrnHTML::TopPosition() const {
    // The first paragraph that starts in the view: a place that stays the
    // same whatever the window's width or the text's size.
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    layout->documentSize(); // lays out the whole page
    const int top = verticalScrollBar()->value();
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        if (layout->blockBoundingRect(b).top() >= top - 1) return b.position();
    return 0;
}

void TVrnHTML::ScrollToPosition(int position) {
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    layout->documentSize();
    QTextBlock b = document()->findBlock(std::max(0, position));
    if (!b.isValid()) return;
    verticalScrollBar()->setValue(static_cast<int>(layout->blockBoundingRect(b).top()));
}

void TVrnHTML::wheelEvent(QWheelEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) {
        FWheelDelta += e->angleDelta().y();
        while (FWheelDelta >= 120) {
            FWheelDelta -= 120;
            emit ZoomRequested(1);
        }
        while (FWheelDelta <= -120) {
            FWheelDelta += 120;
            emit ZoomRequested(-1);
        }
        e->accept();
        return;
    }
    QTextBrowser::wheelEvent(e);
}

std::string TVrnHTML::SelectedText() const { return ToAnsi(textCursor().selectedText()); }

std::string TVrnHTML::DocumentText() const { return ToAnsi(toPlainText()); }

void TVrnHTML::SetLinkColors(const QColor& link, const QColor& visited) {
    QPalette pal = palette();
    pal.setColor(QPalette::Link, link);
    pal.setColor(QPalette::LinkVisited, visited);
    setPalette(pal);
    // Pages read from now on take the colour from the style sheet.
    document()->setDefaultStyleSheet(QStringLiteral("a { color: %1; }").arg(link.name()));
    // Links took their colour when the page was read: recolour the shown ones.
    QTextCursor c(document());
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.charFormat().isAnchor() || frag.charFormat().anchorHref().isEmpty()) continue;
            c.setPosition(frag.position());
            c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            QTextCharFormat f;
            f.setForeground(link);
            c.mergeCharFormat(f);
        }
    }
}

QVariant TVrnHTML::loadResource(int type, const QUrl& name) {
    if (type != QTextDocument::ImageResource) return QTextBrowser::loadResource(type, name);
    ++FImageRequests;
    if (!FImageRequest) return {};
    QImage img = FImageRequest(ToAnsi(name.toString()));
    if (img.isNull()) return {};
    return img;
}

void TVrnHTML::mousePressEvent(QMouseEvent* e) {
    FPressedAnchor = anchorAt(e->position().toPoint());
    QTextBrowser::mousePressEvent(e);
}

void TVrnHTML::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        FPressedAnchor = textCursor().charFormat().anchorHref();
    QTextBrowser::keyPressEvent(e);
}

void TVrnHTML::mouseDoubleClickEvent(QMouseEvent* e) {
    QTextBrowser::mouseDoubleClickEvent(e);
    emit DoubleClicked();
}

void TVrnHTML::OnAnchorClicked(const QUrl& url) {
    // QUrl would fold "HTTP://" and resolve "PROF_5": report the page's text.
    QString raw = FPressedAnchor.isEmpty() ? url.toString() : FPressedAnchor;
    FPressedAnchor.clear();
    emit HotSpotClick(ToAnsi(raw));
}
