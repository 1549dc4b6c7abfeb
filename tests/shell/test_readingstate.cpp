#include "pages/pagelocation.h"
#include "shell/prefs.h"
#include "shell/readingstate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ReadingStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/hvreadXXXXXX";
        home_ = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", (home_ + "/config").c_str(), 1);
        fs::create_directories(home_ + "/config");
    }
    void TearDown() override { fs::remove_all(home_); }
    void WriteIni(const std::string& text) { std::ofstream(SettingsFileName()) << text; }
    std::string ReadIni() {
        std::ifstream f(SettingsFileName());
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    std::string home_;
};

TEST_F(ReadingStateTest, AnOlderFileWithoutTheSectionGivesDefaultsAndKeepsItsLines) {
    const std::string older = "[General]\r\nStartUpTips=0\r\n[ColorScheme]\r\nColorScheme=1\r\n";
    WriteIni(older);
    EXPECT_EQ(LoadReadingState(), THVReadingState{});
    SaveReadingState({3, "story:7@120"});
    EXPECT_EQ(LoadReadingState(), (THVReadingState{3, "story:7@120"}));
    LoadSettings();
    EXPECT_FALSE(StoredPrefs().StartUpTips);
    EXPECT_EQ(StoredPrefs().ColorScheme, 1);
    EXPECT_NE(ReadIni().find("[Reading]"), std::string::npos);
}

TEST_F(ReadingStateTest, NoFileAndOutOfRangeZoomGiveDefaults) {
    EXPECT_EQ(LoadReadingState(), THVReadingState{});
    WriteIni("[Reading]\r\nZoom=99\r\nLastPage=doc:MDOC_Intro@5\r\n");
    EXPECT_EQ(LoadReadingState(), (THVReadingState{0, "doc:MDOC_Intro@5"}));
    WriteIni("[Reading]\r\nZoom=-4\r\n");
    EXPECT_EQ(LoadReadingState().Zoom, kMinZoom);
}

TEST(PageLocation, RoundTripsAndRefusesWhatItDoesNotWrite) {
    const TPageLocation samples[] = {
        {TPageLocation::Welcome, {}, 0, 0},
        {TPageLocation::Document, "MDOC_Intro", 0, 321},
        {TPageLocation::Story, {}, 29, 98765},
    };
    for (const auto& l : samples) EXPECT_EQ(ParsePageLocation(FormatPageLocation(l)), l);
    EXPECT_EQ(FormatPageLocation({}), "");
    for (const char* bad : {"", "story:0@1", "story:30@1", "story:7", "story:7@-1", "story:x@1",
                            "doc:@1", "welcome@", "page:1@1", "story:7@99999999999"})
        EXPECT_EQ(ParsePageLocation(bad).Page, TPageLocation::None) << bad;
}

} // namespace
