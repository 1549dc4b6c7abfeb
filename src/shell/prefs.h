#pragma once
// The reader's preferences and their file "Halvora.ini".
#include <cstdint>
#include <string>

struct THVPrefs {
    bool StartUpTips = true;
    bool Maximise = false;
    bool NewsOnStart = true;
    uint8_t ColorScheme = 3;
    uint8_t ColorWordHL = 5;
    bool EnableRemoteAudio = false;
    std::string RemoteAudioServer;
    std::string DiskCacheDir;

    bool operator==(const THVPrefs&) const = default;
};

enum TSchemeColor : uint8_t { scGreen = 0, scGold, scAqua, scBlue, scPurple, scSilver };

// The recitation server a fresh installation uses.
inline constexpr const char* kDefaultRemoteAudioServer = "localhost:8020";

void MakeDefaultPrefs(THVPrefs& prefs);
THVPrefs DefaultPrefs();
// Replaces empty (blank) server and cache folder texts by their defaults.
void RepairSettings(THVPrefs& prefs);

// The one stored copy, read at start-up and the only copy ever written.
THVPrefs& StoredPrefs();
// Full path of "Halvora.ini" in the per-user configuration folder.
std::string SettingsFileName();
// Fills the stored copy from the file; a missing or unreadable file gives defaults.
void LoadSettings();
// Writes the stored copy; raises EIniFileError "Unable to write to ..." on failure.
void SaveSettings();

// The highlight colour (0x00BBGGRR) of a ColorWordHL value; Gold for values above 5.
uint32_t HighlightColour(int colorWordHL);
