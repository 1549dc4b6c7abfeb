// Any file may be a main document: loading never fails, and a damaged file is
// not valid.
#include "fuzz_target.h"
#include "content/documents.h"

HALVORA_FUZZ_TARGET(document) {
    TMainDoc doc(FuzzInputFile(data, size, ".dbi"));
    if (doc.Valid) doc.BodyText();
    ExpandPlaceholders(doc.Title);
    return 0;
}
