#include "platform/profile.h"
#include "platform/userdirs.h"
#include "shell/prefs.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "util/strutils.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

bool StartsText(std::string_view prefix, std::string_view line) {
    return line.size() >= prefix.size() && SameText(line.substr(0, prefix.size()), prefix);
}

int CountText(const std::string& text, const std::string& sub) {
    int n = 0;
    for (size_t at = text.find(sub); at != std::string::npos; at = text.find(sub, at + sub.size())) ++n;
    return n;
}

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
    // Sections and keys in other letter cases are the same sections and keys.
    WriteIni("; my notes\r\n[Other]\r\nkey=value\r\n[general]\r\nExtra=1\r\nMAXIMISE=0\r\n"
             "[REMOTEAUDIO]\r\nremoteaudioserver=old\r\n");
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
    std::string line;
    int general = 0, remote = 0, maximise = 0, server = 0;
    while (std::getline(in, line)) {
        general += SameText(Trim(line), "[General]");
        remote += SameText(Trim(line), "[RemoteAudio]");
        maximise += StartsText("maximise=", line);
        server += StartsText("remoteaudioserver=", line);
    }
    EXPECT_EQ(general, 1);
    EXPECT_EQ(remote, 1);
    EXPECT_EQ(maximise, 1);
    EXPECT_EQ(server, 1);
}

TEST_F(PrefsTest, LineBreaksNeverBreakTheFile) {
    StoredPrefs() = DefaultPrefs();
    SaveSettings();
    TIniFile ini(SettingsFileName());
    // What was typed before the break is kept; nothing after it reaches the file.
    const std::pair<std::string, std::string> cases[] = {
        {"host\n[General]\nStartUpTips=0", "host"},
        {"host\r\nNewsOnStart=0", "host"},
        {"a\rb", "a"},
        {"\nonly after", ""},
        {"plain", "plain"},
    };
    for (const auto& [value, kept] : cases) {
        ini.WriteString("RemoteAudio", "RemoteAudioServer", value);
        EXPECT_EQ(ini.ReadString("RemoteAudio", "RemoteAudioServer", "?"), kept) << value;
        EXPECT_TRUE(ini.ReadBool("General", "StartUpTips", false)) << value;
        EXPECT_TRUE(ini.ReadBool("General", "NewsOnStart", false)) << value;
    }
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(SettingsFileName(), bytes));
    EXPECT_EQ(CountText(bytes, "[General]"), 1);
    EXPECT_EQ(CountText(bytes, "StartUpTips"), 1);
}

TEST_F(PrefsTest, WritesThroughASymlinkKeepingTheMode) {
    // As a dotfile manager sets it up: the settings file links to a kept copy.
    fs::create_directories(home_ + "/dotfiles");
    std::string target = home_ + "/dotfiles/Halvora.ini";
    std::ofstream(target) << "[General]\r\nMaximise=0\r\n";
    chmod(target.c_str(), 0600);
    fs::create_symlink("../dotfiles/Halvora.ini", SettingsFileName());
    StoredPrefs() = DefaultPrefs();
    StoredPrefs().Maximise = true;
    SaveSettings();
    EXPECT_TRUE(fs::is_symlink(SettingsFileName()));
    TIniFile ini(target);
    EXPECT_TRUE(ini.ReadBool("General", "Maximise", false));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PrefsTest, ReadOnlyFileIsNotReplaced) {
    WriteIni("[General]\r\nMaximise=0\r\n");
    chmod(SettingsFileName().c_str(), 0444);
    StoredPrefs() = DefaultPrefs();
    StoredPrefs().Maximise = true;
    try {
        SaveSettings();
        FAIL() << "no error";
    } catch (const EIniFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + SettingsFileName());
    }
    TIniFile ini(SettingsFileName());
    EXPECT_FALSE(ini.ReadBool("General", "Maximise", true));
    EXPECT_EQ(fs::status(SettingsFileName()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
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
