// The news window against servers on 127.0.0.1: one started by the test, and
// halvora-pack serve over the sample folder the project ships.
#include "controls/vrnbutton.h"
#include "controls/vrntreeview.h"
#include "net/newsform_ui.h"
#include "platform/desktop_ui.h"
#include "support/loopback_server.h"
#include "support/pack_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const std::string kMarker = "<[Tarnwick Direct - Data Service]>";

std::vector<std::string> TreeTexts(QTreeWidget* tree) {
    std::vector<std::string> t;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        t.push_back(std::string((*it)->parent() ? "  " : "") + (*it)->text(0).toStdString());
    return t;
}

QTreeWidgetItem* Find(QTreeWidget* tree, const QString& text) {
    auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void Shot(QWidget& w, const char* name) {
    QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    QApplication::processEvents();
    QString file = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
    EXPECT_TRUE(w.grab().save(file)) << file.toStdString();
}

class NewsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetShellOpenHandler([this](const QUrl& u) {
            opened_.push_back(u.toString().toStdString());
            return true;
        });
    }
    void TearDown() override { SetShellOpenHandler(nullptr); }

    TLoopbackServer server_{[](const std::string& line) {
        if (line.find(kSitesPath) != std::string::npos)
            return TLoopbackServer::TReply{TLoopbackServer::Reply(
                200, "OK", kMarker + "\r\nhttp://example.test/sites\r\nfaq<|>Questions\r\n")};
        return TLoopbackServer::TReply{TLoopbackServer::Reply(
            200, "OK", kMarker + "\r\nhttp://example.test/news\r\n7<|>http://example.test/7<|>Release 7\r\n")};
    }};
    std::vector<std::string> opened_;
};

TEST_F(NewsFormTest, LayoutAndTheTimerFromCreation) {
    TfrmNews w;
    EXPECT_EQ(w.windowTitle(), "Tarnwick Direct");
    EXPECT_EQ(w.minimumSize(), QSize(440, 280));
    EXPECT_EQ(w.chkStartUp->text(), "In Future, Show News at startup, if connection found");
    EXPECT_TRUE(w.tmrNewsUpdate.isActive());
    EXPECT_EQ(w.tmrNewsUpdate.interval(), 300000);
    EXPECT_EQ(w.trvNews->HotTrackColor(), QColor(Qt::green));
    EXPECT_EQ(w.Server, "localhost:8020");
    w.show();
    w.close();
    EXPECT_FALSE(w.tmrNewsUpdate.isActive()) << "closing stops the updates";
    w.Server = server_.Address();
    w.btnUpdateClick();
    EXPECT_TRUE(w.tmrNewsUpdate.isActive()) << "an update starts them again";
    // A tick runs the same update (the five minutes shortened for the test).
    w.trvNews->clear();
    size_t before = server_.Requests().size();
    w.tmrNewsUpdate.setInterval(20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.trvNews->topLevelItemCount() == 2; }, 3000));
    EXPECT_GE(server_.Requests().size(), before + 2);
}

TEST_F(NewsFormTest, UpdateFillsTheTreeAndClicksOpenAddresses) {
    TfrmNews w;
    w.Server = server_.Address();
    w.show();
    Shot(w, "news-before.png");
    // What the window shows while the requests wait for the server.
    QString during;
    bool enabledDuring = true;
    QTimer::singleShot(0, &w, [&] {
        during = w.StatusBar->currentMessage();
        enabledDuring = w.btnUpdate->isEnabled();
    });
    QTest::mouseClick(w.btnUpdate, Qt::LeftButton);
    EXPECT_EQ(during, "Connecting to Tarnwick Server");
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(w.btnUpdate->isEnabled());
    EXPECT_TRUE(w.StatusBar->currentMessage().isEmpty());
    EXPECT_EQ(TreeTexts(w.trvNews),
              (std::vector<std::string>{"Project News", "  Release 7", "Internet Sites", "  Questions"}));
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{"GET " + std::string(kNewsPath) + "?N=3 HTTP/1.1",
                                                            "GET " + std::string(kSitesPath) + " HTTP/1.1"}));
    Shot(w, "news-after.png");
    for (const char* text : {"Release 7", "Questions", "Project News", "Internet Sites"}) {
        QTreeWidgetItem* item = Find(w.trvNews, text);
        ASSERT_NE(item, nullptr) << text;
        QRect r = w.trvNews->visualItemRect(item);
        QTest::mouseClick(w.trvNews->viewport(), Qt::LeftButton, {}, r.center());
    }
    EXPECT_EQ(opened_, (std::vector<std::string>{"http://example.test/7", "http://example.test/sites#faq",
                                                 "http://example.test/news", "http://example.test/sites"}));
}

TEST_F(NewsFormTest, AnUnreachableServerShowsTheNoticeAndStaysHiddenAtStartUp) {
    TfrmNews w;
    w.Server = "127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort());
    w.ShowIfConnected();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.trvNews->topLevelItemCount(), 0);
    w.show();
    w.btnUpdateClick();
    EXPECT_EQ(TreeTexts(w.trvNews), std::vector<std::string>{"Internet connection unavailable"});
    Shot(w, "news-unavailable.png");
    QTreeWidgetItem* notice = w.trvNews->topLevelItem(0);
    QTest::mouseClick(w.trvNews->viewport(), Qt::LeftButton, {}, w.trvNews->visualItemRect(notice).center());
    EXPECT_TRUE(opened_.empty());
    // Reachable: shown and updated.
    TfrmNews reachable;
    reachable.Server = server_.Address();
    reachable.ShowIfConnected();
    EXPECT_TRUE(reachable.isVisible());
    EXPECT_EQ(reachable.trvNews->topLevelItemCount(), 2);
}

TEST_F(NewsFormTest, StartUpCheckBoxFollowsTheSettingAndRaisesItsEvent) {
    TfrmNews w;
    std::vector<bool> raised;
    w.ShowAtStartUp = true;
    w.show();
    EXPECT_TRUE(w.chkStartUp->isChecked());
    w.hide();
    w.ShowAtStartUp = false;
    w.show();
    EXPECT_FALSE(w.chkStartUp->isChecked());
    QTest::mouseClick(w.chkStartUp, Qt::LeftButton, {}, QPoint(6, w.chkStartUp->height() / 2));
    EXPECT_TRUE(w.ShowAtStartUp) << "no owner: only the window's state changes";
    w.OnStartUpChange = [&](bool on) { raised.push_back(on); };
    QTest::mouseClick(w.chkStartUp, Qt::LeftButton, {}, QPoint(6, w.chkStartUp->height() / 2));
    EXPECT_EQ(raised, std::vector<bool>{false});
}

TEST_F(NewsFormTest, ReadsTheSampleFolderFromThePublishersServer) {
    TPackServer pack(HALVORA_SOURCE_DIR "/share/news");
    ASSERT_GT(pack.Port(), 0) << pack.Banner();
    TfrmNews w;
    w.Server = pack.Address();
    w.ShowIfConnected();
    ASSERT_TRUE(w.isVisible());
    std::vector<std::string> texts = TreeTexts(w.trvNews);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Project News");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Internet Sites"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "  Halvora 1.5 released"), texts.end());
    Shot(w, "news-sample.png");
    QTreeWidgetItem* item = Find(w.trvNews, "The Halvora reader");
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(w.trvNews->viewport(), Qt::LeftButton, {}, w.trvNews->visualItemRect(item).center());
    EXPECT_EQ(opened_, std::vector<std::string>{"http://halvora.example.org/sites.html#reader"});
}

} // namespace
