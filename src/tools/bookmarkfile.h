#pragma once
// The bookmark file: the reader's collection, its backup and the files it is
// exported to and imported from share one format. One bookmark per CR LF
// line; line k is the record enciphered under key k; a record is the type
// number, the name, the description and the type's further fields, joined
// by "||".
//
//   TBookmarkReadResult r = ReadBookmarkFile(path);
//   if (!r.Complete) report(r.Error);      // r.Bookmarks: the lines before it
//   WriteBookmarkFile(path, bookmarks);    // through a temporary file
#include "util/errors.h"
#include "util/strutils.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum TBookmarkType : int32_t { btSubTopic = 0, btExcerpt = 1, btCommentary = 2, btGlossaryTerm = 3,
                               btSearchTerm = 4 };
inline constexpr int32_t kBookmarkTypeCount = 5;

// The type names by type number.
extern const char* const TypeNames[kBookmarkTypeCount];
// How many fields follow the description: 1, 1, 0, 1 and 3.
int FurtherFieldCount(int32_t type);

struct TBookmark {
    int32_t Type = btSubTopic;
    std::string Name;
    std::string Description;
    TStringList Fields; // the further fields of the type, in order
    bool operator==(const TBookmark&) const = default;
};

// A line of a bookmark file that is not a bookmark.
class EBookmarkFileError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};

// A field as it can be stored: "||" would end it early and a "|" at either
// end would join the separator, so runs of "|" become one and end bars go;
// blanks at the ends go as reading would drop them.
std::string BookmarkFieldText(std::string_view text);

// The plain record of a bookmark ("3||Iblis||Glossary Term: Iblis||Iblis").
std::string FormatBookmarkRecord(const TBookmark& b);
// Splits a record at every "||" and trims each field. Raises
// EBookmarkFileError for a type that is not a number from 0 to 4 and for
// fewer fields than the type calls for; more are ignored.
TBookmark ParseBookmarkRecord(std::string_view record);

struct TBookmarkReadResult {
    std::vector<TBookmark> Bookmarks; // every line read, up to the first failure
    bool Missing = false;             // the file does not exist
    bool Complete = false;            // every line was a bookmark
    std::string Error;                // why not, for the reader
};

// Files larger than this are not read: no collection comes near it.
inline constexpr int64_t kMaxBookmarkFileBytes = 64ll << 20;

// Reads the file line by line. beforeEachLine runs before each line is read.
TBookmarkReadResult ReadBookmarkFile(const std::string& fileName,
                                     const std::function<void()>& beforeEachLine = {});
// Writes every bookmark in order, replacing the file only once all of them
// are written (EInOutError on failure, the old file then stays).
void WriteBookmarkFile(const std::string& fileName, const std::vector<TBookmark>& bookmarks);
