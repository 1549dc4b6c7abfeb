#pragma once
// The Qur'an translation module: a resource library whose resource "QDATA"
// holds one scrambled line per surah and per verse.
#include "content/surahs.h"
#include "storage/signatures.h"
#include "storage/verification.h"
#include "util/strutils.h"

#include <memory>
#include <string>

class TResourceLibrary;

class TQuranHelper : public TVerifiableObject {
public:
    virtual void Load() = 0;
    virtual std::string SurahHeading(int surah);
    virtual std::string VerseText(int surah, int verse) = 0;
    virtual std::string VerseTextByRef(const std::string& ref);
    virtual int FindInVerse(int surah, int verse, const std::string& word, bool wholeWord,
                            bool caseSensitive);
};

class TQuranDLLHelper : public TQuranHelper {
public:
    // Runs Verify once; a failure has been reported by the time it returns.
    explicit TQuranDLLHelper(std::string moduleFile = "DAZaruro2.dll",
                             std::string expectedSignature = kSignatureQuranModule,
                             bool rightToLeft = false);
    ~TQuranDLLHelper() override;

    bool Verify() override;
    std::string GetName() override;
    void Load() override;
    std::string VerseText(int surah, int verse) override;

    const std::string& ModuleFile() const { return FModuleFile; }
    const std::string& ExpectedSignature() const { return FExpectedSignature; }
    bool RightToLeft() const { return FRightToLeft; }
    void SetRightToLeft(bool value) { FRightToLeft = value; }
    const TStringList& Lines() const { return FLines; }

private:
    std::string FModuleFile;
    std::string FExpectedSignature;
    bool FRightToLeft;
    TStringList FLines;
    std::unique_ptr<TResourceLibrary> FModuleHandle;
};

// HTML of one verse; of every verse of a range, joined by CR LF CR LF.
std::string VerseHtml(TQuranHelper& module, int surah, int verse, const std::string& image,
                      bool audio, bool bold, bool numbered);
std::string ExcerptHtml(TQuranHelper& module, const TQuranVerseRange& range,
                        const std::string& image, bool audio, bool bold);

extern const char* const kQuranModuleFile; // "DAZaruro2.dll"

class TQuranIndexHelper;
// The hierarchical index of the program folder's "QIndex.dbx": this unit
// creates it at start-up and releases it at shutdown; nothing loads it.
TQuranIndexHelper* QuranIndexHelper();
