#pragma once
// Module verification: every module that reads shipped files can check them
// against their build-time signatures. The registry lists the modules in the
// order they were registered; the verification dialog runs them one by one.
//
// Nothing here touches a window. Showing the severe message and ending the
// application go through TVerificationHandlers, which the window layer fills
// in at start-up (tests fill it with recorders).
#include "util/strutils.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Base of every module that checks its files.
class TVerifiableObject {
public:
    virtual ~TVerifiableObject() = default;
    // True when the module's files are intact. A failing module may also call
    // FatalVerificationFailure itself.
    virtual bool Verify() = 0;
    // The module's name in the verification dialog.
    virtual std::string GetName() = 0;
};

// The program's registry. It holds references only: a module must outlive
// its registration (or be removed with Unregister).
class TVerificationManager {
public:
    // Appends the module; registering one twice lists and checks it twice.
    void Register(TVerifiableObject& module);
    // Drops every registration of the module (a module freed before the end).
    void Unregister(const TVerifiableObject& module);
    void Clear();

    // Replaces the list's contents with the names, in registration order.
    void FillList(TStringList& names) const;

    std::size_t Count() const { return FModules.size(); }
    TVerifiableObject& Module(std::size_t index) const { return *FModules.at(index); }

private:
    std::vector<TVerifiableObject*> FModules;
};

// The one registry of the program.
TVerificationManager& VerificationManager();

// What the fatal failure does to the outside world.
struct TVerificationHandlers {
    // Shows the severe message (heading, text); returns once the reader saw it.
    std::function<void(const std::string& heading, const std::string& text)> ShowSevere;
    // Asks the application to end once control returns to the event loop.
    std::function<void()> RequestTerminate;
};
// Installs the handlers; returns the previous ones.
TVerificationHandlers SetVerificationHandlers(TVerificationHandlers handlers);

extern const char* const kVerificationFailedHeading; // "Verification Failed!"
extern const char* const kVerificationFailedText;

// True once the fatal failure has been reported.
bool FailureShown();
// Clears the flag (tests, and nothing else).
void ResetFailureShown();

// Reports the failure once, then asks the application to end. Callers carry
// on after it: they rely on the termination, not on an exception.
void FatalVerificationFailure();

// Runs the reading of a shipped module or document. A file whose content
// cannot be read (bad Base64, a damaged library, lines that do not parse, a
// missing file) is not the file that was shipped, so the error ends as
// FatalVerificationFailure instead of escaping to the caller. True when the
// load ran to its end and no failure has been reported.
bool LoadShippedFile(const std::function<void()>& load);

// The program's own file against the signature the build wrote beside it
// (the program file name + ".sig"). A missing or unreadable signature file,
// or a program file whose signature differs, fails the check.
class TProgramSelfCheck : public TVerifiableObject {
public:
    explicit TProgramSelfCheck(std::string programFile, std::string signatureFile = {});
    bool Verify() override;
    std::string GetName() override;

    // The path of the running program file ("/proc/self/exe" resolved).
    static std::string RunningProgramFile();

private:
    std::string FProgramFile;
    std::string FSignatureFile;
};
