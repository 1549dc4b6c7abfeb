// The fuzz targets, built into the unit tests: each runs over the inputs it
// once failed on (fuzz/regressions/TARGET/), so a fixed fault stays fixed in
// the normal and the sanitizer builds.
#include "fuzz_target.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {
std::map<std::string, TFuzzTarget>& Targets() {
    static std::map<std::string, TFuzzTarget> targets;
    return targets;
}

int RunTarget(const std::string& name, const std::string& input) {
    return Targets().at(name)(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

class FuzzReplay : public ::testing::Test {
protected:
    void SetUp() override {
        // The targets write their input to the temporary folder.
        std::string tmp = HALVORA_BUILD_DIR "/test-home/test_fuzzreplay/tmp";
        fs::create_directories(tmp);
        setenv("TMPDIR", tmp.c_str(), 1);
    }
};
} // namespace

void RegisterFuzzTarget(const char* name, TFuzzTarget target) { Targets()[name] = target; }

TEST_F(FuzzReplay, EveryFuzzTargetIsInTheTests) {
    std::map<std::string, bool> built;
    for (const auto& entry : fs::directory_iterator(HALVORA_SOURCE_DIR "/fuzz"))
        if (entry.path().extension() == ".cpp") built[entry.path().stem().string().substr(5)] = true;
    ASSERT_FALSE(built.empty());
    for (const auto& [name, _] : built) EXPECT_TRUE(Targets().count(name)) << name;
    EXPECT_EQ(built.size(), Targets().size());
}

// The smallest inputs, and one of each kind's own first bytes, on every target;
// then every input a target once failed on (fuzz/regressions/TARGET/).
TEST_F(FuzzReplay, EveryTargetTakesTinyAndKeptInputs) {
    for (const auto& [name, target] : Targets())
        for (std::string input : {std::string(), std::string(1, '\0'), std::string("\r\n\r\n"),
                                  std::string("MZ\x90\0", 4), std::string("<<T:", 4),
                                  std::string(" a\n  b\n c\r\n[x]\n=\n")})
            EXPECT_NO_THROW(RunTarget(name, input)) << name << " on " << input.size() << " bytes";
    std::error_code ec;
    for (const auto& dir : fs::directory_iterator(HALVORA_SOURCE_DIR "/fuzz/regressions", ec)) {
        if (!dir.is_directory()) continue;
        std::string name = dir.path().filename().string();
        ASSERT_TRUE(Targets().count(name)) << "no fuzz target " << name;
        for (const auto& file : fs::directory_iterator(dir.path())) {
            std::string input;
            ASSERT_TRUE(ReadFileBytes(file.path().string(), input)) << file.path();
            EXPECT_NO_THROW(RunTarget(name, input)) << file.path();
        }
    }
}
