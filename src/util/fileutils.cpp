#include "util/fileutils.h"

#include "util/errors.h"

#include <zlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string DetectProgramFolder() {
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return "./";
    std::string path(buf.data(), static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string& ProgramFolderRef() {
    static std::string folder = DetectProgramFolder();
    return folder;
}

// Windows-style mask: '*' any run, '?' one character; "*.*" matches every name.
bool MatchMask(const char* mask, const char* name) {
    if (std::string_view(mask) == "*.*") return true;
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*mask == '?' || (*mask != '*' && UpperCase(std::string(1, *mask)) ==
                                                 UpperCase(std::string(1, *name)))) {
            ++mask;
            ++name;
        } else if (*mask == '*') {
            star = mask++;
            resume = name;
        } else if (star) {
            mask = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*mask == '*') ++mask;
    return *mask == '\0';
}

bool MakeWritable(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return false;
    if (S_ISLNK(st.st_mode)) return true;
    return chmod(path.c_str(), st.st_mode | S_IWUSR) == 0;
}

void MakeFolderWritable(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    mode_t wanted = st.st_mode | S_IRUSR | S_IWUSR | S_IXUSR;
    if (wanted != st.st_mode) chmod(path.c_str(), wanted);
}

std::string CanonicalPath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return {};
    std::string r = real;
    free(real);
    return r;
}

} // namespace

bool IsProtectedFolder(const std::string& folder) {
    if (folder.empty()) return true;
    std::string real = CanonicalPath(folder);
    if (real.empty()) return false; // nothing there to delete
    if (real == "/") return true;
    std::vector<std::string> homes;
    if (const char* h = getenv("HOME"); h && *h) homes.push_back(h);
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) homes.push_back(pw->pw_dir);
    for (const auto& h : homes)
        if (CanonicalPath(h) == real) return true;
    return false;
}

const std::string& ProgramFolder() { return ProgramFolderRef(); }

void SetProgramFolder(const std::string& folder) {
    std::string f = folder;
    if (f.empty() || f.back() != '/') f += '/';
    ProgramFolderRef() = f;
}

uint8_t ClassifyWindowsKind(int platform, int major, int minor) {
    switch (platform) {
    case PlatformWin32s:
        return 0;
    case PlatformWin9x:
        return minor == 0 ? 1 : 2;
    case PlatformWinNT:
        if (major == 3) return 3;
        if (major == 4) return 4;
        if (major == 5) return 5;
        return 6;
    default:
        return 6;
    }
}

uint8_t WindowsKind() {
    static const uint8_t kind = ClassifyWindowsKind(PlatformOther, 0, 0);
    return kind;
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolderPath(const std::string& path) {
    if (path.empty()) throw EInOutError("Unable to create directory");
    // "a//b" names "a/b": a doubled separator would otherwise be its own parent.
    std::string p;
    for (char c : path)
        if (c != '/' || p.empty() || p.back() != '/') p += c;
    p = DropTrailingBackslash(p);
    if (p.size() < 3 || FolderExists(p)) return true;
    size_t cut = p.find_last_of("/:");
    std::string parent = cut == std::string::npos ? std::string() : p.substr(0, cut + 1);
    if (parent == p) return true;
    if (!CreateFolderPath(parent)) return false;
    return mkdir(p.c_str(), 0777) == 0 || FolderExists(p);
}

std::string DropTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '/') return path.substr(0, path.size() - 1);
    return path;
}

int64_t FileByteCount(const std::string& fileName) {
    struct stat st {};
    if (fileName.empty() || stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool ListFolder(const std::string& mask, unsigned attributes, TStringList& names) {
    size_t slash = mask.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : mask.substr(0, slash);
    if (folder.empty()) folder = "/";
    std::string pattern = slash == std::string::npos ? mask : mask.substr(slash + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    bool any = false;
    for (;;) {
        // Only readdir's own errno counts: the checks below may set it too.
        errno = 0;
        dirent* e = readdir(dir);
        if (!e) break;
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!MatchMask(pattern.c_str(), name.c_str())) continue;
        bool isDir = FolderExists(folder + "/" + name);
        if (isDir && !(attributes & faDirectory)) continue;
        if (!isDir && name[0] == '.' && !(attributes & faHidden)) continue;
        names.push_back(name);
        any = true;
    }
    bool ok = errno == 0;
    closedir(dir);
    return ok && any;
}

bool DeleteFolderTree(const std::string& folder, bool stopAtFirstFailure, bool removeFolder) {
    std::string f = DropTrailingBackslash(folder);
    if (IsProtectedFolder(f)) return false;
    // A folder's entries can only go while it is writable (and listable):
    // open it up before emptying it, not after.
    MakeFolderWritable(f);
    TStringList names;
    ListFolder(f + "/*.*", faAnyFile, names);
    bool ok = true;
    for (const auto& name : names) {
        std::string path = f + "/" + name;
        struct stat st {};
        bool isDir = lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        bool done;
        if (isDir)
            done = DeleteFolderTree(path, stopAtFirstFailure, removeFolder);
        else
            done = MakeWritable(path) && unlink(path.c_str()) == 0;
        if (!done) {
            ok = false;
            if (stopAtFirstFailure) break;
        }
    }
    if (!ok) return false;
    if (!MakeWritable(f)) return false;
    if (removeFolder) return rmdir(f.c_str()) == 0;
    return true;
}

TCrcResult ReadCrc(const std::string& fileName, int64_t offset) {
    TCrcResult r;
    uLong crc = crc32(0L, Z_NULL, 0);
    int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        r.IoResult = errno ? errno : EIO;
        r.Crc = static_cast<uint32_t>(crc);
        return r;
    }
    if (offset > 0 && lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) r.IoResult = errno;
    std::vector<unsigned char> buf(32768);
    while (r.IoResult == 0) {
        ssize_t n = read(fd, buf.data(), buf.size());
        if (n < 0) {
            r.IoResult = errno ? errno : EIO;
            break;
        }
        if (n == 0) break;
        crc = crc32(crc, buf.data(), static_cast<uInt>(n));
        r.BytesRead += n;
    }
    close(fd);
    r.Crc = static_cast<uint32_t>(crc);
    return r;
}

std::string SignatureText(uint32_t crc, uint64_t n) {
    uint32_t n32 = static_cast<uint32_t>(n);
    return ToBase(32, crc) + "-" + ReverseText(ToBase(22, n32)) + "=" +
           ReverseText(ToBase(18, crc)) + "-" + ReverseText(ToBase(14, n32));
}

std::string FileSignature(const std::string& fileName, int64_t offset) {
    int64_t size = FileByteCount(fileName);
    if (size < 0) return {};
    if (offset < 0 || offset > size) throw ERangeError();
    int64_t n = size - offset;
    TCrcResult r = ReadCrc(fileName, offset);
    if (r.IoResult != 0 || r.BytesRead != n) return {};
    return SignatureText(r.Crc, static_cast<uint64_t>(n));
}

namespace {

// The file a write must replace: a symlink (as dotfile managers set up) is
// followed to its target, so the link stays and the target gets the text.
std::string WriteTarget(const std::string& fileName) {
    std::string path = fileName;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
        if (n <= 0 || static_cast<size_t>(n) >= buf.size()) break;
        std::string target(buf.data(), static_cast<size_t>(n));
        if (target[0] != '/') {
            size_t slash = path.rfind('/');
            target = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
        path = target;
    }
    throw EInOutError("Unable to write to " + fileName);
}

} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string fileName)
    : FFileName(std::move(fileName)), FTarget(WriteTarget(FFileName)),
      FTempName(FTarget + ".tmp" + std::to_string(getpid())) {
    // A file its owner made read-only is not replaced behind their back; the
    // mode bits count for root too, who may write anything.
    struct stat st {};
    const bool exists = stat(FTarget.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || access(FTarget.c_str(), W_OK) != 0))
        throw EInOutError("Unable to write to " + FFileName);
    FFd = open(FTempName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (FFd < 0) throw EInOutError("Unable to write to " + FFileName);
    // The replacement keeps the mode of the file it replaces (a private 0600 stays private).
    if (exists && fchmod(FFd, st.st_mode & 07777) != 0) Fail();
}

TAtomicFileWriter::~TAtomicFileWriter() {
    if (FFd >= 0) {
        close(FFd);
        unlink(FTempName.c_str());
    }
}

void TAtomicFileWriter::Fail() {
    close(FFd);
    FFd = -1;
    unlink(FTempName.c_str());
    throw EInOutError("Unable to write to " + FFileName);
}

void TAtomicFileWriter::Flush() {
    size_t done = 0;
    while (done < FBuffer.size()) {
        ssize_t w = write(FFd, FBuffer.data() + done, FBuffer.size() - done);
        if (w <= 0) {
            if (w < 0 && errno == EINTR) continue;
            Fail();
        }
        done += static_cast<size_t>(w);
    }
    FBuffer.clear();
}

void TAtomicFileWriter::Write(std::string_view bytes) {
    if (FFd < 0) throw EInOutError("Unable to write to " + FFileName);
    FBuffer.append(bytes);
    if (FBuffer.size() >= 65536) Flush();
}

void TAtomicFileWriter::Commit() {
    if (FFd < 0) throw EInOutError("Unable to write to " + FFileName);
    Flush();
    bool ok = fsync(FFd) == 0;
    ok = close(FFd) == 0 && ok;
    FFd = -1;
    if (!ok || rename(FTempName.c_str(), FTarget.c_str()) != 0) {
        unlink(FTempName.c_str());
        throw EInOutError("Unable to write to " + FFileName);
    }
    // The rename itself reaches the disk with its folder.
    size_t slash = FTarget.rfind('/');
    std::string folder = slash == std::string::npos ? "." : FTarget.substr(0, slash + 1);
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

void RemoveStaleTempFiles(const std::string& fileName) {
    size_t slash = fileName.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : fileName.substr(0, slash);
    const std::string prefix = (slash == std::string::npos ? fileName : fileName.substr(slash + 1)) + ".tmp";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (dirent* e = readdir(dir)) {
        std::string_view name = e->d_name;
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
        std::string_view digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
        const pid_t pid = pid_t(std::stol(std::string(digits)));
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) unlink((folder + "/" + std::string(name)).c_str());
    }
    closedir(dir);
}

void WriteFileAtomic(const std::string& fileName, const std::string& bytes) {
    TAtomicFileWriter w(fileName);
    w.Write(bytes);
    w.Commit();
}

bool ReadFileBytes(const std::string& fileName, std::string& bytes) {
    int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    bytes.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return false;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

void SaveTextToFile(std::string_view text, const std::string& fileName) {
    std::string bytes;
    for (const auto& l : SplitLines(text)) {
        bytes += l;
        bytes += "\r\n";
    }
    WriteFileAtomic(fileName, bytes);
}
