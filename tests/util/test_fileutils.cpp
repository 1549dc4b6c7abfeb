#include "util/errors.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/hvfileXXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path); }
};

void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

} // namespace

TEST(FileUtils, SignatureOfKnownFiles) {
    TempDir d;
    Write(d.path + "/abc", "abc");
    Write(d.path + "/empty", "");
    EXPECT_EQ(FileSignature(d.path + "/abc"), "QI8GE2-3=CF41F381-3");
    EXPECT_EQ(FileSignature(d.path + "/empty"), "-=-");
    EXPECT_EQ(FileSignature(d.path + "/missing"), "");
    EXPECT_EQ(FileSignature(d.path + "/abc", 3), "-=-");
    EXPECT_THROW(FileSignature(d.path + "/abc", 4), ERangeError);
    TCrcResult r = ReadCrc(d.path + "/abc", 0);
    EXPECT_EQ(r.Crc, 0x352441C2u);
    EXPECT_EQ(r.BytesRead, 3);
    // a file larger than one block
    std::string big(100000, 'x');
    Write(d.path + "/big", big);
    TCrcResult rb = ReadCrc(d.path + "/big", 1);
    EXPECT_EQ(rb.BytesRead, 99999);
    EXPECT_EQ(FileSignature(d.path + "/big", 1), SignatureText(rb.Crc, 99999));
    EXPECT_NE(ReadCrc(d.path + "/missing", 0).IoResult, 0);
}

TEST(FileUtils, UnreadableFileHasNoSignature) {
    // A regular file whose first read fails for every user, root included:
    // the process's memory at address 0, which is never mapped.
    ASSERT_EQ(FileByteCount("/proc/self/mem"), 0);
    EXPECT_NE(ReadCrc("/proc/self/mem", 0).IoResult, 0);
    EXPECT_EQ(FileSignature("/proc/self/mem"), ""); // not "-=-", the empty file's
}

TEST(FileUtils, WindowsKindClasses) {
    EXPECT_EQ(ClassifyWindowsKind(PlatformWin32s, 3, 1), 0);
    EXPECT_EQ(ClassifyWindowsKind(PlatformWin9x, 4, 0), 1);
    EXPECT_EQ(ClassifyWindowsKind(PlatformWin9x, 4, 10), 2);
    EXPECT_EQ(ClassifyWindowsKind(PlatformWinNT, 3, 51), 3);
    EXPECT_EQ(ClassifyWindowsKind(PlatformWinNT, 4, 0), 4);
    EXPECT_EQ(ClassifyWindowsKind(PlatformWinNT, 5, 1), 5);
    EXPECT_EQ(ClassifyWindowsKind(PlatformWinNT, 6, 1), 6);
    EXPECT_EQ(ClassifyWindowsKind(PlatformOther, 1, 0), 6);
    EXPECT_EQ(WindowsKind(), 6);
}

TEST(FileUtils, ProgramFolderEndsWithSeparator) {
    ASSERT_FALSE(ProgramFolder().empty());
    EXPECT_EQ(ProgramFolder().back(), '/');
    EXPECT_TRUE(FolderExists(ProgramFolder()));
}

TEST(FileUtils, CreateFolderPathFromOutermostMissing) {
    TempDir d;
    fs::create_directory(d.path + "/A");
    EXPECT_TRUE(CreateFolderPath(d.path + "/A/B/C/"));
    EXPECT_TRUE(FolderExists(d.path + "/A/B/C"));
    EXPECT_TRUE(CreateFolderPath(d.path + "/A/B/C"));
    EXPECT_THROW(CreateFolderPath(""), EInOutError);
    EXPECT_THROW(CreateFolderPath("relative"), EInOutError);
    Write(d.path + "/file", "x");
    EXPECT_FALSE(CreateFolderPath(d.path + "/file/sub"));
    EXPECT_EQ(DropTrailingBackslash("/a/b/"), "/a/b");
    EXPECT_EQ(DropTrailingBackslash("/a/b"), "/a/b");
}

TEST(FileUtils, ListAndDeleteTree) {
    TempDir d;
    fs::create_directories(d.path + "/sub/deeper");
    Write(d.path + "/ro.txt", "x");
    chmod((d.path + "/ro.txt").c_str(), 0444);
    Write(d.path + "/sub/a.dbi", "x");
    Write(d.path + "/sub/deeper/b.dbi", "x");
    TStringList names;
    EXPECT_TRUE(ListFolder(d.path + "/sub/*.dbi", faAnyFile, names));
    EXPECT_EQ(names, TStringList{"a.dbi"});
    names.clear();
    EXPECT_FALSE(ListFolder(d.path + "/sub/*.none", faAnyFile, names));
    EXPECT_EQ(FileByteCount(d.path + "/ro.txt"), 1);
    EXPECT_EQ(FileByteCount(d.path + "/nothing"), -1);

    EXPECT_TRUE(DeleteFolderTree(d.path, false, false));
    EXPECT_TRUE(FolderExists(d.path + "/sub/deeper"));
    EXPECT_FALSE(fs::exists(d.path + "/ro.txt"));
    EXPECT_FALSE(fs::exists(d.path + "/sub/deeper/b.dbi"));
    EXPECT_TRUE(DeleteFolderTree(d.path + "/sub/", false, true));
    EXPECT_FALSE(fs::exists(d.path + "/sub"));
}

TEST(FileUtils, AtomicWriteAndSaveText) {
    TempDir d;
    std::string f = d.path + "/out.txt";
    SaveTextToFile("a\nb\rc\r\n", f);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(f, bytes));
    EXPECT_EQ(bytes, "a\r\nb\r\nc\r\n");
    EXPECT_THROW(WriteFileAtomic(d.path + "/no/such/dir/x", "y"), EInOutError);
    // A write that fails half-way through the temporary file (the file-size
    // limit here, a full disk in life): the temporary file must go.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4;
    auto oldSignal = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteFileAtomic(d.path + "/big.txt", std::string(100, 'x')), EInOutError);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(fs::exists(d.path + "/big.txt"));
    int files = 0;
    for (auto& e : fs::directory_iterator(d.path)) files += e.is_regular_file();
    EXPECT_EQ(files, 1); // no temporary file left behind
}

TEST(FileUtils, StaleTemporaryFilesOfDeadWritersGo) {
    TempDir d;
    const std::string f = d.path + "/HVBookmarks.dbx";
    pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_GT(dead, 0);
    waitpid(dead, nullptr, 0);
    const std::string live = f + ".tmp" + std::to_string(getpid());
    const std::string gone = f + ".tmp" + std::to_string(dead);
    for (const std::string& name : {f, live, gone, f + ".tmpx1", d.path + "/Other.tmp" + std::to_string(dead)})
        Write(name, "x");
    RemoveStaleTempFiles(f);
    EXPECT_FALSE(fs::exists(gone));
    for (const std::string& name : {f, live, f + ".tmpx1", d.path + "/Other.tmp" + std::to_string(dead)})
        EXPECT_TRUE(fs::exists(name)) << name;
}

TEST(FileUtils, PieceByPieceWriterReplacesOnlyOnCommit) {
    TempDir d;
    std::string f = d.path + "/out.txt";
    Write(f, "old");
    {
        TAtomicFileWriter w(f);
        w.Write("new ");
        w.Write(std::string(200000, 'x')); // past the writer's buffer
        EXPECT_TRUE(fs::exists(w.TempFileName()));
        // Abandoned: an error on the way leaves the old file and no temporary one.
    }
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(f, bytes));
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(d.path), fs::directory_iterator()), 1);
    {
        TAtomicFileWriter w(f);
        w.Write("new ");
        w.Write("text");
        w.Commit();
        EXPECT_THROW(w.Write("late"), EInOutError);
    }
    ASSERT_TRUE(ReadFileBytes(f, bytes));
    EXPECT_EQ(bytes, "new text");
    EXPECT_EQ(std::distance(fs::directory_iterator(d.path), fs::directory_iterator()), 1);
}

TEST(FileUtils, CreateFolderPathWithDoubledSeparators) {
    TempDir d;
    EXPECT_TRUE(CreateFolderPath(d.path + "/x//y//"));
    EXPECT_TRUE(FolderExists(d.path + "/x/y"));
    EXPECT_TRUE(CreateFolderPath(d.path + "//z"));
    EXPECT_TRUE(FolderExists(d.path + "/z"));
}

TEST(FileUtils, ListFolderWithADanglingLink) {
    TempDir d;
    Write(d.path + "/a.txt", "x");
    fs::create_symlink(d.path + "/gone", d.path + "/link.txt");
    Write(d.path + "/z.txt", "x");
    TStringList names;
    EXPECT_TRUE(ListFolder(d.path + "/*.txt", faAnyFile, names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (TStringList{"a.txt", "link.txt", "z.txt"}));
}

TEST(FileUtils, ProtectedFolders) {
    const passwd* pw = getpwuid(getuid());
    ASSERT_NE(pw, nullptr);
    for (std::string f : {std::string(), std::string("/"), std::string("//"), std::string("/.."),
                          std::string(pw->pw_dir), std::string(pw->pw_dir) + "/",
                          std::string(getenv("HOME"))})
        EXPECT_TRUE(IsProtectedFolder(f)) << f;
    TempDir d;
    EXPECT_FALSE(IsProtectedFolder(d.path));
    EXPECT_FALSE(IsProtectedFolder(d.path + "/missing"));
}

TEST(FileUtils, DeleteFolderTreeLeavesTheHomeFolderAlone) {
    // The test's own home: were the guard missing, only this would be emptied.
    TempDir home;
    Write(home.path + "/canary", "x");
    fs::create_symlink(home.path, home.path + "-link");
    std::string oldHome = getenv("HOME");
    setenv("HOME", home.path.c_str(), 1);
    for (std::string f : {home.path, home.path + "/", home.path + "-link", home.path + "/../" +
                                                                             fs::path(home.path).filename().string()})
        EXPECT_FALSE(DeleteFolderTree(f, false, true)) << f;
    setenv("HOME", oldHome.c_str(), 1);
    fs::remove(home.path + "-link");
    EXPECT_TRUE(fs::exists(home.path + "/canary"));
}

// Runs the deletion as an ordinary user, for whom permissions count (root
// may empty any folder whatever its mode).
bool DeleteAsUser(const std::string& tree, const std::string& folder) {
    if (geteuid() != 0) return DeleteFolderTree(folder, false, true);
    const uid_t nobody = 65534;
    for (auto& e : fs::recursive_directory_iterator(tree))
        EXPECT_EQ(lchown(e.path().c_str(), nobody, nobody), 0);
    EXPECT_EQ(chown(tree.c_str(), nobody, nobody), 0);
    pid_t pid = fork();
    if (pid == 0) {
        if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(2);
        _exit(DeleteFolderTree(folder, false, true) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileUtils, DeleteFolderTreeEmptiesAnUnwritableSubfolder) {
    TempDir d;
    std::string top = d.path + "/top";
    fs::create_directories(top + "/locked/inner");
    Write(top + "/locked/a.dbi", "x");
    Write(top + "/locked/inner/b.dbi", "x");
    chmod((top + "/locked/inner").c_str(), 0555);
    chmod((top + "/locked").c_str(), 0555);
    EXPECT_TRUE(DeleteAsUser(d.path, top));
    EXPECT_FALSE(fs::exists(top));
}
