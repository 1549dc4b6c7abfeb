// Start-up loading and look-ups on the built sample edition.
#include "content/documents.h"
#include "content/glossary.h"
#include "content/quran.h"
#include "content/stories.h"
#include "shell/appbase.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/fileutils.h"

#include <benchmark/benchmark.h>

namespace {

struct NoInit : TfrmInitBase {
    void SetProgressMax(int32_t) override {}
    void SetProgress(int32_t) override {}
};

struct Edition {
    NoInit init;
    TQuranDLLHelper quran;
    TProphetsHelper stories{"HVModule.dll", &quran};
    TMainDocManager docs;
    TGlossaryHelper glossary{ProgramFolder() + "QGloss.dbx"};

    void Load() {
        AppfrmInit = &init;
        quran.Load();
        stories.LoadAll();
        OpenBuiltInDocuments(docs);
        docs.LoadAll();
        glossary.Load();
        // The recitation data file: 6240 lines, each under a key of its own.
        TStringList recitation;
        if (ReadFileLines(ProgramFolder() + "QRemoteAud.dbx", recitation)) DecipherLines(recitation);
        AppfrmInit = nullptr;
    }
};

void UseEditionFolder() { SetProgramFolder(HALVORA_PROGRAM_DIR); }

// Everything the main window's first showing loads, from a cold key cache.
void BM_StartupLoad(benchmark::State& state) {
    UseEditionFolder();
    uint64_t keys = 0;
    TTextCipherCacheStats stats;
    for (auto _ : state) {
        state.PauseTiming();
        ClearTextCipherCache();
        ResetTextCipherKeysDerived();
        ResetTextCipherCacheStats();
        auto edition = std::make_unique<Edition>();
        state.ResumeTiming();
        edition->Load();
        keys = TextCipherKeysDerived();
        stats = TextCipherCacheStats();
        state.PauseTiming();
        edition.reset();
        state.ResumeTiming();
    }
    state.counters["keys_derived"] = static_cast<double>(keys);
    state.counters["key_lookups"] = static_cast<double>(stats.Lookups);
    state.counters["key_hit_rate"] = stats.Lookups ? double(stats.Hits) / double(stats.Lookups) : 0.0;
    state.counters["key_cache_peak_KiB"] = static_cast<double>(stats.PeakBytes) / 1024.0;
}
BENCHMARK(BM_StartupLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StoryPageBodyLongest(benchmark::State& state) {
    UseEditionFolder();
    Edition e;
    e.Load();
    int longest = 1;
    for (int p = 1; p <= 29; ++p)
        if (e.stories.Story(p).Lines.size() > e.stories.Story(longest).Lines.size()) longest = p;
    for (auto _ : state) benchmark::DoNotOptimize(e.stories.StoryPageBody(longest, true));
    state.SetLabel("prophet " + std::to_string(longest));
}
BENCHMARK(BM_StoryPageBodyLongest)->Unit(benchmark::kMicrosecond);

void BM_LookupWordPlural(benchmark::State& state) {
    UseEditionFolder();
    TGlossaryHelper glossary(ProgramFolder() + "QGloss.dbx");
    glossary.Load();
    for (auto _ : state) benchmark::DoNotOptimize(glossary.LookupWord("prophets"));
}
BENCHMARK(BM_LookupWordPlural);

} // namespace
