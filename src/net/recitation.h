#pragma once
// Remote recitation: the verse file-name table of "QRemoteAud.dbx", the cache
// folder of downloaded recitation files, and playing a verse by handing its
// file to the desktop.
#include "shell/appbase.h"
#include "storage/signatures.h"
#include "storage/verification.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kRecitationFileName = "QRemoteAud.dbx";
inline constexpr int kRecitationHeaderLines = 4;
inline constexpr const char* kRecitationServerFolder = "/Quran_RAM/";
inline constexpr const char* kServerErrorHeading = "Remote Recitation Server Error";

class TQuranAudio : public TVerifiableObject {
public:
    virtual void Load() = 0;
};

class TQRemoteAudio : public TQuranAudio {
public:
    explicit TQRemoteAudio(TfrmMainBase* mainForm,
                           std::string expectedSignature = std::string(kSignatureRecitation));

    bool Verify() override;
    std::string GetName() override { return "Remote Audio Recitation Module"; }
    // Reads the table from the program folder, then makes the cache folder.
    // A missing file, a file that is not the table (a line that is not a
    // stored line) or more lines than verses end it silently: entries not
    // reached stay empty and the folder is not made. Only the stored lines are
    // checked here; each entry is deciphered when it is first used.
    void Load() override;

    // A verse reference "SSS.VVV"; one that names no verse raises ERangeError.
    void PlayReference(const std::string& reference);
    // Opens the verse's cached file, downloading it first when not cached.
    void PlayVerse(int32_t surah, int32_t verse);
    // The verse's file name from the table; ERangeError for no verse.
    std::string GetFileName(int32_t surah, int32_t verse);
    // Entry n (1 to 6236) of the table; empty when not loaded.
    std::string FileName(int32_t n);
    // Entries the last Load set.
    int32_t Count() const { return static_cast<int32_t>(FStored.size()); }
    // True when Load found a line that is not a stored line (a damaged file).
    bool Damaged() const { return FDamaged; }

    void EnsureCacheFolder();
    // Asks, then deletes the recitation files of the table from the cache
    // folder; nothing else there is touched. Returns the files deleted.
    int ClearCache();

    // A table entry usable as a file name inside the cache folder.
    static bool SafeCacheName(const std::string& name);
    // The server error message for a download code.
    static std::string ServerErrorMessage(int code);
    // The path of the table file.
    static std::string DataFileName();

    TfrmMainBase* MainForm;
    std::string CacheFolder;
    std::string Server;

private:
    std::string CachePath(const std::string& name) const;
    std::string FExpectedSignature;
    std::vector<std::string> FStored;     // entry n is FStored[n - 1]
    std::vector<std::string> FNames;      // deciphered entries
    std::vector<bool> FDeciphered;
    bool FDamaged = false;
};
