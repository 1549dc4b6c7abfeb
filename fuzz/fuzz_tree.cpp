// Any file may be a tree data file: it loads or raises one of the program's
// errors, and what loaded is a tree that writes out again.
#include "fuzz_target.h"
#include "storage/tree.h"
#include "util/errors.h"

HALVORA_FUZZ_TARGET(tree) {
    TQuranIndexHelper index(FuzzInputFile(data, size, ".tree"));
    index.CreateDataObjects = true;
    try {
        index.LoadFromFile();
    } catch (const EHalvoraError&) {
    }
    TStringList lines;
    index.SaveToStrings(&lines, true);
    for (TVrnTreeItem* node = index.First(); node; node = node->GetNext()) node->Level();
    return 0;
}
