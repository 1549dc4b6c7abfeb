#include "controls/vrntreeview.h"
#include "controls/vrnurllabel.h"
#include "platform/desktop_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QUrl>

#include <vector>

namespace {

void Click(QWidget& w) {
    const QPointF p(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, p, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, p, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QApplication::sendEvent(&w, &release);
}

struct Desktop {
    std::vector<QUrl> opened;
    TShellOpenHandler previous = SetShellOpenHandler([this](const QUrl& u) {
        opened.push_back(u);
        return true;
    });
    ~Desktop() { SetShellOpenHandler(previous); }
};

TEST(URLLabel, PrefixesByTypeAndNoneIgnoresClicks) {
    Desktop desk;
    TVrnURLLabel lbl;
    lbl.resize(200, 20);
    EXPECT_EQ(lbl.text().toStdString(), TVrnURLLabel::kDefaultURL);
    lbl.SetURL("www.example.org/news");
    EXPECT_EQ(lbl.text().toStdString(), TVrnURLLabel::kDefaultURL); // caption unchanged
    Click(lbl);
    lbl.SetURLType(utFILE);
    lbl.SetURL("tmp/read me.txt");
    EXPECT_EQ(lbl.URLPrefix(), "file:///");
    Click(lbl);
    lbl.SetURLType(utNONE);
    EXPECT_EQ(lbl.URLPrefix(), "");
    Click(lbl);
    ASSERT_EQ(desk.opened.size(), 2u);
    EXPECT_EQ(desk.opened[0], QUrl(QStringLiteral("http://www.example.org/news")));
    EXPECT_EQ(desk.opened[1], QUrl::fromLocalFile(QStringLiteral("/tmp/read me.txt")));
    EXPECT_EQ(TVrnURLLabel::Prefix(utFTP), "ftp://");
    EXPECT_EQ(TVrnURLLabel::Prefix(utUNC), "\\\\");
    EXPECT_TRUE(TVrnURLLabel::OpenAddress(utUNC, "server\\share\\file.ram"));
    EXPECT_EQ(desk.opened.back(), QUrl(QStringLiteral("smb://server/share/file.ram")));
    EXPECT_FALSE(TVrnURLLabel::OpenAddress(utNONE, "www.example.org"));
    EXPECT_EQ(desk.opened.size(), 3u);
}

TEST(URLLabel, FormHandlerReplacesOpening) {
    Desktop desk;
    TVrnURLLabel lbl;
    lbl.resize(200, 20);
    int own = 0;
    lbl.SetOnClick([&] { ++own; });
    Click(lbl);
    EXPECT_EQ(own, 1);
    EXPECT_TRUE(desk.opened.empty());
}

TEST(URLLabel, HighlightFontWhileTheMouseIsOver) {
    TVrnURLLabel lbl;
    QFont normal = lbl.font();
    TVrnFont hl{normal, Qt::white};
    hl.Font.setBold(true);
    hl.Font.setUnderline(true);
    lbl.SetHighlightFont(hl);
    const QColor before = lbl.palette().color(QPalette::WindowText);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&lbl, &enter);
    EXPECT_TRUE(lbl.font().underline());
    EXPECT_TRUE(lbl.font().bold());
    EXPECT_EQ(lbl.palette().color(QPalette::WindowText), QColor(Qt::white));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&lbl, &leave);
    EXPECT_FALSE(lbl.font().underline());
    EXPECT_EQ(lbl.palette().color(QPalette::WindowText), before);
}

TEST(URLLabel, DefaultHighlightIsUnderlinedBlue) {
    TVrnURLLabel lbl;
    EXPECT_TRUE(lbl.HighlightFont().Font.underline());
    EXPECT_EQ(lbl.HighlightFont().Color, QColor(0, 0, 255));
}

TEST(TreeView, HotItemDrawnInHotTrackColour) {
    TVrnTreeView tree;
    tree.resize(200, 100);
    QPalette pal = tree.palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, Qt::white);
    tree.setPalette(pal);
    QFont f = tree.font();
    f.setStyleStrategy(QFont::NoAntialias);
    tree.setFont(f);
    auto* adam = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Adam")});
    new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Idris")});
    tree.SetHotTrackColor(QColor(255, 0, 0));
    tree.show();
    auto count = [&](const QColor& c) {
        QImage img = tree.grab().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == c;
        return n;
    };
    EXPECT_EQ(count(QColor(255, 0, 0)), 0);
    tree.SetHotItem(adam);
    EXPECT_EQ(tree.HotItem(), adam);
    EXPECT_GT(count(QColor(255, 0, 0)), 10);
    tree.SetHotItem(nullptr);
    EXPECT_EQ(count(QColor(255, 0, 0)), 0);
}

TEST(TreeView, HotAndSelectedShowOneLook) {
    TVrnTreeView tree;
    tree.resize(200, 100);
    const QColor bar(0, 0, 200), base(Qt::black);
    QPalette pal = tree.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Base, base);
        pal.setColor(group, QPalette::Text, Qt::white);
        pal.setColor(group, QPalette::Highlight, bar);
        pal.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    tree.setPalette(pal);
    QFont f = tree.font();
    f.setStyleStrategy(QFont::NoAntialias);
    tree.setFont(f);
    auto* adam = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Adam")});
    new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Idris")});
    tree.SetHotTrackColor(QColor(255, 0, 0));
    tree.show();
    tree.setCurrentItem(adam);
    tree.SetHotItem(adam);
    const QImage img = tree.viewport()->grab().toImage();
    const QRect row = tree.visualItemRect(adam);
    // Across the whole row: the bar and the selected text colour, nothing else
    // (no plain patch behind the text, no hot colour).
    int onBar = 0, text = 0, other = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= std::min(row.right(), img.width() - 1); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c == bar) ++onBar;
            else if (c == QColor(Qt::white)) ++text;
            else ++other;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(text, 10);
    EXPECT_GT(onBar, row.width() * row.height() / 2);
    // The underline runs under the text.
    int underline = 0;
    for (int y = row.top() + row.height() / 2; y <= row.bottom(); ++y) {
        int run = 0;
        for (int x = row.left(); x < std::min(row.right(), img.width()); ++x)
            run = img.pixelColor(x, y) == QColor(Qt::white) ? run + 1 : run;
        underline = std::max(underline, run);
    }
    EXPECT_GT(underline, 15);
    // A modal dialog takes the mouse away: the item is no longer hot after it.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&tree, &deactivate);
    EXPECT_EQ(tree.HotItem(), nullptr);
}

} // namespace
