#pragma once
// The glossary of Islamic and Arabic terms: "QGloss.dbx", enciphered lines
// that come in pairs, a term line ("<<T:" headword ">>|<<O:" alternate
// spellings ">>", optionally "|<<RW:" preferred spellings ">>", optionally
// "[P]") followed by its meaning line (HTML).
#include "storage/verification.h"
#include "util/strutils.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/signatures.h"

// The glossary file's name in the program folder.
constexpr const char* kGlossaryFileName = "QGloss.dbx";

struct TGlossaryTerm {
    std::string Term;
    std::string AltSpellings;
    std::string Meaning;
    std::string PreferredSpellings;
    bool PFlag = false;
};

struct TProperSpelling {
    std::string Spelling;
    bool PreferredUsed = false;
};

class TGlossaryHelper : public TVerifiableObject {
public:
    // Stores the path and the signature the file must have; reads nothing yet.
    // The shipped file's signature is the default once the build has made it.
    explicit TGlossaryHelper(std::string fileName,
                             std::string expectedSignature = std::string(kSignatureGlossary));

    // Reads the file into Terms. A missing or unreadable file raises
    // EInOutError and a damaged line the cipher's error; either way the
    // module stays as it was (unloaded at first).
    void Load();
    // Compares the file's signature; a mismatch is the fatal verification failure.
    bool Verify() override;
    std::string GetName() override { return "Glossary Module"; }

    // Replaces the list with every headword in table order, empty entries
    // included. Does not load the file.
    void FillTerms(TStringList& list) const;
    // Raises ERangeError outside the table.
    TGlossaryTerm GetTerm(int index) const;
    int Count() const { return static_cast<int>(Terms.size()); }

    // The first entry the word names (headword in any letter case, or an
    // alternate spelling); -1 when none. Loads the file first if needed.
    int FindTerm(std::string_view word);
    // FindTerm after trimming and dropping possessives and a plural "s".
    int LookupWord(std::string_view word);
    // The headword (or, when asked and present, the first preferred spelling)
    // for the word; the word itself when the glossary does not know it.
    TProperSpelling ProperSpelling(std::string_view word, bool usePreferred);
    // The HTML page of one entry, headword in the given colour (0x00BBGGRR).
    std::string TermPage(int index, uint32_t colour) const;

    // Term lines the table had no room for and meaning lines with no term
    // above them, by line number (from 0); they are left out.
    const std::vector<int>& SkippedLines() const { return FSkippedLines; }

    const std::string FileName;
    std::vector<TGlossaryTerm> Terms;
    bool Loaded = false;

private:
    // Loads unless loaded; a file that cannot be read leaves the look-ups empty.
    bool EnsureLoaded();

    std::string FExpectedSignature;
    std::vector<int> FSkippedLines;
};

// The number of entries a glossary of that many lines has room for: half,
// an odd count's half going to the nearest even number (7 and 9 give 4).
int GlossaryTableSize(int lineCount);

// Authoring: the stored lines of the glossary file (each line enciphered
// under its index). Raises EConvertError listing the problems when the source
// does not pass CheckGlossarySource.
TStringList PackGlossary(const TStringList& plain);
void WriteGlossary(const std::string& fileName, const TStringList& plain);
// Problems in a plain glossary source, each "line N: problem" (N from 1);
// empty when the source is fine.
TStringList CheckGlossarySource(const TStringList& plain);
