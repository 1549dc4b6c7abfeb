// "cmake --install" into a temporary prefix: a valid desktop entry, and the
// installed program starts from the read-only prefix to its welcome page, its
// own check passing, with the reader's files in the per-user folders.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// Runs a shell command; its exit code and everything it printed.
int Shell(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) output.append(buf.data(), n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Every file of the tree with its size and time of change.
std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Snapshot(const std::string& root) {
    std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        files[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
    return files;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = HALVORA_BUILD_DIR "/test-home/test_install";
        // CTest runs the tests of this file side by side: a prefix each.
        prefix_ = home_ + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Clean();
        std::string out;
        ASSERT_EQ(Shell("cmake --install " + Quote(HALVORA_BUILD_DIR) + " --prefix " + Quote(prefix_), out), 0) << out;
    }
    void TearDown() override { Clean(); }
    void Clean() {
        std::string out;
        if (fs::exists(prefix_)) Shell("chmod -R u+w " + Quote(prefix_), out);
        fs::remove_all(prefix_);
    }
    std::string home_, prefix_;
};

TEST_F(InstallTest, DesktopEntryIsValid) {
    std::string entry = prefix_ + "/share/applications/halvora.desktop", out;
    ASSERT_TRUE(fs::exists(entry));
    EXPECT_EQ(Shell("desktop-file-validate " + Quote(entry), out), 0) << out;
    EXPECT_EQ(out, "") << "warnings or hints from desktop-file-validate";
    EXPECT_TRUE(fs::exists(prefix_ + "/share/icons/hicolor/64x64/apps/halvora.png"));
}

TEST_F(InstallTest, InstalledProgramStartsFromAReadOnlyPrefix) {
    // The start-up dialogs would wait for an answer nobody gives.
    std::string config = std::getenv("XDG_CONFIG_HOME");
    fs::create_directories(config);
    std::ofstream(config + "/Halvora.ini") << "[General]\nStartUpTips=0\nNewsOnStart=0\n";

    std::string out;
    ASSERT_EQ(Shell("chmod -R a-w " + Quote(prefix_), out), 0) << out;
    auto before = Snapshot(prefix_);
    ASSERT_GT(before.size(), 8u);

    // From an arbitrary current folder, as a desktop menu starts it.
    int rc = Shell("cd / && QT_QPA_PLATFORM=offscreen timeout 120 " + Quote(prefix_ + "/bin/halvora") +
                     " --startup-check",
                 out);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("Halvora: welcome page shown"), std::string::npos) << out;
    // Nothing is written into the program's folders (as root the modes do not stop it).
    EXPECT_EQ(Snapshot(prefix_), before);
}

} // namespace
