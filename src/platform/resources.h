#pragma once
// Resource libraries: the module files are resource-only PE DLLs, opened by
// bare name from the program folder and read with the bounds-checked reader.
#include "platform/pe.h"
#include "util/strutils.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TResourceLibrary {
public:
    // An unloaded library: every look-up fails.
    TResourceLibrary() = default;
    // The parsed image points into the library's own bytes: never copied.
    TResourceLibrary(const TResourceLibrary&) = delete;
    TResourceLibrary& operator=(const TResourceLibrary&) = delete;

    // Opens a module file. A name without a folder is taken from the program
    // folder, whatever the current folder is. False for a missing or damaged
    // file, which leaves the library unloaded (Error() says why).
    bool Open(const std::string& fileName);
    // The same over bytes already in memory (tests, the pack tool).
    bool LoadFromBytes(std::string bytes, const std::string& fileName = {});

    bool Loaded() const { return FImage.Valid(); }
    const std::string& FileName() const { return FFileName; }
    const std::string& Error() const { return FError; }

    // Arguments in the order of the system call: name, then type. A text
    // "#n" names the numeric identifier n; names ignore ASCII letter case.
    bool HasResource(std::string_view name, std::string_view type) const;
    // The resource's bytes; false when it is missing or lies outside the file.
    bool ReadResource(std::string_view name, std::string_view type, std::string& data) const;
    // Every resource; false when the directory is damaged.
    bool ListResources(std::vector<TPeResourceEntry>& entries) const;
    // The bytes of one listed entry (each language its own); false when they
    // lie outside the file.
    bool ReadEntryData(const TPeResourceEntry& entry, std::string& data) const;

private:
    std::string FFileName, FError, FBytes;
    TPeImage FImage;
};

// The resolved path of a module file: bare names are taken from ProgramFolder.
std::string ModuleFilePath(const std::string& fileName);

// The resource's text as lines (CR LF, lone CR or lone LF end a line; a last
// line without an ending counts; an empty resource gives no lines). A missing
// resource gives no lines: callers test HasResource first and report the
// failure themselves.
TStringList ReadResourceLines(const TResourceLibrary& library, std::string_view name, std::string_view type);
