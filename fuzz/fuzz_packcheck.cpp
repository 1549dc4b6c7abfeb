// "halvora-pack check" over a story source: any text gives a list of problems
// or none, and never a crash. The data folder holds the story and the
// edition's translation source; the other sources are missing, which the
// check reports and which keeps each run short.
#include "fuzz_target.h"
#include "commands.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
std::string FuzzDataFolder() {
    namespace fs = std::filesystem;
    static const std::string dir = [] {
        std::string d = (fs::temp_directory_path() / ("halvora-fuzz-data-" + std::to_string(getpid()))).string();
        fs::remove_all(d);
        fs::create_directories(d + "/stories");
        fs::copy(HALVORA_SOURCE_DIR "/data/translations", d + "/translations", fs::copy_options::recursive);
        return d;
    }();
    return dir;
}
} // namespace

HALVORA_FUZZ_TARGET(packcheck) {
    std::string dir = FuzzDataFolder();
    std::string story = FuzzInputFile(data, size, ".txt");
    std::filesystem::copy_file(story, dir + "/stories/01.txt",
                               std::filesystem::copy_options::overwrite_existing);
    RunPackCommand({"check", dir});
    return 0;
}
