// Full-text search over the built sample edition: the first search, which
// collects the pages' texts and builds the index (target 300 ms), and later
// searches (target 10 ms).
#include "content/documents.h"
#include "content/glossary.h"
#include "content/quran.h"
#include "content/stories.h"
#include "pages/composer.h"
#include "pages/search.h"
#include "shell/appbase.h"
#include "util/fileutils.h"

#include <benchmark/benchmark.h>

namespace {

struct NoProgress : TfrmInitBase {
    void SetProgressMax(int32_t) override {}
    void SetProgress(int32_t) override {}
};

struct LoadedEdition {
    NoProgress init;
    TQuranDLLHelper quran;
    TProphetsHelper stories{"HVModule.dll", &quran};
    TMainDocManager docs;
    TGlossaryHelper glossary{ProgramFolder() + "QGloss.dbx"};
    TPageComposer composer{&docs, &quran, &stories};

    LoadedEdition() {
        AppfrmInit = &init;
        quran.Load();
        stories.LoadAll();
        OpenBuiltInDocuments(docs);
        docs.LoadAll();
        glossary.Load();
        AppfrmInit = nullptr;
    }
    TSearchSources Sources() { return CollectSearchSources(&docs, &composer, &stories, &quran, &glossary); }
};

LoadedEdition& Edition() {
    SetProgramFolder(HALVORA_PROGRAM_DIR);
    static LoadedEdition e;
    return e;
}

// What the reader waits for at the first search: the texts collected on the
// window's thread, the index built on the worker thread, then the search.
void BM_SearchFirst(benchmark::State& state) {
    LoadedEdition& e = Edition();
    size_t hits = 0;
    for (auto _ : state) {
        TSearchIndex index;
        index.StartBuild(e.Sources());
        hits = index.Search("prophet").Hits.size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_SearchFirst)->Unit(benchmark::kMillisecond)->Iterations(5);

// The index build alone, on the calling thread.
void BM_SearchIndexBuild(benchmark::State& state) {
    LoadedEdition& e = Edition();
    TSearchSources sources = e.Sources();
    for (auto _ : state) {
        TSearchIndex index;
        index.Build(sources);
    }
    state.counters["passages"] = static_cast<double>(sources.size());
}
BENCHMARK(BM_SearchIndexBuild)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SearchCollectSources(benchmark::State& state) {
    LoadedEdition& e = Edition();
    for (auto _ : state) benchmark::DoNotOptimize(e.Sources());
}
BENCHMARK(BM_SearchCollectSources)->Unit(benchmark::kMillisecond)->Iterations(5);

// Later searches: a common word (many verses), a transliterated name with
// its glossary spellings, a phrase.
void BM_SearchLater(benchmark::State& state) {
    static const char* const queries[] = {"allah", "ismail", "\"the people of\"", "noah ark"};
    LoadedEdition& e = Edition();
    static TSearchIndex* index = nullptr;
    if (!index) {
        index = new TSearchIndex;
        index->Build(e.Sources());
    }
    const char* q = queries[state.range(0)];
    int total = 0;
    for (auto _ : state) total = index->Search(q, static_cast<int>(state.range(1))).Total();
    state.SetLabel(std::string(q) + " (" + std::to_string(total) + " matches)");
}
BENCHMARK(BM_SearchLater)->ArgsProduct({{0, 1, 2, 3}, {100}})->Unit(benchmark::kMillisecond);

} // namespace
