#include "tools/bookmarkfile.h"

#include "storage/cipher.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

void PrintTo(const TBookmark& b, std::ostream* os) { *os << "{" << FormatBookmarkRecord(b) << "}"; }

namespace {

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/hvbookXXXXXX";
        path = std::string(mkdtemp(tmpl)) + "/";
    }
    ~TempDir() { fs::remove_all(path); }
};

std::string Bytes(const std::string& file) {
    std::string b;
    EXPECT_TRUE(ReadFileBytes(file, b)) << file;
    return b;
}

// A file of the given plain records, line k enciphered under key k.
std::string FileOf(const TStringList& records) {
    std::string out;
    for (size_t k = 0; k < records.size(); ++k) out += EncipherText(records[k], int32_t(k)) + "\r\n";
    return out;
}

const std::vector<TBookmark> kEveryType = {
    {btSubTopic, "Nuh (pbuh)", "The Ark", {"003+001"}},
    {btExcerpt, "Nuh (pbuh)", "Nuh (pbuh) - Qur'an 011.040", {"003*000"}},
    {btCommentary, "A note", "On the flood", {}},
    {btGlossaryTerm, "Iblis", "Glossary Term: Iblis", {"Iblis"}},
    {btSearchTerm, "Patience", "Search Term: sabr", {"sabr", "12", "Y"}},
};

} // namespace

TEST(BookmarkFile, RecordsOfEveryTypeAndBack) {
    const char* const expected[] = {
        "0||Nuh (pbuh)||The Ark||003+001",
        "1||Nuh (pbuh)||Nuh (pbuh) - Qur'an 011.040||003*000",
        "2||A note||On the flood||", // nothing after the description but the separator
        "3||Iblis||Glossary Term: Iblis||Iblis",
        "4||Patience||Search Term: sabr||sabr||12||Y",
    };
    for (size_t i = 0; i < kEveryType.size(); ++i) {
        EXPECT_EQ(FormatBookmarkRecord(kEveryType[i]), expected[i]);
        EXPECT_EQ(ParseBookmarkRecord(expected[i]), kEveryType[i]) << expected[i];
    }
    EXPECT_STREQ(TypeNames[btCommentary], "Commentary");
    EXPECT_STREQ(TypeNames[btSearchTerm], "Search Term");
    // Fields are trimmed; fields beyond the type's are ignored.
    TBookmark b = ParseBookmarkRecord(" 3 ||  Iblis\t|| Glossary Term: Iblis ||Iblis||extra");
    EXPECT_EQ(b, kEveryType[3]);
}

TEST(BookmarkFile, RecordsThatAreNotBookmarks) {
    const char* const bad[] = {
        "",                       // no type
        "x||a||b||c",             // a type that is not a number
        "5||a||b||c",             // out of range
        "-1||a||b||c",
        "0||a||b",                // a sub-topic without its target
        "4||a||b||c||d",          // a search term with two of its three fields
        "2||a",                   // even a commentary has a description
    };
    for (const char* r : bad) EXPECT_THROW(ParseBookmarkRecord(r), EBookmarkFileError) << r;
}

TEST(BookmarkFile, FieldsAlwaysReadBackAsWritten) {
    // A name the reader types may hold bars; the record must still split the same way.
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"a||b", "a|b"}, {"|a|", "a"}, {"a|||", "a"}, {" a | b ", "a | b"}, {"||", ""}, {"a|b", "a|b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BookmarkFieldText(c.typed), c.stored) << c.typed;
        TBookmark b{btGlossaryTerm, c.typed, c.typed, {c.typed}};
        TBookmark back = ParseBookmarkRecord(FormatBookmarkRecord(b));
        EXPECT_EQ(back.Name, c.stored) << c.typed;
        EXPECT_EQ(back.Description, c.stored);
        EXPECT_EQ(back.Fields, TStringList{c.stored});
    }
}

TEST(BookmarkFile, WritesLinesUnderTheirIndexAndReadsThemBack) {
    TempDir d;
    const std::string f = d.path + "HVBookmarks.dbx";
    WriteBookmarkFile(f, kEveryType);
    TStringList records;
    for (const TBookmark& b : kEveryType) records.push_back(FormatBookmarkRecord(b));
    EXPECT_EQ(Bytes(f), FileOf(records));
    TBookmarkReadResult r = ReadBookmarkFile(f);
    EXPECT_TRUE(r.Complete);
    EXPECT_FALSE(r.Missing);
    EXPECT_EQ(r.Bookmarks, kEveryType);

    WriteBookmarkFile(f, {});
    EXPECT_EQ(Bytes(f), "");
    r = ReadBookmarkFile(f);
    EXPECT_TRUE(r.Complete);
    EXPECT_TRUE(r.Bookmarks.empty());

    r = ReadBookmarkFile(d.path + "none.sbk");
    EXPECT_TRUE(r.Missing);
    EXPECT_TRUE(r.Complete);
}

TEST(BookmarkFile, StopsAtTheFirstLineThatIsNotABookmark) {
    TempDir d;
    const std::string f = d.path + "x.sbk";
    const std::string good = FormatBookmarkRecord(kEveryType[3]);
    struct Case {
        std::string file;
        size_t before;
        const char* mentions;
    } cases[] = {
        {FileOf({good, good, "9||a||b||c", good}), 2, "Line 3"},
        {FileOf({good, "3||a||b"}), 1, "Line 2"},
        {FileOf({good}) + "not%base64\r\n", 1, "Line 2"},
        // A line enciphered under another key deciphers to noise.
        {FileOf({good}) + EncipherText(good, 0) + "\r\n", 1, "Line 2"},
    };
    for (const Case& c : cases) {
        WriteFileAtomic(f, c.file);
        TBookmarkReadResult r = ReadBookmarkFile(f);
        EXPECT_FALSE(r.Complete);
        EXPECT_EQ(r.Bookmarks.size(), c.before);
        EXPECT_NE(r.Error.find(c.mentions), std::string::npos) << r.Error;
        EXPECT_NE(r.Error.find(f), std::string::npos) << r.Error;
    }
    // Not a regular file, or too large to be a collection: not read at all.
    TBookmarkReadResult r = ReadBookmarkFile(d.path);
    EXPECT_FALSE(r.Complete);
    EXPECT_FALSE(r.Error.empty());
    {
        std::FILE* big = std::fopen(f.c_str(), "wb");
        ASSERT_NE(big, nullptr);
        ASSERT_EQ(ftruncate(fileno(big), kMaxBookmarkFileBytes + 1), 0);
        std::fclose(big);
    }
    r = ReadBookmarkFile(f);
    EXPECT_FALSE(r.Complete);
    EXPECT_NE(r.Error.find("too large"), std::string::npos);
}

// A saving process killed at any moment leaves the collection either as it
// was or as the new one, never part of one. The child saves two large
// collections in turn without end; the parent kills it at a random moment.
TEST(BookmarkFile, AKilledSaveLeavesTheOldOrTheNewFile) {
    TempDir d;
    const std::string target = d.path + "HVBookmarks.dbx";
    std::vector<TBookmark> a, b;
    for (int i = 0; i < 1500; ++i) {
        a.push_back({btGlossaryTerm, "Term " + std::to_string(i), "Glossary Term: a" + std::to_string(i),
                     {"a" + std::to_string(i)}});
        b.push_back({btSearchTerm, "Search " + std::to_string(i), "b", {"b" + std::to_string(i), "1", "Y"}});
    }
    WriteBookmarkFile(d.path + "a", a);
    WriteBookmarkFile(d.path + "b", b);
    const std::string bytesA = Bytes(d.path + "a"), bytesB = Bytes(d.path + "b");
    auto start = std::chrono::steady_clock::now();
    WriteBookmarkFile(target, a);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const long saveUs = long(std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count());

    std::mt19937 random(12345);
    int killed = 0, midWrite = 0, sawA = 0, sawB = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    while (killed < 20 && std::chrono::steady_clock::now() < deadline) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            alarm(60); // never outlives a parent that failed to kill it
            // A first save elsewhere, so the timed ones run at full speed.
            WriteBookmarkFile(d.path + "warm-up", b);
            if (write(ready[1], "!", 1) != 1) _exit(1);
            for (bool useB = true;; useB = !useB) WriteBookmarkFile(target, useB ? b : a);
        }
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        std::uniform_int_distribution<long> delay(0, 3 * saveUs);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ++killed;
        const std::string now = Bytes(target);
        ASSERT_TRUE(now == bytesA || now == bytesB) << "a half-written collection of " << now.size()
                                                    << " bytes after kill " << killed;
        (now == bytesA ? sawA : sawB)++;
        // The killed save's temporary file: proof the kill came in the middle of a save.
        const std::string temp = target + ".tmp" + std::to_string(child);
        if (fs::exists(temp)) {
            ++midWrite;
            fs::remove(temp);
        }
    }
    EXPECT_GE(killed, 8);
    EXPECT_GE(midWrite, killed / 2) << "a save takes " << saveUs << " us";
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
}
