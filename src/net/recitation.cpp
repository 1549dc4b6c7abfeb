#include "net/recitation.h"

#include "content/surahs.h"
#include "net/http.h"
#include "platform/uihooks.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "util/strutils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathTaken(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

// Writes a downloaded file through a temporary file in the same folder and a
// rename, so no half-written file is ever taken for a cached one, and a link
// left at the name is replaced rather than written through.
void SaveCacheFile(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) throw EInOutError("Unable to write to " + path);
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    fchmod(fd, 0644);
    if (close(fd) != 0) ok = false;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw EInOutError("Unable to write to " + path);
    }
}

const char* const kUnsafeNameMessage =
    "Ostravel cannot use the file name the recitation data gives for this verse, so nothing was "
    "downloaded or opened.\r\n\r\nUse \"Verify Software\" from the \"Options\" Menu to check the "
    "program's data files.";

} // namespace

TQRemoteAudio::TQRemoteAudio(TfrmMainBase* mainForm, std::string expectedSignature)
    : MainForm(mainForm), FExpectedSignature(std::move(expectedSignature)) {}

std::string TQRemoteAudio::DataFileName() { return ProgramFolder() + kRecitationFileName; }

void TQRemoteAudio::Load() {
    FStored.clear();
    FNames.clear();
    FDeciphered.clear();
    FDamaged = false;
    TStringList lines;
    if (!ReadFileLines(DataFileName(), lines)) return;
    // Every line must be a stored line before any entry is taken; checking
    // the text costs nothing beside a key set-up, which waits for first use.
    for (const std::string& line : lines) {
        try {
            Base64Decode(line);
        } catch (const EConvertError&) {
            FDamaged = true;
            return;
        }
    }
    size_t entries = lines.size() > kRecitationHeaderLines ? lines.size() - kRecitationHeaderLines : 0;
    bool overLong = entries > static_cast<size_t>(kQuranVerseCount);
    if (overLong) entries = kQuranVerseCount;
    FStored.assign(lines.begin() + kRecitationHeaderLines,
                   lines.begin() + kRecitationHeaderLines + static_cast<std::ptrdiff_t>(entries));
    FNames.assign(entries, {});
    FDeciphered.assign(entries, false);
    if (overLong) return;
    EnsureCacheFolder();
}

std::string TQRemoteAudio::FileName(int32_t n) {
    if (n < 1 || n > Count()) return {};
    size_t i = static_cast<size_t>(n - 1);
    if (!FDeciphered[i]) {
        FNames[i] = DecipherText(FStored[i], n + kRecitationHeaderLines - 1);
        FDeciphered[i] = true;
    }
    return FNames[i];
}

std::string TQRemoteAudio::GetFileName(int32_t surah, int32_t verse) {
    int32_t n = AbsoluteVerse(surah, verse);
    if (n < 1 || n > kQuranVerseCount) throw ERangeError();
    // A verse number past its surah would name another surah's verse.
    if (surah < 1 || surah > kSurahCount || verse < 1 || verse > VerseCount(surah)) throw ERangeError();
    return FileName(n);
}

void TQRemoteAudio::PlayReference(const std::string& reference) {
    int32_t surah = 0, verse = 0;
    ParseVerseRef(reference, surah, verse);
    PlayVerse(surah, verse);
}

bool TQRemoteAudio::SafeCacheName(const std::string& name) {
    if (Trim(name).empty() || name == "." || name == "..") return false;
    if (name.find_first_of("/\\") != std::string::npos || Contains("..", name)) return false;
    for (unsigned char c : name)
        if (c < 32) return false;
    return true;
}

std::string TQRemoteAudio::CachePath(const std::string& name) const {
    std::string folder = CacheFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name;
}

void TQRemoteAudio::PlayVerse(int32_t surah, int32_t verse) {
    if (MainForm) MainForm->SetBusyState(4);
    struct TIdle {
        TfrmMainBase* Form;
        ~TIdle() {
            if (Form) Form->SetBusyState(0);
        }
    } idle{MainForm};
    std::string name = GetFileName(surah, verse);
    if (!SafeCacheName(name) || Trim(CacheFolder).empty()) {
        ShowMessageDialog(mkWarning, 240, mbOKOnly, kUnsafeNameMessage, kServerErrorHeading, true);
        return;
    }
    std::string path = CachePath(name);
    if (IsRegularFile(path)) {
        OpenWithShell(path);
        return;
    }
    if (PathTaken(path)) { // a folder or a dangling link holds the name
        ShowMessageDialog(mkWarning, 240, mbOKOnly, kUnsafeNameMessage, kServerErrorHeading, true);
        return;
    }
    std::string body, header;
    THttpStatus code = hsConnectFailed;
    RunWhileResponsive([&] { code = HttpDownload(Server, kRecitationServerFolder + name, "", "", body, header); });
    if (code != hsOK) {
        ShowMessageDialog(mkWarning, 240, mbOKOnly, ServerErrorMessage(code), kServerErrorHeading, true);
        return;
    }
    EnsureCacheFolder();
    SaveCacheFile(path, body);
    OpenWithShell(path);
}

std::string TQRemoteAudio::ServerErrorMessage(int code) {
    return std::string("Ostravel was unable to download the RealAudio MetaData from the Recitation "
                       "Server.\r\n\r\nReason: -\r\n") +
           QuoteText(HttpStatusText(code)) + "\r\n\r\n" +
           "Check the \"Remote Audio\" settings which can be accessed from " +
           "the \"Options\" Menu. Please also ensure that your internet " + "connection is active.";
}

void TQRemoteAudio::EnsureCacheFolder() {
    if (Trim(CacheFolder).empty() || FolderExists(CacheFolder)) return;
    try {
        CreateFolderPath(CacheFolder);
    } catch (const EHalvoraError&) {
        // Not reported: the next download reports a folder it cannot write.
    }
}

int TQRemoteAudio::ClearCache() {
    int answer = ShowMessageDialog(
        mkConfirmation, 200, mbYesNo,
        "Would you like to delete the temporary files?\r\n\r\nOnly the recitation files Ostravel "
        "downloaded into \"" + CacheFolder + "\" are deleted; other files and folders there are left "
        "as they are.",
        "Delete Temporary files?", true);
    if (answer == mrNo || !FolderExists(CacheFolder)) return 0;
    int deleted = 0;
    for (int32_t n = 1; n <= Count(); ++n) {
        std::string name = FileName(n);
        if (!SafeCacheName(name)) continue;
        std::string path = CachePath(name);
        struct stat st {};
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && unlink(path.c_str()) == 0) ++deleted;
    }
    // Each entry's key was derived once for this pass; keep none of them.
    ClearTextCipherCache();
    return deleted;
}

bool TQRemoteAudio::Verify() {
    EnsureCacheFolder();
    std::string file = DataFileName();
    if (!IsRegularFile(file)) {
        FatalVerificationFailure();
        return false;
    }
    std::string signature = FileSignature(file);
    ShowVerifyItemText(signature);
    if (signature != FExpectedSignature) {
        FatalVerificationFailure();
        return false;
    }
    return true;
}
