#include "controls/vrnhtml.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <string>
#include <vector>

namespace {

std::string LongPage() {
    std::string html = "<html><body><A NAME=\"TOP\"></A><center><img src=\"Border.bmp\"></center>";
    for (int i = 0; i < 60; ++i) {
        if (i == 40) html += "<A NAME=\"SUBTOPIC_2\"></A>";
        html += "<p>Line " + std::to_string(i) + " of the story</p>";
    }
    html += "<p>The last line has <a href=\"HTTP://Example.com/News\">a web link</a> and "
            "<a href=\"PROF_5\">a prophet</a>.</p></body></html>";
    return html;
}

class HtmlTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(400, 200);
        view.SetImageRequest([this](const std::string& name) {
            names.push_back(name);
            QImage img(492, 39, QImage::Format_RGB32);
            img.fill(Qt::darkGreen);
            return img;
        });
        view.show();
    }
    // Clicks the middle of the first occurrence of the text.
    void ClickOn(const QString& text) {
        QTextCursor c = view.document()->find(text);
        ASSERT_FALSE(c.isNull());
        QTextCursor mid(view.document());
        mid.setPosition(c.selectionStart() + 2);
        view.setTextCursor(mid);
        view.ensureCursorVisible();
        const QPointF p = view.cursorRect(mid).center();
        QMouseEvent press(QEvent::MouseButtonPress, p, view.viewport()->mapToGlobal(p), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, p, view.viewport()->mapToGlobal(p), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &press);
        QApplication::sendEvent(view.viewport(), &release);
    }
    TVrnHTML view;
    std::vector<std::string> names;
};

TEST_F(HtmlTest, PicturesComeFromTheRequestAndClearPageDropsThem) {
    view.LoadFromString(LongPage());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Border.bmp");
    // Once fetched, a page's picture is held by the view...
    const QUrl border(QStringLiteral("Border.bmp"));
    const size_t fetched = names.size();
    EXPECT_FALSE(view.document()->resource(QTextDocument::ImageResource, border).isNull());
    EXPECT_EQ(names.size(), fetched);
    // ...until the page is cleared: then it is asked for again.
    view.ClearPage();
    EXPECT_TRUE(view.document()->isEmpty());
    EXPECT_FALSE(view.document()->resource(QTextDocument::ImageResource, border).isNull());
    EXPECT_EQ(names.size(), fetched + 1);
    view.ClearPage();
    view.ClearPage();
    view.LoadFromString(LongPage());
    EXPECT_GT(names.size(), fetched + 1);
}

TEST_F(HtmlTest, LinksReportTheirRawText) {
    std::vector<std::string> links;
    QObject::connect(&view, &TVrnHTML::HotSpotClick, [&](const std::string& l) { links.push_back(l); });
    view.LoadFromString(LongPage());
    ClickOn(QStringLiteral("a web link"));
    ClickOn(QStringLiteral("a prophet"));
    EXPECT_EQ(links, (std::vector<std::string>{"HTTP://Example.com/News", "PROF_5"}));
}

TEST_F(HtmlTest, PositionToTopReachesTheVeryTopAndOtherAnchorsScroll) {
    view.LoadFromString(LongPage());
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_TRUE(view.PositionTo("SUBTOPIC_2"));
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(view.PositionTo("TOP"));
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum() / 2);
    EXPECT_FALSE(view.PositionTo("QREF_99"));
    EXPECT_EQ(bar->value(), bar->maximum() / 2);
}

TEST_F(HtmlTest, FindFromStartScrollsToTheMatchAndLeavesNoSelection) {
    view.LoadFromString(LongPage());
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    EXPECT_TRUE(view.FindFromStart("line 45", false));
    EXPECT_TRUE(view.textCursor().selectedText().isEmpty());
    const int at45 = view.verticalScrollBar()->value();
    EXPECT_LT(at45, view.verticalScrollBar()->maximum());
    EXPECT_GT(at45, 0);
    EXPECT_FALSE(view.FindFromStart("line 45", true)); // case matters when asked
    EXPECT_FALSE(view.FindFromStart("Nooh", false));
}

TEST_F(HtmlTest, AFocusedPageShowsNoCaret) {
    // A link click gives the view the focus; the page stays a page to read.
    view.LoadFromString("<p>Read this, then <a href=\"PROF_1\">follow a link</a>.</p>");
    const QImage unfocused = view.viewport()->grab().toImage();
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&view, &in);
    EXPECT_EQ(view.viewport()->grab().toImage(), unfocused);
}

TEST_F(HtmlTest, PlainTextLeavesNoLayoutCharacters) {
    view.LoadFromString("<p>First&nbsp;line<br>second line</p><p>A paragraph.</p>"
                        "<table border=1><tr><td><i>001.001 verse<br><br><img src=\"Audio.jpg\">"
                        "001.002 verse</i></td></tr></table><p>After.</p>");
    QTextCursor end(view.document());
    end.movePosition(QTextCursor::End);
    EXPECT_EQ(view.PlainText(0, end.position()).toStdString(),
              "First line\nsecond line\nA paragraph.\n\n001.001 verse\n\n001.002 verse\n\nAfter.");
    EXPECT_EQ(view.AnchorPosition("SUBTOPIC_2"), -1);
    view.LoadFromString(LongPage());
    const int at = view.AnchorPosition("SUBTOPIC_2");
    ASSERT_GE(at, 0);
    EXPECT_EQ(view.PlainText(at, at + 13).toStdString(), "Line 40 of th");
}

TEST_F(HtmlTest, DoubleClickSelectsAWordAndLinkColoursApply) {
    view.LoadFromString("<p>Salat is prayer</p><p><a href=\"PROF_1\">Adam</a></p>");
    int dbl = 0;
    QObject::connect(&view, &TVrnHTML::DoubleClicked, [&] { ++dbl; });
    QTextCursor c = view.document()->find(QStringLiteral("Salat"));
    QTextCursor mid(view.document());
    mid.setPosition(c.selectionStart() + 2);
    const QPointF p = view.cursorRect(mid).center();
    const QPointF g = view.viewport()->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &press);
    QApplication::sendEvent(view.viewport(), &release);
    QApplication::sendEvent(view.viewport(), &twice);
    QApplication::sendEvent(view.viewport(), &release);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(view.SelectedText(), "Salat");

    view.SetLinkColors(QColor(0x7E, 0x30, 0x81), QColor(0x7E, 0x30, 0x81));
    QTextCursor link = view.document()->find(QStringLiteral("Adam"));
    ASSERT_FALSE(link.isNull());
    EXPECT_EQ(link.charFormat().foreground().color(), QColor(0x7E, 0x30, 0x81));
    // A page loaded afterwards, and after a clear, keeps the colour.
    view.ClearPage();
    view.LoadFromString("<p><a href=\"PROF_2\">Idris</a></p>");
    link = view.document()->find(QStringLiteral("Idris"));
    ASSERT_FALSE(link.isNull());
    EXPECT_EQ(link.charFormat().foreground().color(), QColor(0x7E, 0x30, 0x81));
}

} // namespace
