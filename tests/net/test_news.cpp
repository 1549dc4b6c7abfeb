// The news manager against replies from a server on 127.0.0.1 started by the test.
#include "net/news.h"
#include "platform/uihooks.h"
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::string kMarker = "<[Tarnwick Direct - Data Service]>";

// Serves the news and sites paths from a map of path → reply body (200);
// a path without a body gets a 404 page.
class TNewsServer {
public:
    std::map<std::string, std::string> Bodies;
    TLoopbackServer Server{[this](const std::string& line) {
        std::string path = line.substr(4, line.rfind(' ') - 4);
        auto it = Bodies.find(path);
        if (it == Bodies.end())
            return TLoopbackServer::TReply{TLoopbackServer::Reply(404, "Not Found", "<html>404</html>")};
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", it->second)};
    }};
    std::string News() const { return Server.Address() + kNewsPath; }
    std::string Sites() const { return Server.Address() + kSitesPath; }
};

std::vector<std::string> Texts(const TOutline& nodes) {
    std::vector<std::string> t;
    for (const auto& n : nodes) t.push_back(std::string(n.Parent < 0 ? "" : "  ") + n.Text);
    return t;
}

TEST(NewsManagerTest, ParsesBothRepliesAndBuildsTheTree) {
    TNewsManager m;
    TNewsServer s;
    s.Bodies[std::string(kNewsPath) + "?N=3"] =
        "  <[TARNWICK direct - data service]>  \r\nhttp://n.example/news\r\n"
        " 7 <|> http://n.example/7 <|>  Seven  \n"
        "x <|> http://n.example/x <|> Not a number\r"
        "-1<|>http://n.example/minus<|>Minus one\r\n";
    s.Bodies[kSitesPath] = kMarker + "\nhttp://n.example/sites\nfaq<|>Questions\n <|> Spaced \nno separator\n";
    m.RequestNews(s.News(), 3);
    EXPECT_TRUE(m.Connected);
    EXPECT_EQ(m.NewsPageURL, "http://n.example/news");
    ASSERT_EQ(m.NewsItems.size(), 3u);
    EXPECT_EQ(m.NewsItems[0].NewsID, 7);
    EXPECT_EQ(m.NewsItems[0].URL, "http://n.example/7");
    EXPECT_EQ(m.NewsItems[0].Title, "Seven");
    EXPECT_EQ(m.NewsItems[1].NewsID, 0);
    EXPECT_EQ(m.NewsItems[2].NewsID, -1);
    m.RequestSites(s.Sites());
    EXPECT_TRUE(m.Connected);
    EXPECT_FALSE(m.ServerBusy);
    EXPECT_EQ(m.SitesPageURL, "http://n.example/sites");
    ASSERT_EQ(m.SiteItems.size(), 3u);
    EXPECT_EQ(m.SiteItems[0].Anchor, "faq");
    EXPECT_EQ(m.SiteItems[0].Name, "Questions");
    EXPECT_EQ(m.SiteItems[1].Anchor, " ") << "site parts are not trimmed";
    EXPECT_EQ(m.SiteItems[1].Name, " Spaced ");
    EXPECT_EQ(m.SiteItems[2].Anchor, "");
    EXPECT_EQ(m.SiteItems[2].Name, "");
    TOutline tree = m.FillTree();
    EXPECT_EQ(Texts(tree), (std::vector<std::string>{"Project News", "  Seven", "  Not a number", "  Minus one",
                                                     "Internet Sites", "  Questions", "   Spaced ", "  "}));
    EXPECT_EQ(tree[0].Data, -10);
    EXPECT_EQ(tree[0].ImageIndex, 0);
    EXPECT_EQ(tree[1].Data, 7);
    EXPECT_EQ(tree[1].ImageIndex, 1);
    EXPECT_EQ(tree[4].Data, -20);
    EXPECT_EQ(tree[4].ImageIndex, 2);
    EXPECT_EQ(tree[5].Data, -40);
    EXPECT_EQ(tree[5].Parent, 4);
    EXPECT_EQ(s.Server.Requests()[0], "GET " + std::string(kNewsPath) + "?N=3 HTTP/1.1");
}

TEST(NewsManagerTest, RepliesThatAreNotAcceptedLeaveTheNotice) {
    struct TCase {
        const char* Name;
        std::string Body;  // empty: no body at all (404 page)
        bool Busy;
    };
    const TCase cases[] = {
        {"404 page", "", true},
        {"no marker", "<html>busy</html>\nhttp://x\n1<|>u<|>t", true},
        {"one line", kMarker, true},
        {"empty", " ", true},
        {"news line with two fields", kMarker + "\nhttp://x\n1<|>only", true},
        {"two lines", kMarker + "\nhttp://x/news", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TNewsServer s;
        if (!c.Body.empty()) s.Bodies[std::string(kNewsPath) + "?N=3"] = c.Body;
        TNewsManager m;
        m.RequestNews(s.News(), 3);
        EXPECT_EQ(m.ServerBusy, c.Busy);
        EXPECT_EQ(m.Connected, !c.Busy);
        EXPECT_TRUE(m.NewsItems.empty());
        if (c.Busy) {
            EXPECT_EQ(Texts(m.FillTree()), std::vector<std::string>{"Server Busy/Unavailable"});
        } else {
            EXPECT_EQ(m.NewsPageURL, "http://x/news");
        }
    }
}

TEST(NewsManagerTest, TheSitesRequestDecidesTheTree) {
    TNewsServer s;
    s.Bodies[std::string(kNewsPath) + "?N=3"] = kMarker + "\nhttp://x\n1<|>http://x/1<|>One";
    TNewsManager m;
    // News accepted, then sites failing: only the failure notice.
    m.RequestNews(s.News(), 3);
    m.RequestSites("127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort()) + kSitesPath);
    EXPECT_FALSE(m.Connected);
    EXPECT_FALSE(m.ServerBusy);
    TOutline tree = m.FillTree();
    EXPECT_EQ(Texts(tree), std::vector<std::string>{"Internet connection unavailable"});
    EXPECT_EQ(tree[0].Data, 0);
    EXPECT_EQ(tree[0].ImageIndex, 3);
    // News failing, then sites accepted: an empty news branch, then the sites.
    s.Bodies.erase(std::string(kNewsPath) + "?N=3");
    s.Bodies[kSitesPath] = kMarker + "\nhttp://x/sites\nfaq<|>Questions";
    m.RequestNews("127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort()) + kNewsPath, 3);
    m.RequestSites(s.Sites());
    EXPECT_EQ(Texts(m.FillTree()), (std::vector<std::string>{"Project News", "Internet Sites", "  Questions"}));
}

TEST(NewsManagerTest, NodeClicksOpenTheRightAddresses) {
    TUiHooks saved = UiHooks();
    std::vector<std::string> opened;
    UiHooks().ShellOpen = [&](const std::string& t) {
        opened.push_back(t);
        return true;
    };
    TNewsManager m;
    m.NewsPageURL = "http://x/news";
    m.SitesPageURL = "http://x/sites";
    m.NewsItems = {{"Seven", 7, "http://x/7"}, {"Minus", -1, "http://x/minus"}};
    m.SiteItems = {{"Questions", "faq"}, {"No anchor", ""}};
    m.OpenNode(7, "Seven");
    m.OpenNode(-1, "Minus");           // cannot be opened
    m.OpenNode(-10, "Project News");
    m.OpenNode(-20, "Internet Sites");
    m.OpenNode(-40, "Questions");
    m.OpenNode(-40, "No anchor");
    m.OpenNode(-40, "questions");      // names compare exactly
    EXPECT_EQ(opened, (std::vector<std::string>{"http://x/7", "http://x/news", "http://x/sites",
                                                "http://x/sites#faq"}));
    // An entry whose identifier equals a branch's value wins over the branch.
    m.NewsItems.push_back({"Odd", -10, "http://x/odd"});
    m.NewsItems.push_back({"Odd site", -40, "http://x/odd-site"});
    opened.clear();
    m.OpenNode(-10, "Project News");
    m.OpenNode(-40, "Questions");
    EXPECT_EQ(opened, (std::vector<std::string>{"http://x/odd", "http://x/odd-site"}));
    EXPECT_EQ(m.FindNewsItem(99).NewsID, -1);
    EXPECT_EQ(m.FindSite("nobody").Anchor, "");
    UiHooks() = saved;
}

TEST(NewsManagerTest, OpenURLOpensOnlyWebAddresses) {
    TUiHooks saved = UiHooks();
    std::vector<std::string> opened;
    UiHooks().ShellOpen = [&](const std::string& t) {
        opened.push_back(t);
        return true;
    };
    EXPECT_TRUE(OpenURL("http://x/a"));
    EXPECT_TRUE(OpenURL("HTTPS://x/b"));
    EXPECT_TRUE(OpenURL("halvora.example.org/news"));
    EXPECT_TRUE(OpenURL("localhost:8020/page"));
    for (const char* refused : {"file:///etc/passwd", "/usr/bin/xterm", "javascript:alert(1)", "mailto:a@b", ""})
        EXPECT_FALSE(OpenURL(refused)) << refused;
    EXPECT_EQ(opened, (std::vector<std::string>{"http://x/a", "HTTPS://x/b", "http://halvora.example.org/news",
                                                "http://localhost:8020/page"}));
    UiHooks() = saved;
}

TEST(NewsManagerTest, ReachableIsAnyReplyToTheSitesRequest) {
    TNewsServer s; // every path answers 404: still reachable
    EXPECT_TRUE(NewsServerReachable(s.Server.Address()));
    EXPECT_EQ(s.Server.Requests().back(), "GET " + std::string(kSitesPath) + " HTTP/1.1");
    EXPECT_FALSE(NewsServerReachable("127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort())));
}

} // namespace
