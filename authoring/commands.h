#pragma once
// The command table of halvora-pack. A command lives in a file of its own in
// authoring/ and registers itself there with a static TPackCommandRegistration,
// so adding one needs no edit elsewhere:
//
//   namespace {
//   int RunCheck(const std::vector<std::string>& args) { ... return 0; }
//   const TPackCommandRegistration kCheck{{"check", "check KIND FILE", "validate a plain source", 2, 2, RunCheck}};
//   }
//
// A command raises EHalvoraError (or any std::exception) for bad input; the
// tool prints "halvora-pack: " and the message and exits with 1.
#include "util/errors.h"
#include "util/strutils.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TPackCommand {
    const char* Name;
    const char* Synopsis; // name and arguments, for the usage text
    const char* Help;     // one line
    size_t MinArgs;       // arguments after the name
    size_t MaxArgs;       // SIZE_MAX for any number
    int (*Run)(const std::vector<std::string>& args); // the arguments after the name
};

void RegisterPackCommand(const TPackCommand& command);

struct TPackCommandRegistration {
    explicit TPackCommandRegistration(const TPackCommand& command) { RegisterPackCommand(command); }
};

// Runs one command line (without the program name); returns the exit code:
// 2 with the usage text for an unknown command or a wrong argument count.
// Errors are raised.
int RunPackCommand(const std::vector<std::string>& args);

// Bad input to a command.
class EPackError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};

// Helpers shared by the commands.
int32_t ParsePackKey(const std::string& text);
// A plain source file as lines (CR LF, CR or LF); EPackError when unreadable.
TStringList ReadPlainLines(const std::string& fileName);
// Prints each line followed by LF.
void PrintLines(const TStringList& lines);
