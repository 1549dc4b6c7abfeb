// The recitation module over a table written by the test, downloading from a
// server on 127.0.0.1 started by the test.
#include "net/http.h"
#include "net/recitation.h"
#include "platform/uihooks.h"
#include "storage/modules.h"
#include "support/edition_fixture.h"
#include "support/loopback_server.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string VerseName(int n) { return "R" + std::to_string(n) + ".ram"; }

// The stored table: four header lines, then the given names (entry 1 first).
TStringList TableLines(const TStringList& names) {
    TStringList lines = {"<<N:test>>", "<<V:1>>", "<<F:x>>", "<<C:" + std::to_string(names.size()) + ">>"};
    lines.insert(lines.end(), names.begin(), names.end());
    EncipherLines(lines);
    return lines;
}

TStringList Names(int count) {
    TStringList names;
    for (int n = 1; n <= count; ++n) names.push_back(VerseName(n));
    return names;
}

struct TBusyRecorder : TfrmMainBase {
    void HandleLink(const std::string&) override {}
    void SetBusyState(uint8_t state) override { States.push_back(state); }
    std::vector<int> States;
};

class RecitationTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = UiHooks();
        UiHooks().ShowMessageDialog = [this](uint8_t kind, int32_t height, uint16_t buttons,
                                             const std::string& message, const std::string& heading, bool) {
            messages_.push_back({kind, height, buttons, message, heading});
            return answer_;
        };
        UiHooks().ShellOpen = [this](const std::string& target) {
            opened_.push_back(target);
            return true;
        };
        cache_ = folder_.Path() + "cache/";
    }
    void TearDown() override { UiHooks() = saved_; }

    // A loaded module over a table of the given names.
    std::unique_ptr<TQRemoteAudio> Module(const TStringList& names, const std::string& server = {}) {
        WriteFileLines(folder_.Path() + kRecitationFileName, TableLines(names));
        auto m = std::make_unique<TQRemoteAudio>(&busy_, FileSignature(folder_.Path() + kRecitationFileName));
        m->CacheFolder = cache_;
        m->Server = server;
        m->Load();
        return m;
    }

    struct TMessage {
        int Kind, Height, Buttons;
        std::string Text, Heading;
    };
    TFixtureFolder folder_;
    TUiHooks saved_;
    std::vector<TMessage> messages_;
    std::vector<std::string> opened_;
    int answer_ = mrOk;
    TBusyRecorder busy_;
    std::string cache_;
};

TEST_F(RecitationTest, LoadTakesEveryEntryAndMakesTheCacheFolder) {
    auto m = Module(Names(20));
    EXPECT_EQ(m->Count(), 20);
    EXPECT_FALSE(m->Damaged());
    EXPECT_EQ(m->GetFileName(1, 1), "R1.ram");
    EXPECT_EQ(m->GetFileName(1, 7), "R7.ram");
    EXPECT_EQ(m->GetFileName(2, 1), "R8.ram");
    EXPECT_EQ(m->GetFileName(2, 13), "R20.ram");
    EXPECT_EQ(m->GetFileName(2, 14), "") << "past the table: empty";
    EXPECT_THROW(m->GetFileName(0, 0), ERangeError);
    EXPECT_THROW(m->GetFileName(1, 8), ERangeError) << "surah 1 has 7 verses";
    EXPECT_THROW(m->GetFileName(115, 1), ERangeError);
    EXPECT_TRUE(FolderExists(cache_));
}

TEST_F(RecitationTest, DamagedOrOverlongTablesEndTheLoadWithoutTheFolder) {
    // A line that is not a stored line anywhere (even in the header) leaves no entry.
    for (size_t bad : {size_t(1), size_t(9)}) {
        TStringList lines = TableLines(Names(10));
        lines[bad].insert(3, "!");
        WriteFileLines(folder_.Path() + kRecitationFileName, lines);
        TQRemoteAudio m(nullptr, "");
        m.CacheFolder = cache_;
        m.Load();
        EXPECT_TRUE(m.Damaged()) << bad;
        EXPECT_EQ(m.Count(), 0) << bad;
        EXPECT_EQ(m.FileName(1), "") << bad;
        EXPECT_FALSE(FolderExists(cache_)) << bad;
    }
    // More lines than verses: the first 6236 entries, no folder.
    TStringList names = Names(6238);
    auto m = Module(names);
    EXPECT_FALSE(m->Damaged());
    EXPECT_EQ(m->Count(), 6236);
    EXPECT_EQ(m->GetFileName(114, 6), "R6236.ram");
    EXPECT_FALSE(FolderExists(cache_));
    // A missing file: nothing, silently.
    fs::remove(folder_.Path() + kRecitationFileName);
    m->Load();
    EXPECT_EQ(m->Count(), 0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RecitationTest, DownloadsSavesAndOpens) {
    TLoopbackServer server([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "pnm://audio/001001.ra\r\n")};
    });
    auto m = Module(Names(20), server.Address());
    m->PlayReference("001.002");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /Quran_RAM/R2.ram HTTP/1.1");
    std::string saved;
    ASSERT_TRUE(ReadFileBytes(cache_ + "R2.ram", saved));
    EXPECT_EQ(saved, "pnm://audio/001001.ra\r\n");
    EXPECT_EQ(opened_, std::vector<std::string>{cache_ + "R2.ram"});
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(busy_.States, (std::vector<int>{4, 0}));
    EXPECT_EQ(fs::directory_iterator(cache_) == fs::directory_iterator(), false);
    EXPECT_EQ(std::distance(fs::directory_iterator(cache_), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(RecitationTest, ACachedVerseOpensWithTheServerDown) {
    auto m = Module(Names(20), "127.0.0.1:" + std::to_string(TLoopbackServer::ClosedPort()));
    {
        std::ofstream(cache_ + "R8.ram") << "cached";
    }
    m->PlayVerse(2, 1);
    EXPECT_EQ(opened_, std::vector<std::string>{cache_ + "R8.ram"});
    EXPECT_TRUE(messages_.empty());
    // The next verse is not cached: the closed port is reported, nothing is opened.
    m->PlayVerse(2, 2);
    EXPECT_EQ(opened_.size(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].Text.find("Reason: -\r\n\"Unable to connect to Server\"\r\n\r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(cache_ + "R9.ram"));
}

TEST_F(RecitationTest, EveryFailedDownloadShowsItsReasonAndSavesNothing) {
    struct TCase {
        std::string Reply;
        int StallMs;
        const char* Reason;
    };
    const TCase cases[] = {
        {TLoopbackServer::Reply(400, "Bad Request", "x"), 0, "Bad Request"},
        {TLoopbackServer::Reply(401, "Unauthorized", "x"), 0, "Authorisation Required"},
        {TLoopbackServer::Reply(403, "Forbidden", "x"), 0, "Forbidden by Server"},
        {TLoopbackServer::Reply(404, "Not Found", "x"), 0, "Not Found on Server"},
        {TLoopbackServer::Reply(500, "Internal Server Error", "x"), 0, "Internal Server Error"},
        {TLoopbackServer::Reply(302, "Found", "", "Location: /R1.ram\r\n"), 0, "Status Unknown"},
        {"no status line\r\n", 0, "Status Unknown"},
        {"HTTP/1.1 Fine\r\nContent-Length: 1\r\n\r\nx", 0, "Unable to connect to Server"},
        {TLoopbackServer::Reply(200, "OK", std::string(kHttpMaxBody + 10, 'x')), 0, "Unable to connect to Server"},
        {TLoopbackServer::Reply(200, "OK", "late"), 4000, "Unable to connect to Server"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reason);
        messages_.clear();
        TLoopbackServer server([&](const std::string&) { return TLoopbackServer::TReply{c.Reply, c.StallMs}; });
        auto m = Module(Names(20), server.Address());
        m->PlayVerse(1, 1);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].Kind, mkWarning);
        EXPECT_EQ(messages_[0].Height, 240);
        EXPECT_EQ(messages_[0].Buttons, mbOKOnly);
        EXPECT_EQ(messages_[0].Heading, "Remote Recitation Server Error");
        EXPECT_EQ(messages_[0].Text,
                  std::string("Ostravel was unable to download the RealAudio MetaData from the Recitation "
                              "Server.\r\n\r\nReason: -\r\n\"") +
                      c.Reason +
                      "\"\r\n\r\nCheck the \"Remote Audio\" settings which can be accessed from the "
                      "\"Options\" Menu. Please also ensure that your internet connection is active.");
        EXPECT_TRUE(opened_.empty());
        EXPECT_TRUE(fs::is_empty(cache_));
    }
}

TEST_F(RecitationTest, UnsafeNamesAreRefusedWithoutARequest) {
    TLoopbackServer server([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "owned")};
    });
    TStringList names = {"", "../escape.ram", "/tmp/abs.ram", "sub/x.ram", "a\\b.ram", "..", "ok.ram"};
    auto m = Module(names, server.Address());
    for (int v = 1; v <= 6; ++v) m->PlayVerse(1, v);
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(opened_.empty());
    ASSERT_EQ(messages_.size(), 6u);
    for (const auto& msg : messages_) EXPECT_EQ(msg.Kind, mkWarning);
    EXPECT_FALSE(fs::exists(folder_.Path() + "escape.ram"));
    EXPECT_FALSE(fs::exists("/tmp/abs.ram"));
    m->PlayVerse(1, 7);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(opened_, std::vector<std::string>{cache_ + "ok.ram"});
    for (const char* name : {"a.ram", "Q001001.ram", "x y.ram"}) EXPECT_TRUE(TQRemoteAudio::SafeCacheName(name));
}

TEST_F(RecitationTest, ClearTempFilesDeletesOnlyTheTablesFiles) {
    auto m = Module(Names(20));
    fs::create_directories(cache_ + "sub");
    for (const char* f : {"R1.ram", "R20.ram", "R21.ram", "notes.txt", "sub/R2.ram"}) std::ofstream(cache_ + f) << "x";
    fs::create_directories(cache_ + "R3.ram"); // a folder that bears a table name stays
    answer_ = mrNo;
    EXPECT_EQ(m->ClearCache(), 0);
    EXPECT_TRUE(fs::exists(cache_ + "R1.ram"));
    answer_ = mrOk; // anything but No is consent
    EXPECT_EQ(m->ClearCache(), 2);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1].Heading, "Delete Temporary files?");
    EXPECT_EQ(messages_[1].Buttons, mbYesNo);
    EXPECT_NE(messages_[1].Text.find("Would you like to delete the temporary files?"), std::string::npos);
    EXPECT_NE(messages_[1].Text.find("other files and folders"), std::string::npos);
    EXPECT_FALSE(fs::exists(cache_ + "R1.ram"));
    EXPECT_FALSE(fs::exists(cache_ + "R20.ram"));
    for (const char* f : {"R21.ram", "notes.txt", "sub/R2.ram", "R3.ram"}) EXPECT_TRUE(fs::exists(cache_ + f)) << f;
}

TEST_F(RecitationTest, VerifyComparesTheSignature) {
    auto m = Module(Names(5));
    EXPECT_TRUE(m->Verify());
    EXPECT_EQ(folder_.Reports, 0);
    TQRemoteAudio wrong(nullptr, "0000-0000-0000-0000");
    EXPECT_FALSE(wrong.Verify());
    EXPECT_EQ(folder_.Reports, 1);
    fs::remove(folder_.Path() + kRecitationFileName);
    ResetFailureShown();
    EXPECT_FALSE(m->Verify());
    EXPECT_EQ(folder_.Reports, 2);
    EXPECT_EQ(m->GetName(), "Remote Audio Recitation Module");
}

TEST_F(RecitationTest, AReferenceNamingNoVerseIsARangeError) {
    TLoopbackServer server([](const std::string&) {
        return TLoopbackServer::TReply{TLoopbackServer::Reply(200, "OK", "x")};
    });
    auto m = Module(Names(20), server.Address());
    EXPECT_THROW(m->PlayReference("abc"), ERangeError);
    EXPECT_THROW(m->PlayReference("001.999"), ERangeError);
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(busy_.States, (std::vector<int>{4, 0, 4, 0}));
}

} // namespace
