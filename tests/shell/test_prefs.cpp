#include "platform/profile.h"
#include "platform/userdirs.h"
#include "shell/prefs.h"
#include "util/errors.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class PrefsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/hvprefsXXXXXX";
        home_ = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", (home_ + "/config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home_ + "/cache").c_str(), 1);
        fs::create_directories(home_ + "/config");
    }
    void TearDown() override {
        fs::remove_all(home_);
    }
    void WriteIni(const std::string& text) { std::ofstream(SettingsFileName()) << text; }
    std::string home_;
};

TEST_F(PrefsTest, MissingFileGivesRepairedDefaults) {
    StoredPrefs().ColorScheme = 0;
    LoadSettings();
    const THVPrefs& p = StoredPrefs();
    EXPECT_TRUE(p.StartUpTips);
    EXPECT_FALSE(p.Maximise);
    EXPECT_TRUE(p.NewsOnStart);
    EXPECT_EQ(p.ColorScheme, scBlue);
    EXPECT_EQ(p.ColorWordHL, scSilver);
    EXPECT_FALSE(p.EnableRemoteAudio);
    EXPECT_EQ(p.RemoteAudioServer, "localhost:8020");
    EXPECT_EQ(p.DiskCacheDir, home_ + "/cache/Halvora/DiskCache");
}

TEST_F(PrefsTest, ReadsNumbersLikeTheProfileFunctions) {
    WriteIni("[general]\r\nStartUpTips=yes\r\nmaximise=2\r\nNewsOnStart=0x0\r\n"
             "[ColorScheme]\r\nColorScheme=258\r\nColorWordHL=0x4\r\n"
             "[RemoteAudio]\r\nRemoteAudioServer=   \r\nDiskCacheDir=\"   \"\r\nEnableRemoteAudio=1\r\n");
    LoadSettings();
    const THVPrefs& p = StoredPrefs();
    EXPECT_TRUE(p.StartUpTips);  // a word keeps the default
    EXPECT_TRUE(p.Maximise);     // any non-zero number
    EXPECT_FALSE(p.NewsOnStart); // hexadecimal zero
    EXPECT_EQ(p.ColorScheme, scAqua);
    EXPECT_EQ(p.ColorWordHL, scPurple);
    EXPECT_TRUE(p.EnableRemoteAudio);
    EXPECT_EQ(p.RemoteAudioServer, "localhost:8020");
    EXPECT_EQ(p.DiskCacheDir, home_ + "/cache/Halvora/DiskCache");
}

TEST_F(PrefsTest, TextsStayAsReadAndAreCutAt2047) {
    std::string longText(3000, 'x');
    WriteIni("[RemoteAudio]\nRemoteAudioServer=\" host \"\nDiskCacheDir=" + longText + "\n");
    LoadSettings();
    EXPECT_EQ(StoredPrefs().RemoteAudioServer, " host ");
    EXPECT_EQ(StoredPrefs().DiskCacheDir, std::string(2047, 'x'));
}

TEST_F(PrefsTest, SaveRoundTripsAndKeepsOtherLines) {
    WriteIni("; my notes\r\n[Other]\r\nkey=value\r\n[General]\r\nExtra=1\r\n");
    LoadSettings();
    StoredPrefs().Maximise = true;
    StoredPrefs().ColorScheme = 7; // out of range stays as it is
    StoredPrefs().RemoteAudioServer = " spaced ";
    SaveSettings();
    THVPrefs saved = StoredPrefs();
    StoredPrefs() = DefaultPrefs();
    LoadSettings();
    EXPECT_EQ(StoredPrefs(), saved);
    TIniFile ini(SettingsFileName());
    EXPECT_EQ(ini.ReadString("other", "KEY", ""), "value");
    EXPECT_EQ(ini.ReadString("General", "Extra", ""), "1");
    std::ifstream in(SettingsFileName());
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "; my notes\r");
}

TEST_F(PrefsTest, DefaultsAreWrittenInFull) {
    StoredPrefs() = DefaultPrefs();
    SaveSettings();
    TIniFile ini(SettingsFileName());
    EXPECT_EQ(ini.ReadString("RemoteAudio", "RemoteAudioServer", ""), "localhost:8020");
    EXPECT_EQ(ini.ReadString("RemoteAudio", "DiskCacheDir", ""), DefaultPrefs().DiskCacheDir);
    EXPECT_EQ(ini.ReadString("ColorScheme", "ColorScheme", ""), "3");
    EXPECT_EQ(ini.ReadString("General", "StartUpTips", ""), "1");
}

TEST_F(PrefsTest, FailedWriteRaisesAndKeepsMemory) {
    // A folder in the file's place makes the write fail for every user, root included.
    fs::create_directories(SettingsFileName());
    StoredPrefs() = DefaultPrefs();
    StoredPrefs().Maximise = true;
    THVPrefs before = StoredPrefs();
    try {
        SaveSettings();
        FAIL() << "no error";
    } catch (const EIniFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + SettingsFileName());
    }
    EXPECT_EQ(StoredPrefs(), before);
    EXPECT_TRUE(fs::is_directory(SettingsFileName())); // nothing half-written in its place
    fs::remove_all(SettingsFileName());
}

// A full disk: the write stops part-way. The file the reader had stays whole
// and no temporary file is left beside it.
TEST_F(PrefsTest, FullDiskKeepsThePreviousFile) {
    const std::string previous = "; " + std::string(200, 'c') + "\r\n[General]\r\nMaximise=1\r\n";
    WriteIni(previous);
    StoredPrefs() = DefaultPrefs();

    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 100; // files grow no further than this, as on a full disk
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(SaveSettings(), EIniFileError);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    std::ifstream in(SettingsFileName(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), previous);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(home_ + "/config")) ++files;
    EXPECT_EQ(files, 1);
}

} // namespace
