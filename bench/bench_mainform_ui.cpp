// The main window on the offscreen platform over the built sample edition.
#include "platform/dialogs_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "shell/msgdlg_ui.h"
#include "util/fileutils.h"

#include <QDialog>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

struct PassingCheck : TVerifiableObject {
    bool Verify() override { return true; }
    std::string GetName() override { return "Program Self-Check"; }
};

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "halvora-bench";
    static char* argv[] = {name, nullptr};
    if (!qApp) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static THalvoraApplication app(argc, argv);
        InstallWindowLayer();
    }
    SetProgramFolder(HALVORA_PROGRAM_DIR);
    // A benchmark never waits for a reader.
    SetDialogSeam({[](QDialog&) -> std::optional<int> { return 1; }, nullptr});
}

std::unique_ptr<TfrmMain> NewMainWindow(TfrmInit& init) {
    TMainWindowOptions o;
    o.SelfCheck = std::make_unique<PassingCheck>();
    return std::make_unique<TfrmMain>(&init, std::move(o));
}

// From constructing the main window to the welcome page loaded, from a cold key cache.
void BM_StartupToWelcome(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        state.PauseTiming();
        ClearTextCipherCache();
        TfrmInit init;
        state.ResumeTiming();
        auto w = NewMainWindow(init);
        w->show();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToWelcome)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ShowSelectionLargestStory(benchmark::State& state) {
    EnsureApplication();
    TfrmInit init;
    auto w = NewMainWindow(init);
    w->show();
    int largest = 1;
    for (int p = 1; p <= 29; ++p)
        if (w->Stories->Story(p).Lines.size() > w->Stories->Story(largest).Lines.size()) largest = p;
    for (auto _ : state) {
        state.PauseTiming();
        w->SelectTreeIndex(w->MainDocs->Count()); // away, so the story is shown anew
        state.ResumeTiming();
        w->SelectProphet(largest);
    }
    state.SetLabel("prophet " + std::to_string(largest));
}
BENCHMARK(BM_ShowSelectionLargestStory)->Unit(benchmark::kMillisecond);

} // namespace
