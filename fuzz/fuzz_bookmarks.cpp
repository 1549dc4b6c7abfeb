// Any file may be the bookmark collection: it reads as the bookmarks before
// the first bad line and a reason, and never anything else.
#include "fuzz_target.h"
#include "tools/bookmarkfile.h"

HALVORA_FUZZ_TARGET(bookmarks) {
    TBookmarkReadResult r = ReadBookmarkFile(FuzzInputFile(data, size, ".dbx"));
    if (!r.Complete && !r.Missing && r.Error.empty()) __builtin_trap();
    for (const TBookmark& b : r.Bookmarks) FormatBookmarkRecord(b);
    return 0;
}
