// Any file may be the glossary: it loads or raises one of the program's
// errors, and every look-up over what loaded answers.
#include "fuzz_target.h"
#include "content/glossary.h"
#include "util/errors.h"

HALVORA_FUZZ_TARGET(glossary) {
    TGlossaryHelper glossary(FuzzInputFile(data, size, ".dbx"), "");
    try {
        glossary.Load();
    } catch (const EHalvoraError&) {
        return 0;
    }
    TStringList terms;
    glossary.FillTerms(terms);
    for (int i = 0; i < glossary.Count() && i < 64; ++i) {
        TGlossaryTerm t = glossary.GetTerm(i);
        glossary.TermPage(i, 0x00112233);
        glossary.LookupWord(t.Term + "'s");
        glossary.ProperSpelling(t.AltSpellings, true);
    }
    glossary.LookupWord("Prophets");
    return 0;
}
