#include "storage/verification.h"

#include "util/fileutils.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

const char* const kVerificationFailedHeading = "Verification Failed!";
const char* const kVerificationFailedText =
    "Severe Software Error:  Verification Failed\r\n\r\n"
    "One or more of the Program/Data Files have failed Validation.\r\n\r\n"
    "This problem could be caused by any of the following:-\r\n\r\n"
    "1) This Software may have been Tampered with.\r\n"
    "2) Faulty Installation or Files Deleted\r\n"
    "3) Your computer may be infected with a Virus\r\n\r\n"
    "Recommendation:-\r\n\r\n"
    "Re-install this Software again.";

namespace {

bool gFailureShown = false;

TVerificationHandlers& Handlers() {
    static TVerificationHandlers handlers;
    return handlers;
}

} // namespace

void TVerificationManager::Register(TVerifiableObject& module) { FModules.push_back(&module); }

void TVerificationManager::Unregister(const TVerifiableObject& module) {
    FModules.erase(std::remove(FModules.begin(), FModules.end(), &module), FModules.end());
}

void TVerificationManager::Clear() { FModules.clear(); }

void TVerificationManager::FillList(TStringList& names) const {
    names.clear();
    for (TVerifiableObject* m : FModules) names.push_back(m->GetName());
}

TVerificationManager& VerificationManager() {
    static TVerificationManager manager;
    return manager;
}

TVerificationHandlers SetVerificationHandlers(TVerificationHandlers handlers) {
    return std::exchange(Handlers(), std::move(handlers));
}

bool FailureShown() { return gFailureShown; }

void ResetFailureShown() { gFailureShown = false; }

void FatalVerificationFailure() {
    if (gFailureShown) return;
    // Set before showing: a check running while the message is up must not
    // open a second one.
    gFailureShown = true;
    const TVerificationHandlers& h = Handlers();
    if (h.ShowSevere) h.ShowSevere(kVerificationFailedHeading, kVerificationFailedText);
    if (h.RequestTerminate) h.RequestTerminate();
}

bool LoadShippedFile(const std::function<void()>& load) {
    try {
        load();
    } catch (const std::exception&) {
        // bad_alloc included: a hostile file may describe more than memory holds.
        FatalVerificationFailure();
    }
    return !gFailureShown;
}

TProgramSelfCheck::TProgramSelfCheck(std::string programFile, std::string signatureFile)
    : FProgramFile(std::move(programFile)), FSignatureFile(std::move(signatureFile)) {
    if (FSignatureFile.empty()) FSignatureFile = FProgramFile + ".sig";
}

bool TProgramSelfCheck::Verify() {
    std::string stored;
    bool ok = ReadFileBytes(FSignatureFile, stored);
    if (ok) {
        stored = Trim(stored);
        std::string actual = FileSignature(FProgramFile);
        ok = !stored.empty() && !actual.empty() && stored == actual;
    }
    if (!ok) FatalVerificationFailure();
    return ok;
}

std::string TProgramSelfCheck::GetName() { return "Program Integrity Self-Check"; }

std::string TProgramSelfCheck::RunningProgramFile() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}
