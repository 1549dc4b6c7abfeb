#include "tools/spelling.h"

#include "content/glossary.h"
#include "util/strutils.h"

TSpellingAnswer WordSpellingQuery(TGlossaryHelper& glossary, const std::string& rawText) {
    TSpellingAnswer a;
    const std::string text = Trim(rawText);
    if (text.empty()) return a;
    const std::string spelling = glossary.ProperSpelling(text, false).Spelling;
    if (spelling != text) {
        a.Outcome = TSpellingAnswer::Corrected;
        a.Caption = spelling;
        a.ShowWord = spelling;
    } else if (glossary.LookupWord(text) < 0) {
        a.Outcome = TSpellingAnswer::NotInGlossary;
        a.Caption = kSpellingNotInGlossary;
    } else {
        a.Outcome = TSpellingAnswer::Correct;
        a.Caption = kSpellingCorrect;
        a.ShowWord = text;
        a.Tag = 1;
    }
    return a;
}
