// The HTTP client against a server on 127.0.0.1 started by each test.
#include "net/http.h"
#include "support/loopback_server.h"
#include "util/errors.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>

namespace {

struct TStatusCase {
    const char* Name;
    std::string Reply;
    THttpStatus Code;
};

TEST(HttpDownloadTest, EachReplyGivesItsCode) {
    const std::string big(kHttpMaxBody + 1, 'x');
    const TStatusCase cases[] = {
        {"200", TLoopbackServer::Reply(200, "OK", "metadata"), hsOK},
        {"400", TLoopbackServer::Reply(400, "Bad Request", "no"), hsBadRequest},
        {"401", TLoopbackServer::Reply(401, "Unauthorized", "no"), hsAuthorisation},
        {"403", TLoopbackServer::Reply(403, "Forbidden", "no"), hsForbidden},
        {"404", TLoopbackServer::Reply(404, "Not Found", "no"), hsNotFound},
        {"500", TLoopbackServer::Reply(500, "Internal Server Error", "no"), hsServerError},
        {"302 is not followed", TLoopbackServer::Reply(302, "Found", "", "Location: /elsewhere\r\n"), hsUnknown},
        {"201", TLoopbackServer::Reply(201, "Created", "x"), hsUnknown},
        // A reply with no status line has no numeric status; a status line
        // without its number is refused by the client.
        {"no status line", "just some text\r\n", hsUnknown},
        {"status without a number", "HTTP/1.1 OK\r\nContent-Length: 2\r\n\r\nhi", hsConnectFailed},
        {"status line without a reason", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nhi", hsOK},
        {"body over the limit, length given", TLoopbackServer::Reply(200, "OK", big), hsConnectFailed},
        {"body over the limit, no length",
         "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big, hsConnectFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TLoopbackServer server([&](const std::string&) { return TLoopbackServer::TReply{c.Reply}; });
        std::string body = "stale", header = "stale";
        THttpStatus code = HttpDownload(server.Address(), "/Quran_RAM/Q001001.ram", "", "", body, header);
        EXPECT_EQ(code, c.Code);
        ASSERT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(server.Requests()[0], "GET /Quran_RAM/Q001001.ram HTTP/1.1");
        if (c.Code == hsOK) {
            EXPECT_EQ(body, c.Reply.substr(c.Reply.find("\r\n\r\n") + 4));
        }
        if (c.Code != hsConnectFailed && c.Reply.rfind("HTTP/1.1 ", 0) == 0 && std::isdigit(c.Reply[9])) {
            EXPECT_EQ(header.substr(0, 12), c.Reply.substr(0, 12)) << "status line first";
        }
        if (c.Code == hsConnectFailed) {
            EXPECT_LE(body.size(), kHttpMaxBody);
        }
    }
}

TEST(HttpDownloadTest, AStalledReplyEndsAtTheTimeOut) {
    TLoopbackServer server([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "late"), 6000};
    });
    std::string body, header;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpDownload(server.Address(), "/x", "", "", body, header), hsConnectFailed);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, kHttpTimeOutMs - 100);
    EXPECT_LT(ms, 5000);
    EXPECT_TRUE(body.empty());
}

TEST(HttpDownloadTest, AClosedPortCannotConnect) {
    std::string body, header;
    EXPECT_EQ(HttpDownload("127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort()), "/x", "", "",
                           body, header),
              hsConnectFailed);
    EXPECT_TRUE(header.empty());
}

TEST(HttpDownloadTest, PathGetsItsLeadingSlashAndAnEmptyPathIsARangeError) {
    TLoopbackServer server([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "")};
    });
    std::string body, header;
    EXPECT_EQ(HttpDownload(server.Address(), "news.txt", "", "", body, header), hsOK);
    EXPECT_EQ(HttpDownload("http://" + server.Address(), "/with-scheme", "", "", body, header), hsOK);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0], "GET /news.txt HTTP/1.1");
    EXPECT_EQ(server.Requests()[1], "GET /with-scheme HTTP/1.1");
    EXPECT_THROW(HttpDownload(server.Address(), "", "", "", body, header), ERangeError);
}

TEST(HttpDownloadTest, AProxyGetsTheWholeAddress) {
    // The loopback server plays the proxy; the target host is never contacted.
    TLoopbackServer proxy([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "via proxy")};
    });
    std::string body, header;
    EXPECT_EQ(HttpDownload("recitation.invalid", "/Quran_RAM/a.ram", "127.0.0.1",
                           std::to_string(proxy.Port()), body, header),
              hsOK);
    EXPECT_EQ(body, "via proxy");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0], "GET http://recitation.invalid/Quran_RAM/a.ram HTTP/1.1");
}

TEST(HttpDownloadTest, ProxyPortText) {
    EXPECT_EQ(ProxyPortFromText(""), 8080);
    EXPECT_EQ(ProxyPortFromText("abc"), 8080);
    EXPECT_EQ(ProxyPortFromText("3128"), 3128);
    EXPECT_EQ(ProxyPortFromText(" 81 "), 81);
    EXPECT_EQ(ProxyPortFromText("70000"), 8080);
    EXPECT_EQ(ProxyPortFromText("0"), 8080);
}

TEST(HttpStatusTest, ParseAndText) {
    EXPECT_EQ(ParseHttpStatus("HTTP/1.0 200 OK\r\nServer: x\r\n"), hsOK);
    EXPECT_EQ(ParseHttpStatus("HTTP/1.1 404 Not Found\r\n"), hsNotFound);
    EXPECT_EQ(ParseHttpStatus("HTTP/1.1 302 Found\r\n"), hsUnknown);
    EXPECT_EQ(ParseHttpStatus("noblank"), hsUnknown);
    EXPECT_EQ(ParseHttpStatus(""), hsUnknown);
    EXPECT_EQ(ParseHttpStatus("HTTP/1.1  200 OK"), hsUnknown);
    // Only the status line is read: a number further down does not count.
    EXPECT_EQ(ParseHttpStatus("HTTP/1.1\r\nX: 200 OK\r\n"), hsUnknown);
    const char* texts[] = {"OK", "Unable to connect to Server", "Bad Request", "Authorisation Required",
                           "Forbidden by Server", "Not Found on Server", "Internal Server Error"};
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(HttpStatusText(i), texts[i]);
    EXPECT_EQ(HttpStatusText(7), "Status Unknown");
    EXPECT_EQ(HttpStatusText(-1), "Status Unknown");
    EXPECT_EQ(HttpStatusText(255), "Status Unknown");
}

} // namespace
