#pragma once
// The glossary window's word spelling query: how a typed word is spelled in
// the glossary, as the answer the window shows.
#include <string>

class TGlossaryHelper;

struct TSpellingAnswer {
    enum TOutcome { NoQuery, Corrected, NotInGlossary, Correct };
    TOutcome Outcome = NoQuery;
    // The text for the result label: the glossary's spelling, or a verdict.
    std::string Caption;
    // The word whose entry the window shows (empty: none).
    std::string ShowWord;
    // 1 when the typed spelling is the glossary's own.
    int Tag = 0;
};

inline constexpr const char* kSpellingNotInGlossary = "Word is not in the Glossary!";
inline constexpr const char* kSpellingCorrect = "The spelling you entered is Correct!";

// A blank text asks nothing (NoQuery). A text the glossary spells otherwise
// (other letter case, an alternate spelling) gives the headword; a text it
// knows as written (also as a plural or possessive) is correct.
TSpellingAnswer WordSpellingQuery(TGlossaryHelper& glossary, const std::string& text);
