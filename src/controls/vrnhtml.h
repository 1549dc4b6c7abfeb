#pragma once
// The HTML view of the main and glossary windows: pages loaded from text,
// pictures supplied by the owner, links reported with their raw text.
#include <QColor>
#include <QImage>
#include <QTextBrowser>

#include <functional>
#include <string>

class TVrnHTML : public QTextBrowser {
    Q_OBJECT
public:
    // Answers the view's request for a picture the page names ("Border.bmp");
    // a null image leaves the picture out.
    using TImageRequest = std::function<QImage(const std::string& name)>;

    explicit TVrnHTML(QWidget* parent = nullptr);

    // Shows a page given as Windows-1252 HTML text.
    void LoadFromString(const std::string& html);
    // Empties the view and forgets every picture it fetched.
    void ClearPage();
    // Moves the view to an anchor; false when the page has none of that name.
    bool PositionTo(const std::string& anchor);
    void ScrollToTop();
    // Searches from the start of the page; the match is scrolled into view and
    // no selection is left. True when found.
    bool FindFromStart(const std::string& text, bool matchCase);
    // Selects and marks the match number occurrence + 1 (counted from 0) of
    // the text, in any letter case, after the anchor (from the top when the
    // anchor is empty or missing), and scrolls it into view. The mark stays
    // until the next page. False when there is no such match.
    bool HighlightMatch(const QString& text, int occurrence, const std::string& anchor = {});
    // The page's text size, in steps of one point from its normal size.
    int Zoom() const { return FZoom; }
    void SetZoom(int steps);
    // The character at the top left of the view, and scrolling it back there.
    int TopPosition() const;
    void ScrollToPosition(int position);
    std::string SelectedText() const;
    // Where an anchor of the page starts, as a character position; -1 when
    // the page has none of that name.
    int AnchorPosition(const std::string& anchor) const;
    // The page's text from start to end as plain text anyone can paste: lines
    // end in LF, no blank line follows another, no layout characters remain.
    QString PlainText(int start, int end) const;
    std::string DocumentText() const;
    void CopyToClipboard() { copy(); }

    void SetImageRequest(TImageRequest handler) { FImageRequest = std::move(handler); }
    void SetLinkColors(const QColor& link, const QColor& visited);
    // How many pictures the view asked for since it was created (tests).
    int ImageRequestCount() const { return FImageRequests; }

signals:
    // A link was clicked; the text is the link exactly as the page wrote it.
    void HotSpotClick(const std::string& link);
    // A double click; the word under the mouse is selected by then.
    void DoubleClicked();
    // Ctrl and the mouse wheel ask for a larger (+1) or smaller (-1) text.
    void ZoomRequested(int step);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void OnAnchorClicked(const QUrl& url);

    TImageRequest FImageRequest;
    QString FPressedAnchor;
    int FImageRequests = 0;
    int FZoom = 0;
    qreal FNormalPointSize = 0;
    int FWheelDelta = 0;
};
