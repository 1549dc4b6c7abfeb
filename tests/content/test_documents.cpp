#include "content/documents.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include "support/edition_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The eight plain header lines of a document.
TStringList Header(const std::string& name, const std::string& title = "A Title",
                   const std::string& priority = "3", const std::string& pl = "FALSE",
                   const std::string& wordhl = "TRUE") {
    return {"<<CRCSL3:>>+",
            "<<N:" + name + ">>|<<T:" + title + ">>+",
            "<<SORT_PRIORITY:" + priority + ">>|<<PL:" + pl + ">>|<<WORDHL:" + wordhl +
                ">>|<<FONT:FACE=\"Verdana\" SIZE=\"2\">>+",
            "<<D:What it is about.>>",
            "<<AUTHOR:someone>>",
            "<<PUBLISHER:Tarnwick>>",
            "<<EDITION:test>>",
            "<<REVISION:1>>"};
}

TStringList Join(TStringList a, const TStringList& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const TStringList kBody = {"<P><B>Welcome to <VER></B></P>", "", "<P>Second paragraph &amp; more.</P>",
                           "<<002:001-003>>"};

class DocumentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldHooks = SetMainDocHooks({
            [this](const std::string& text) { shownItems.push_back(text); },
            [this](int ms) { pauses.push_back(ms); },
        });
    }
    void TearDown() override {
        SetMainDocHooks(oldHooks);
    }

    // Writes a document the way the packer does, but built here step by step
    // from the cipher and the file signature, with the header taken as given
    // ("{SIG}" in line 0 stands for the body's signature).
    std::string WriteRaw(const std::string& name, TStringList header, const TStringList& body) {
        TStringList storedBody = body;
        EncipherLines(storedBody);
        std::string bodyFile = dir + "body.tmp";
        WriteFileLines(bodyFile, storedBody);
        std::string sig = FileSignature(bodyFile);
        fs::remove(bodyFile);
        for (auto& line : header) line = ReplaceAll(line, "{SIG}", sig);
        for (size_t i = 0; i < header.size(); ++i)
            header[i] = EncipherText(header[i], static_cast<int32_t>(i));
        std::string path = dir + name;
        WriteFileLines(path, Join(header, storedBody));
        return path;
    }
    std::string WriteRawDoc(const std::string& name, const std::string& docName,
                            const std::string& priority = "3", const TStringList& body = kBody) {
        TStringList h = Header(docName, "Title of " + docName, priority);
        h[0] = "<<CRCSL3:{SIG}>>+";
        return WriteRaw(name, h, body);
    }
    std::string WritePacked(const std::string& name, const TStringList& plain) {
        std::string path = dir + name;
        WriteMainDocument(path, plain);
        return path;
    }

    TFixtureFolder folder;
    const std::string dir = folder.Path();
    std::vector<std::string>& reports = folder.Headings;
    int& terminations = folder.Terminations;
    TMainDocHooks oldHooks;
    std::vector<std::string> shownItems;
    std::vector<int> pauses;
};

std::string Bytes(const std::string& path) {
    std::string b;
    EXPECT_TRUE(ReadFileBytes(path, b)) << path;
    return b;
}

TEST_F(DocumentsTest, PackerWritesWhatTheReaderReads) {
    std::string packed = WritePacked("A.dbi", Join(Header("MDOC_A", "Alpha"), kBody));
    std::string raw = WriteRawDoc("B.dbi", "MDOC_A");
    // Same header apart from the title: compare the body bytes and the signature field.
    TMainDoc doc(packed);
    ASSERT_TRUE(doc.Valid);
    EXPECT_EQ(doc.DocName, "MDOC_A");
    EXPECT_EQ(doc.Title, "Alpha");
    EXPECT_EQ(doc.Description, "What it is about.");
    EXPECT_EQ(doc.SortPriority, 3);
    EXPECT_FALSE(doc.PLFlag);
    EXPECT_TRUE(doc.WordHighlight);
    EXPECT_EQ(doc.DocFontTag, "<FONT FACE=\"Verdana\" SIZE=\"2\">");
    EXPECT_FALSE(doc.BuiltIn);
    EXPECT_EQ(doc.Body, kBody);
    EXPECT_EQ(doc.BodyText(), "<P><B>Welcome to <VER></B></P>\r\n\r\n<P>Second paragraph &amp; more.</P>\r\n"
                              "<<002:001-003>>\r\n");

    TStringList stored;
    ASSERT_TRUE(ReadFileLines(packed, stored));
    int headerBytes = 0;
    for (int i = 0; i < 8; ++i) headerBytes += static_cast<int>(stored[i].size()) + 2;
    EXPECT_EQ(doc.HeaderSize, headerBytes);
    EXPECT_EQ(doc.ExpectedSignature, FileSignature(packed, headerBytes));
    EXPECT_EQ(Bytes(packed).substr(static_cast<size_t>(doc.HeaderSize)),
              Bytes(raw).substr(static_cast<size_t>(TMainDoc(raw).HeaderSize)));
    EXPECT_EQ(doc.ExpectedSignature, TMainDoc(raw).ExpectedSignature);
    EXPECT_EQ(doc.GetName(), "Main Document");
}

TEST_F(DocumentsTest, HeaderFieldValues) {
    struct Case {
        std::string priority, pl, wordhl;
        int32_t wantPriority;
        bool wantPL, wantWordHL;
    };
    const Case cases[] = {
        {" 7 ", "TRUE", "true", 7, true, true},
        {"-4", " tRuE ", "FALSE", -4, true, false},
        {"seven", "yes", "", 100, false, false},
        {"", "TRUEISH", "1", 100, false, false},
        {"99999999999", "false", "  TRUE", 100, false, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        TStringList h = Header("MDOC_X", "X", c.priority, c.pl, c.wordhl);
        h[0] = "<<CRCSL3:{SIG}>>+";
        TMainDoc doc(WriteRaw("h" + std::to_string(n++) + ".dbi", h, kBody));
        EXPECT_TRUE(doc.Valid) << c.priority;
        EXPECT_EQ(doc.SortPriority, c.wantPriority) << "[" << c.priority << "]";
        EXPECT_EQ(doc.PLFlag, c.wantPL) << "[" << c.pl << "]";
        EXPECT_EQ(doc.WordHighlight, c.wantWordHL) << "[" << c.wordhl << "]";
    }
}

TEST_F(DocumentsTest, MissingOrMisplacedMarkersGiveEmptyFields) {
    TStringList h = Header("MDOC_X");
    h[0] = "<<CRCSL3:{SIG}>>+";
    h[1] = "<<N:MDOC_NOTITLE>>";
    h[3] = ">>Description<<D:";
    TMainDoc doc(WriteRaw("x.dbi", h, kBody));
    EXPECT_TRUE(doc.Valid);
    EXPECT_EQ(doc.DocName, "MDOC_NOTITLE");
    EXPECT_EQ(doc.Title, "");
    EXPECT_EQ(doc.Description, "");
}

TEST_F(DocumentsTest, ExactlyEightLinesIsAValidEmptyDocument) {
    std::string path = WritePacked("Empty.dbi", Header("MDOC_EMPTY"));
    TMainDoc doc(path);
    EXPECT_TRUE(doc.Valid);
    EXPECT_TRUE(doc.Body.empty());
    EXPECT_EQ(doc.BodyText(), "");
    EXPECT_EQ(doc.HeaderSize, FileByteCount(path));
    EXPECT_EQ(doc.ExpectedSignature, SignatureText(0, 0));

    // Seven lines are not a document at all.
    TStringList stored;
    ASSERT_TRUE(ReadFileLines(path, stored));
    stored.pop_back();
    WriteFileLines(dir + "Seven.dbi", stored);
    EXPECT_FALSE(TMainDoc(dir + "Seven.dbi").Valid);
}

TEST_F(DocumentsTest, DamagedMissingOrUnsignedFilesAreNotValid) {
    std::string good = WritePacked("Good.dbi", Join(Header("MDOC_G"), kBody));
    ASSERT_TRUE(TMainDoc(good).Valid);

    // One byte of the body changed.
    std::string bytes = Bytes(good);
    size_t at = bytes.size() - 5;
    bytes[at] = bytes[at] == 'A' ? 'B' : 'A';
    WriteFileAtomic(dir + "Body.dbi", bytes);
    EXPECT_FALSE(TMainDoc(dir + "Body.dbi").Valid);

    // A line appended to the body.
    WriteFileAtomic(dir + "Longer.dbi", Bytes(good) + EncipherText("<P>extra</P>", 4) + "\r\n");
    EXPECT_FALSE(TMainDoc(dir + "Longer.dbi").Valid);

    // A header without any signature.
    TStringList h = Header("MDOC_U");
    WriteRaw("Unsigned.dbi", h, kBody);
    EXPECT_FALSE(TMainDoc(dir + "Unsigned.dbi").Valid);

    // Not enciphered at all.
    WriteFileLines(dir + "Plain.dbi", Join(Header("MDOC_P"), kBody));
    EXPECT_FALSE(TMainDoc(dir + "Plain.dbi").Valid);

    TMainDoc missing(dir + "Nowhere.dbi");
    EXPECT_FALSE(missing.Valid);
    EXPECT_TRUE(missing.DocName.empty());
    EXPECT_FALSE(missing.Verify());
}

TEST_F(DocumentsTest, VerifyShowsTheComputedSignatureAndFailsOnceTheFileIsGone) {
    std::string path = WritePacked("V.dbi", Join(Header("MDOC_V"), kBody));
    TMainDoc doc(path);
    ASSERT_TRUE(doc.Valid);
    shownItems.clear();
    EXPECT_TRUE(doc.Verify());
    ASSERT_EQ(shownItems.size(), 1u);
    EXPECT_EQ(shownItems[0], doc.ExpectedSignature);

    fs::remove(path);
    EXPECT_FALSE(doc.Verify());
    // Cut down to less than its header.
    WriteFileAtomic(path, "short\r\n");
    EXPECT_FALSE(doc.Verify());
    EXPECT_TRUE(reports.empty());
}

TEST_F(DocumentsTest, LoadAllSortsByPriorityAndSkipsDuplicatesAndDamage) {
    WriteRawDoc("Five.dbi", "MDOC_FIVE", "5");
    WriteRawDoc("One.DBI", "MDOC_ONE", "1");
    WriteRawDoc("Default.dbi", "MDOC_DEFAULT", "x");
    WriteRawDoc("Dup1.dbi", "MDOC_SAME", "2");
    WriteRawDoc("Dup2.dbi", " mdoc_same ", "2");
    WriteFileLines(dir + "Broken.dbi", {"not", "a", "document"});
    WriteRawDoc("Other.txt", "MDOC_OTHER", "0");
    fs::create_directory(dir + "Folder.dbi");

    TMainDocManager mgr;
    mgr.LoadAll();
    ASSERT_EQ(mgr.Count(), 4);
    std::vector<std::string> names;
    for (int i = 0; i < mgr.Count(); ++i) names.push_back(Trim(UpperCase(mgr.Items(i).DocName)));
    EXPECT_EQ(names[0], "MDOC_ONE");
    EXPECT_EQ(names[1], "MDOC_SAME");
    EXPECT_EQ(names[2], "MDOC_FIVE");
    EXPECT_EQ(names[3], "MDOC_DEFAULT");
    EXPECT_EQ(mgr.Items(3).SortPriority, 100);
    // Broken.dbi and one of the two same-named documents.
    EXPECT_EQ(mgr.Skipped().size(), 2u);
    EXPECT_THROW(mgr.Items(4), ERangeError);
    EXPECT_THROW(mgr.Items(-1), ERangeError);
}

TEST_F(DocumentsTest, BuiltInDocumentsAreListedOnceAndSortedAmongTheOthers) {
    WriteRawDoc("Introduction.dbi", "MDOC_INTRODUCTION", "");
    WriteRawDoc("SoftFeat.dbi", "MDOC_SOFTFEAT", "");
    WriteRawDoc("Distribution.dbi", "MDOC_DISTRIBUTION", "");
    WriteRawDoc("Early.dbi", "MDOC_EARLY", "5");
    WriteRawDoc("Late.dbi", "MDOC_LATE", "200");

    TMainDocManager mgr;
    OpenBuiltInDocuments(mgr);
    ASSERT_EQ(mgr.Count(), 3);
    EXPECT_TRUE(reports.empty());
    mgr.LoadAll();
    ASSERT_EQ(mgr.Count(), 5);
    EXPECT_EQ(mgr.Items(0).DocName, "MDOC_EARLY");
    // Equal priorities keep their order: the built-ins as they were opened.
    EXPECT_EQ(mgr.Items(1).DocName, "MDOC_INTRODUCTION");
    EXPECT_EQ(mgr.Items(2).DocName, "MDOC_SOFTFEAT");
    EXPECT_EQ(mgr.Items(3).DocName, "MDOC_DISTRIBUTION");
    EXPECT_EQ(mgr.Items(4).DocName, "MDOC_LATE");
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(mgr.Items(i).BuiltIn);
    EXPECT_FALSE(mgr.Items(0).BuiltIn);

    EXPECT_EQ(mgr.IndexOfName("  mdoc_softfeat "), 2);
    EXPECT_EQ(mgr.IndexOfName("MDOC_LATE"), 4);
    EXPECT_EQ(mgr.IndexOfName("MDOC_NONE"), -1);
    EXPECT_EQ(mgr.IndexOfName(""), -1);
}

TEST_F(DocumentsTest, MissingAndDamagedBuiltInsReportOneFatalFailure) {
    WriteRawDoc("Introduction.dbi", "MDOC_INTRODUCTION");
    // SoftFeat.dbi is missing; Distribution.dbi is damaged.
    std::string path = WriteRawDoc("Distribution.dbi", "MDOC_DISTRIBUTION");
    std::string bytes = Bytes(path);
    bytes.resize(bytes.size() - 3);
    WriteFileAtomic(path, bytes + "\r\n");

    TMainDocManager mgr;
    OpenBuiltInDocuments(mgr);
    EXPECT_EQ(reports, std::vector<std::string>{"Verification Failed!"});
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(mgr.Count(), 3);
}

TEST_F(DocumentsTest, ManagerVerifyChecksEveryDocumentAndAlwaysPasses) {
    WriteRawDoc("A.dbi", "MDOC_A", "1");
    WriteRawDoc("B.dbi", "MDOC_B", "2");
    TMainDocManager mgr;
    mgr.LoadAll();
    ASSERT_EQ(mgr.Count(), 2);
    fs::remove(dir + "B.dbi");
    shownItems.clear();
    EXPECT_TRUE(mgr.Verify());
    EXPECT_EQ(pauses, (std::vector<int>{200, 200}));
    ASSERT_EQ(shownItems.size(), 2u);
    EXPECT_EQ(shownItems[0], mgr.Items(0).ExpectedSignature);
    EXPECT_EQ(shownItems[1], "");
    EXPECT_TRUE(mgr.Items(1).Valid); // the check does not change what was loaded
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(mgr.GetName(), "Main Documents Module");
}

TEST_F(DocumentsTest, ExpandPlaceholders) {
    EXPECT_EQ(ExpandPlaceholders("<P>Nothing to change &lt;VER&gt;</P>"), "<P>Nothing to change &lt;VER&gt;</P>");
    EXPECT_EQ(ExpandPlaceholders("<VER> and <VER>, not <ver>"), "1.5 and 1.5, not <ver>");
    std::string program = MainDocProgramFile();
    EXPECT_EQ(program.rfind(dir, 0), 0u);
    EXPECT_GT(program.size(), dir.size());
    EXPECT_EQ(ExpandPlaceholders("<IMG SRC=\"<APP_IMG>/Banner\"> <app_img>"),
              "<IMG SRC=\"res://" + program + "/Banner\"> <app_img>");
    EXPECT_EQ(ExpandPlaceholders("v<VER>", "2.0"), "v2.0");
}

TEST_F(DocumentsTest, SourceCheckNamesTheLineOfEachProblem) {
    EXPECT_TRUE(CheckDocumentSource(Join(Header("MDOC_OK"), kBody)).empty());
    EXPECT_TRUE(CheckDocumentSource(Header("MDOC_OK")).empty());

    struct Case {
        int line;
        std::string text;
        std::string wantPrefix;
    };
    const Case cases[] = {
        {0, "<<CRCSL3:", "line 1: no signature field"},
        {0, ">>+<<CRCSL3:", "line 1: no signature field"},
        {1, "<<N:MDOC_A>>", "line 2: no title field"},
        {1, "<<N:>>|<<T:Empty>>+", "line 2: the link name is empty"},
        {1, "<<N:INTRO>>|<<T:No prefix>>+", "line 2: the link name INTRO does not contain \"MDOC_\""},
        {2, "<<SORT_PRIORITY:1>>|<<PL:FALSE>>|<<WORDHL:TRUE>>|<<FONT:x>>", "line 3: no font field"},
        {2, "<<SORT_PRIORITY:one>>|<<PL:FALSE>>|<<WORDHL:TRUE>>|<<FONT:x>>+",
         "line 3: the sort priority is not a whole number"},
        {2, "<<SORT_PRIORITY:1>>|<<PL:maybe>>|<<WORDHL:TRUE>>|<<FONT:x>>+", "line 3: the PL: value \"maybe\""},
        {3, "<<D:never closed", "line 4: no description field"},
    };
    for (const auto& c : cases) {
        TStringList src = Join(Header("MDOC_OK"), kBody);
        src[static_cast<size_t>(c.line)] = c.text;
        TStringList problems = CheckDocumentSource(src);
        ASSERT_EQ(problems.size(), 1u) << c.text;
        EXPECT_EQ(problems[0].rfind(c.wantPrefix, 0), 0u) << problems[0];
        EXPECT_THROW(PackMainDocument(src), EConvertError) << c.text;
    }
    TStringList shortOne = Header("MDOC_OK");
    shortOne.resize(5);
    TStringList problems = CheckDocumentSource(shortOne);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("line 6: the header ends here", 0), 0u) << problems[0];
}

TEST_F(DocumentsTest, SampleEditionDocumentsPackAndRead) {
    std::set<std::string> names;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(HALVORA_SOURCE_DIR "/data/documents")) {
        if (entry.path().extension() != ".txt") continue;
        ++count;
        TStringList plain;
        ASSERT_TRUE(ReadFileLines(entry.path().string(), plain));
        EXPECT_EQ(CheckDocumentSource(plain), TStringList{}) << entry.path();
        std::string out = dir + entry.path().stem().string() + ".dbi";
        WriteMainDocument(out, plain);
        TMainDoc doc(out);
        EXPECT_TRUE(doc.Valid) << entry.path();
        EXPECT_EQ(doc.Body, TStringList(plain.begin() + 8, plain.end())) << entry.path();
        EXPECT_TRUE(names.insert(UpperCase(Trim(doc.DocName))).second) << doc.DocName;
    }
    EXPECT_GE(count, 3);
    TMainDocManager mgr;
    OpenBuiltInDocuments(mgr);
    EXPECT_TRUE(reports.empty());
    mgr.LoadAll();
    EXPECT_EQ(mgr.Count(), count);
}

} // namespace
