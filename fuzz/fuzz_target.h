#pragma once
// One fuzz target per file. Built for libFuzzer, a target is the program's
// LLVMFuzzerTestOneInput; built into the unit tests, it is a named function
// the tests run over the inputs kept in fuzz/regressions/NAME/.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#ifdef HALVORA_FUZZ_REPLAY
using TFuzzTarget = int (*)(const uint8_t* data, size_t size);
void RegisterFuzzTarget(const char* name, TFuzzTarget target);
#define HALVORA_FUZZ_TARGET(name)                                                                  \
    static int FuzzTarget_##name(const uint8_t* data, size_t size);                               \
    [[maybe_unused]] static const bool kFuzzRegistered_##name =                                    \
        (RegisterFuzzTarget(#name, FuzzTarget_##name), true);                                      \
    static int FuzzTarget_##name(const uint8_t* data, size_t size)
#else
#define HALVORA_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
#endif

// The loaders read files: the input goes to a file of this process's own,
// named with the given suffix, in the temporary folder.
inline std::string FuzzInputFile(const uint8_t* data, size_t size, const char* suffix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/halvora-fuzz-" +
                       std::to_string(getpid()) + suffix;
    if (FILE* f = std::fopen(name.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return name;
}
