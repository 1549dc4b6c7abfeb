// The recitation table on the built sample edition: what start-up pays for it,
// and what deciphering every entry would cost instead.
#include "content/surahs.h"
#include "net/recitation.h"
#include "storage/cipher.h"
#include "util/fileutils.h"

#include <benchmark/benchmark.h>

namespace {

void RecitationBench(benchmark::State& state, int32_t entries) {
    SetProgramFolder(HALVORA_PROGRAM_DIR);
    for (auto _ : state) {
        state.PauseTiming();
        ClearTextCipherCache();
        TQRemoteAudio audio(nullptr, "");
        state.ResumeTiming();
        audio.Load();
        for (int32_t n = 1; n <= entries; ++n) benchmark::DoNotOptimize(audio.FileName(n));
    }
    ClearTextCipherCache();
}

// Start-up: read and check the stored lines; no entry deciphered yet.
void BM_RecitationLoad(benchmark::State& state) { RecitationBench(state, 0); }
BENCHMARK(BM_RecitationLoad)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first recitation link: the load and one entry.
void BM_RecitationLoadAndOneVerse(benchmark::State& state) { RecitationBench(state, 1); }
BENCHMARK(BM_RecitationLoadAndOneVerse)->Unit(benchmark::kMillisecond)->Iterations(10);

// Every entry, as a start-up that deciphered the whole table would pay.
void BM_RecitationDecipherAll(benchmark::State& state) { RecitationBench(state, kQuranVerseCount); }
BENCHMARK(BM_RecitationDecipherAll)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
