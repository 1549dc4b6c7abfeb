#include "shell/prefs.h"

#include "platform/profile.h"
#include "platform/userdirs.h"
#include "util/fileutils.h"
#include "util/strutils.h"

namespace {
const char* const kGeneral = "General";
const char* const kRemoteAudio = "RemoteAudio";
const char* const kColorScheme = "ColorScheme";
} // namespace

void MakeDefaultPrefs(THVPrefs& p) {
    p.StartUpTips = true;
    p.Maximise = false;
    p.NewsOnStart = true;
    p.ColorScheme = scBlue;
    p.ColorWordHL = scSilver;
    p.EnableRemoteAudio = false;
    p.RemoteAudioServer = kDefaultRemoteAudioServer;
    p.DiskCacheDir = UserCacheFolder() + "DiskCache";
}

THVPrefs DefaultPrefs() {
    THVPrefs p;
    MakeDefaultPrefs(p);
    return p;
}

void RepairSettings(THVPrefs& prefs) {
    THVPrefs def = DefaultPrefs();
    if (Trim(prefs.RemoteAudioServer).empty()) prefs.RemoteAudioServer = def.RemoteAudioServer;
    if (Trim(prefs.DiskCacheDir).empty()) prefs.DiskCacheDir = def.DiskCacheDir;
}

THVPrefs& StoredPrefs() {
    static THVPrefs prefs = DefaultPrefs();
    return prefs;
}

std::string SettingsFileName() { return ConfigFolder() + "Halvora.ini"; }

void LoadSettings() {
    THVPrefs def = DefaultPrefs();
    TIniFile ini(SettingsFileName());
    THVPrefs& s = StoredPrefs();
    s.StartUpTips = ini.ReadBool(kGeneral, "StartUpTips", def.StartUpTips);
    s.Maximise = ini.ReadBool(kGeneral, "Maximise", def.Maximise);
    s.NewsOnStart = ini.ReadBool(kGeneral, "NewsOnStart", def.NewsOnStart);
    s.RemoteAudioServer = ini.ReadString(kRemoteAudio, "RemoteAudioServer", def.RemoteAudioServer);
    s.DiskCacheDir = ini.ReadString(kRemoteAudio, "DiskCacheDir", def.DiskCacheDir);
    s.EnableRemoteAudio = ini.ReadBool(kRemoteAudio, "EnableRemoteAudio", def.EnableRemoteAudio);
    s.ColorScheme = static_cast<uint8_t>(ini.ReadInteger(kColorScheme, "ColorScheme", def.ColorScheme));
    s.ColorWordHL = static_cast<uint8_t>(ini.ReadInteger(kColorScheme, "ColorWordHL", def.ColorWordHL));
    RepairSettings(s);
}

void SaveSettings() {
    const THVPrefs s = StoredPrefs(); // a failed write leaves memory as it was
    CreateFolderPath(ConfigFolder());
    TIniFile ini(SettingsFileName());
    ini.WriteBool(kGeneral, "StartUpTips", s.StartUpTips);
    ini.WriteBool(kGeneral, "Maximise", s.Maximise);
    ini.WriteBool(kGeneral, "NewsOnStart", s.NewsOnStart);
    ini.WriteString(kRemoteAudio, "RemoteAudioServer", s.RemoteAudioServer);
    ini.WriteString(kRemoteAudio, "DiskCacheDir", s.DiskCacheDir);
    ini.WriteBool(kRemoteAudio, "EnableRemoteAudio", s.EnableRemoteAudio);
    ini.WriteInteger(kColorScheme, "ColorScheme", s.ColorScheme);
    ini.WriteInteger(kColorScheme, "ColorWordHL", s.ColorWordHL);
}

uint32_t HighlightColour(int colorWordHL) {
    static constexpr uint32_t kColours[] = {25600, 31097, 8222507, 10122318, 8466558, 8421504};
    return colorWordHL >= 0 && colorWordHL <= 5 ? kColours[colorWordHL] : 31097;
}
