#include "controls/vrnhtml.h"

#include "platform/qtstrings_ui.h"

#include <QKeyEvent>
#include <QPointer>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TVrnHTML::TVrnHTML(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    connect(this, &QTextBrowser::anchorClicked, this, &TVrnHTML::OnAnchorClicked);
}

void TVrnHTML::LoadFromString(const std::string& html) {
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
    bool found = false;
    for (QTextBlock b = document()->begin(); b.isValid() && !found; b = b.next()) {
        // An empty anchor is kept on the block that follows it.
        if (b.charFormat().anchorNames().contains(name)) {
            found = true;
            break;
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name)) {
                found = true;
                break;
            }
        }
    }
    if (found) scrollToAnchor(name);
    return found;
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
