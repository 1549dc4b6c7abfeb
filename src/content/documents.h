#pragma once
// Main documents: the stand-alone pages beside the book (introduction,
// features, distribution and any further "*.dbi" file in the program folder).
// A document file holds eight enciphered header lines of tagged fields, then
// the enciphered HTML body; header line 0 carries the signature of the body
// bytes as stored.
#include "storage/verification.h"
#include "util/strutils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The number of header lines in a document file.
constexpr int kMainDocHeaderLines = 8;

// The three documents the program opens by name; it cannot run without them.
extern const char* const kBuiltInDocuments[3]; // "Introduction.dbi", "SoftFeat.dbi", "Distribution.dbi"

// What a document check does to the outside world. The window layer fills
// these in; tests record them. Empty members do nothing.
struct TMainDocHooks {
    // The verification dialog's status text (ShowItemText): shows the
    // computed signature. Empty: the verification dialog's status hook.
    std::function<void(const std::string& text)> ShowItemText;
    // The pause after each document of a full check. Empty: a pause that
    // lets window messages run.
    std::function<void(int milliseconds)> Pause;
};
// Installs the hooks; returns the previous ones.
TMainDocHooks SetMainDocHooks(TMainDocHooks hooks);

class TMainDoc : public TVerifiableObject {
public:
    // Stores the path and loads the file; never fails (a bad file leaves Valid false).
    explicit TMainDoc(const std::string& fileName);

    void Load();
    void MarkBuiltIn() { BuiltIn = true; }
    bool Verify() override;
    std::string GetName() override { return "Main Document"; }
    // The body lines, each followed by CR LF.
    std::string BodyText() const;

    std::string FileName;
    std::string ExpectedSignature;
    bool Valid = false;
    std::string DocName;
    std::string Title;
    std::string Description;
    bool PLFlag = false;
    bool WordHighlight = false;
    std::string DocFontTag;
    int32_t SortPriority = 100;
    bool BuiltIn = false;
    int32_t HeaderSize = 0;
    TStringList Body;
};

class TMainDocManager : public TVerifiableObject {
public:
    void Add(std::unique_ptr<TMainDoc> doc);
    // A document with the same link name is already listed.
    bool ContainsDoc(const TMainDoc& doc) const;
    // First document whose link name equals the name, trimmed and in any letter case; -1 when none.
    int IndexOfName(std::string_view name) const;
    // Adds every further valid "*.dbi" of the program folder, then sorts by priority.
    void LoadAll();
    int Count() const { return static_cast<int>(FDocs.size()); }
    // Raises ERangeError outside 0 .. Count - 1.
    TMainDoc& Items(int index) const;

    // Checks every document in turn; the results are informative only.
    bool Verify() override;
    std::string GetName() override { return "Main Documents Module"; }

    // The names LoadAll left out, with the reason (nothing shows them; kept
    // for the curious and for tests).
    const TStringList& Skipped() const { return FSkipped; }

private:
    std::vector<std::unique_ptr<TMainDoc>> FDocs;
    TStringList FSkipped;
};

// Opens the built-in documents from the program folder in their fixed order.
// A missing or damaged one is the fatal verification failure; it is listed all
// the same, as the program is ending.
void OpenBuiltInDocuments(TMainDocManager& manager);

// The version text that stands for "<VER>".
constexpr const char* kMainDocVersionText = "1.5";

// "<VER>" becomes the version text, then "<APP_IMG>" becomes "res://" and the
// full path of the program file. Letter case is significant.
std::string ExpandPlaceholders(std::string_view text, std::string_view versionText = kMainDocVersionText);
// The program file as "<APP_IMG>" names it: the program folder and the running file's name.
std::string MainDocProgramFile();

// Authoring: the stored lines of a document from its plain source (eight
// header lines, then the HTML body). The body is enciphered, its signature
// written into header line 0, then the header enciphered. Raises
// EConvertError listing the problems when the source does not pass
// CheckDocumentSource.
TStringList PackMainDocument(const TStringList& plain);
// Packs and writes a document file.
void WriteMainDocument(const std::string& fileName, const TStringList& plain);
// Problems in a plain document source, each "line N: problem" (N from 1);
// empty when the source is fine.
TStringList CheckDocumentSource(const TStringList& plain);
