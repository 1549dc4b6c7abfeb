#pragma once
// File and system facts: the program folder, the version class, folders,
// listings and the file signature.
#include "util/strutils.h"

#include <cstdint>
#include <string>
#include <string_view>

// The folder of the running program file, ending in "/". Set once at start.
const std::string& ProgramFolder();
// Overrides the program folder (tests and tools that work on another folder).
void SetProgramFolder(const std::string& folder);

// Platform identifiers as the version call reports them.
enum TPlatformId : int { PlatformWin32s = 0, PlatformWin9x = 1, PlatformWinNT = 2, PlatformOther = 3 };
uint8_t ClassifyWindowsKind(int platform, int major, int minor);
// This system's kind: not a Windows system, so "other version" (6).
uint8_t WindowsKind();

bool FolderExists(const std::string& path);
// Creates the folder and its missing parents; doubled separators count once.
bool CreateFolderPath(const std::string& path);
std::string DropTrailingBackslash(const std::string& path);
int64_t FileByteCount(const std::string& fileName);

// Attribute set for ListFolder.
enum : unsigned { faReadOnly = 1, faHidden = 2, faSysFile = 4, faDirectory = 16, faArchive = 32,
                  faAnyFile = 63 };
bool ListFolder(const std::string& mask, unsigned attributes, TStringList& names);
// True for folders no deletion may empty: an empty name (it would read as the
// root), the root and the user's home folder, however they are written.
bool IsProtectedFolder(const std::string& folder);
// Empties a folder tree, keeping or removing the folders. Refuses (false, nothing
// touched) an empty name, the file-system root and the user's home folder.
bool DeleteFolderTree(const std::string& folder, bool stopAtFirstFailure, bool removeFolder);

struct TCrcResult {
    uint32_t Crc = 0;
    int IoResult = 0;
    int64_t BytesRead = 0;
};
TCrcResult ReadCrc(const std::string& fileName, int64_t offset);
std::string SignatureText(uint32_t crc, uint64_t byteCount);
std::string FileSignature(const std::string& fileName, int64_t offset = 0);

// Atomic write: the text goes to a temporary file beside the target, which is
// then renamed over it, keeping its mode. A symlink is written through to its
// target. Raises EInOutError "Unable to write to <file>" on failure and for a
// file that may not be written (read-only); the target is untouched.
void WriteFileAtomic(const std::string& fileName, const std::string& bytes);

// The same, written piece by piece: Write appends to the temporary file,
// Commit flushes it to the disk and renames it over the target. Destroyed
// without Commit (an error on the way), it removes the temporary file and
// the target stays as it was.
//
//   TAtomicFileWriter w(path);
//   for (...) w.Write(line);
//   w.Commit();
// Removes the temporary files that writers of fileName left when their
// process died mid-write (a writer still running keeps its file).
void RemoveStaleTempFiles(const std::string& fileName);

class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string fileName);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    void Write(std::string_view bytes);
    void Commit();
    const std::string& TempFileName() const { return FTempName; }

private:
    void Flush();
    [[noreturn]] void Fail();

    std::string FFileName, FTarget, FTempName, FBuffer; // FTarget: a symlink followed
    int FFd = -1;
};
// Reads a whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& fileName, std::string& bytes);
