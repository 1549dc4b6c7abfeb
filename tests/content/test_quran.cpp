#include "content/quran.h"
#include "platform/pe.h"
#include "platform/uihooks.h"
#include "shell/appbase.h"
#include "storage/cipher.h"
#include "storage/tree.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "support/edition_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct FakeInit : TfrmInitBase {
    int32_t max = -1;
    std::vector<int32_t> steps;
    void SetProgressMax(int32_t count) override { max = count; }
    void SetProgress(int32_t position) override { steps.push_back(position); }
};

class QuranTest : public ::testing::Test {
protected:
    void TearDown() override {
        AppfrmInit = nullptr;
        UiHooks().ShowMessage = nullptr;
    }
    std::string WriteModule(const std::string& bytes) { return folder_.Write("DAZaruro2.dll", bytes); }
    TFixtureFolder folder_;
    int& reports_ = folder_.Reports;
    int& terminations_ = folder_.Terminations;
};

TEST_F(QuranTest, LoadsAndReadsVerseLines) {
    std::string sig = WriteModule(BuildQuranModuleBytes());
    FakeInit init;
    AppfrmInit = &init;
    TQuranDLLHelper q("DAZaruro2.dll", sig);
    EXPECT_EQ(reports_, 0);
    q.Load();
    ASSERT_EQ(q.Lines().size(), 6350u);
    EXPECT_EQ(init.max, 6349);
    ASSERT_EQ(init.steps.size(), 6350u);
    EXPECT_EQ(init.steps.front(), 0);
    EXPECT_EQ(init.steps.back(), 6349);
    EXPECT_EQ(q.VerseText(1, 1), "text 1:1");
    EXPECT_EQ(q.VerseText(2, 1), "text 2:1");
    EXPECT_EQ(q.VerseText(114, 6), "text 114:6");
    EXPECT_EQ(q.VerseTextByRef("002.255"), "text 2:255");
    EXPECT_THROW(q.VerseTextByRef("nonsense"), ERangeError);
    EXPECT_EQ(q.VerseText(1, 8), "");  // the next surah's own line
    EXPECT_EQ(q.VerseText(1, 9), "");  // verse 1 of surah 2: "1|" is not "9|"
    EXPECT_THROW(q.VerseText(0, 1), ERangeError);
    EXPECT_THROW(q.VerseText(115, 1), ERangeError);
    EXPECT_THROW(q.VerseText(114, 7), ERangeError);
    EXPECT_EQ(q.FindInVerse(2, 255, "2:255", false, true), 5);
    EXPECT_EQ(q.FindInVerse(2, 255, "TEXT", false, false), 0);
    EXPECT_EQ(q.FindInVerse(2, 255, "TEXT", false, true), -1);
    q.SetRightToLeft(true);
    EXPECT_EQ(q.VerseText(1, 2), "<BDO DIR=RTL>text 1:2</BDO>");
    EXPECT_EQ(q.GetName(), "Internal Qur'an Translation");
    EXPECT_EQ(q.SurahHeading(1), "Al-Fatiha [The Opening]");
}

TEST_F(QuranTest, ExcerptHtml) {
    std::string sig = WriteModule(BuildQuranModuleBytes());
    FakeInit init;
    AppfrmInit = &init;
    TQuranDLLHelper q("DAZaruro2.dll", sig);
    q.Load();
    EXPECT_EQ(ExcerptHtml(q, {2, 1, 2, 3}, "Audio.jpg", false, true),
              "<B>002.001</B> text 2:1\r\n\r\n<B>002.002</B> text 2:2\r\n\r\n<B>002.003</B> text 2:3");
    EXPECT_EQ(ExcerptHtml(q, {2, 255, 2, 255}, "Audio.jpg", true, true),
              "<BR><A HREF=\"RAUDIO_002.255\"><IMG BORDER=\"0\" SRC=\"Audio.jpg\" "
              "ALT=\"Remote Audio\"></A><B>002.255</B> text 2:255");
    EXPECT_EQ(ExcerptHtml(q, {7, 11, 7, 12}, "", false, false), "007.011 text 7:11\r\n\r\n007.012 text 7:12");
    EXPECT_EQ(ExcerptHtml(q, {7, 12, 7, 11}, "", false, false), "");
    EXPECT_EQ(VerseHtml(q, 1, 1, "", true, true, false), "text 1:1");
    // audio without bold writes no link
    EXPECT_EQ(VerseHtml(q, 1, 1, "A.jpg", true, false, true), "001.001 text 1:1");
}

TEST_F(QuranTest, MissingOrAlteredModuleFailsOnceAndLoadsNothing) {
    TQuranDLLHelper missing("DAZaruro2.dll", "X");
    EXPECT_EQ(reports_, 1);
    std::string sig = WriteModule(BuildQuranModuleBytes());
    std::ofstream(folder_.Path() + "DAZaruro2.dll", std::ios::binary | std::ios::app) << "x";
    TQuranDLLHelper altered("DAZaruro2.dll", sig);
    EXPECT_FALSE(altered.Verify());
    EXPECT_EQ(reports_, 1); // reported once per run
    EXPECT_EQ(terminations_, 1);
    altered.Load();
    EXPECT_TRUE(altered.Lines().empty());
    EXPECT_THROW(altered.VerseText(1, 1), ERangeError);
}

TEST_F(QuranTest, MissingResourceIsFatalAndNoStartUpWindowIsReported) {
    std::string sig = WriteModule(BuildResourceLibrary({{"OTHER", "QDATA", "x"}}));
    TQuranDLLHelper q("DAZaruro2.dll", sig);
    q.Load();
    EXPECT_EQ(reports_, 1);
    ResetFailureShown();
    std::string message;
    UiHooks().ShowMessage = [&](const std::string& m) { message = m; };
    sig = WriteModule(BuildQuranModuleBytes(20));
    TQuranDLLHelper small("DAZaruro2.dll", sig);
    small.Load();
    EXPECT_EQ(small.Lines().size(), 20u);
    EXPECT_EQ(message, "AppfrmInit Base Class is Nil!");
}

} // namespace

namespace {

TEST(QuranIndex, CreatedAtStartUpAndNeverLoaded) {
    TQuranIndexHelper* index = QuranIndexHelper();
    ASSERT_NE(index, nullptr);
    // The program folder as it was when the program started: this test's own.
    EXPECT_EQ(index->FileName(), ProgramFolder() + "QIndex.dbx");
    EXPECT_TRUE(index->CreateDataObjects);
    EXPECT_EQ(index->Count(), 0);
}

} // namespace
