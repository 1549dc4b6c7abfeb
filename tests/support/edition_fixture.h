#pragma once
// Small module files built by the tests with the project's own code, in a
// temporary program folder, and a recorder for the fatal verification failure.
#include "content/quran.h"
#include "content/stories.h"
#include "storage/verification.h"
#include "util/strutils.h"

#include <map>
#include <memory>
#include <vector>
#include <string>

// A translation module whose verse v of surah s reads "text s:v"; only the
// first lineCount lines are written.
std::string BuildQuranModuleBytes(int lineCount = 6350);
// A story module; stories not given get one heading and one line of text.
std::string BuildStoryModuleBytes(const std::map<int, TStringList>& stories);

// Points ProgramFolder at a fresh temporary folder for its lifetime and
// records the fatal verification failures instead of showing them.
class TFixtureFolder {
public:
    TFixtureFolder();
    ~TFixtureFolder();
    TFixtureFolder(const TFixtureFolder&) = delete;
    TFixtureFolder& operator=(const TFixtureFolder&) = delete;

    const std::string& Path() const { return FPath; } // ends in "/"
    // Writes the file into the folder and returns its signature.
    std::string Write(const std::string& name, const std::string& bytes) const;

    int Reports = 0;
    std::vector<std::string> Headings; // of the severe messages, in order
    int Terminations = 0;

private:
    std::string FPath, FOldFolder;
    TVerificationHandlers FOld;
};

// How often sub occurs in text, without overlaps.
int CountOf(const std::string& text, const std::string& sub);

#include "shell/appbase.h"

// A start-up window that ignores the gauge.
struct TNoProgress : TfrmInitBase {
    void SetProgressMax(int32_t) override {}
    void SetProgress(int32_t) override {}
};

// A self-check that always passes (a test program has no signature file).
struct TPassingCheck : TVerifiableObject {
    bool Verify() override { return true; }
    std::string GetName() override { return "Program Self-Check"; }
};

// The plain source of a main document: eight header lines, then the body.
TStringList MainDocSource(const std::string& name, const std::string& title, int priority,
                          const TStringList& body);

// The translation module of BuildQuranModuleBytes, written into the folder and loaded.
std::unique_ptr<TQuranDLLHelper> LoadedQuranModule(const TFixtureFolder& folder);
// The story module of BuildStoryModuleBytes over that translation, written and loaded.
std::unique_ptr<TProphetsHelper> LoadedStoryModule(const TFixtureFolder& folder, TQuranHelper* quran,
                                                   const std::map<int, TStringList>& stories);
