// "halvora-pack serve" over a folder written by the test, asked over loopback.
#include "net/http.h"
#include "net/news.h"
#include "support/pack_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class ServeTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/hvserveXXXXXX";
        root_ = mkdtemp(tmpl);
        folder_ = root_ + "/site";
        fs::create_directories(folder_ + "/Quran_RAM");
        Write(folder_ + "/news.txt", "<[Tarnwick Direct - Data Service]>\r\nhttp://n/\r\n1<|>http://n/1<|>One\r\n");
        Write(folder_ + "/sites.txt", "<[Tarnwick Direct - Data Service]>\r\nhttp://s/\r\nfaq<|>Questions\r\n");
        Write(folder_ + "/Quran_RAM/Q001001.ram", "pnm://example/001001.ra\n");
        Write(root_ + "/secret.txt", "secret");
    }
    void TearDown() override { fs::remove_all(root_); }
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string root_, folder_;
};

std::string Get(const std::string& url, std::string* header = nullptr) {
    std::string body, h;
    EXPECT_TRUE(HttpGet({url}, body, h)) << url;
    if (header) *header = h;
    return body;
}

TEST_F(ServeTest, AnswersTheNewsAndRecitationRequests) {
    TPackServer server(folder_);
    ASSERT_GT(server.Port(), 0) << server.Banner();
    EXPECT_NE(server.Banner().find("http://127.0.0.1:"), std::string::npos);
    std::string header;
    EXPECT_EQ(Get(server.Address() + kNewsPath + "?N=3", &header),
              "<[Tarnwick Direct - Data Service]>\r\nhttp://n/\r\n1<|>http://n/1<|>One\r\n");
    EXPECT_EQ(ParseHttpStatus(header), hsOK);
    EXPECT_EQ(Get(server.Address() + kSitesPath),
              "<[Tarnwick Direct - Data Service]>\r\nhttp://s/\r\nfaq<|>Questions\r\n");
    std::string body;
    EXPECT_EQ(HttpDownload(server.Address(), "/Quran_RAM/Q001001.ram", "", "", body, header), hsOK);
    EXPECT_EQ(body, "pnm://example/001001.ra\n");
    EXPECT_EQ(HttpDownload(server.Address(), "/Quran_RAM/Q001002.ram", "", "", body, header), hsNotFound);
    EXPECT_EQ(HttpDownload(server.Address(), "/news.txt", "", "", body, header), hsNotFound);
    // A news folder without its files is a 404 too.
    fs::remove(folder_ + "/news.txt");
    EXPECT_EQ(HttpDownload(server.Address(), kNewsPath, "", "", body, header), hsNotFound);
}

TEST_F(ServeTest, RefusesPathsThatLeaveTheFolder) {
    TPackServer server(folder_);
    ASSERT_GT(server.Port(), 0) << server.Banner();
    for (const char* path : {"/Quran_RAM/../../secret.txt", "/Quran_RAM/..%2F..%2Fsecret.txt",
                             "/Quran_RAM/%2E%2E/%2E%2E/secret.txt", "/Quran_RAM/..", "/Quran_RAM/",
                             "/../secret.txt", "/Quran_RAM/%2Ftmp%2Fx"}) {
        std::string reply = server.RawRequest(std::string("GET ") + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(reply.find("secret"), std::string::npos) << path;
        EXPECT_TRUE(reply.rfind("HTTP/1.1 4", 0) == 0) << path << ": " << reply.substr(0, 40);
    }
}

} // namespace
