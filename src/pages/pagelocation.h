#pragma once
// Where the reader is: a page of the prophets tree and a character position
// in it, as a text the page history and the settings file keep.
#include <cstdint>
#include <string>
#include <string_view>

struct TPageLocation {
    enum Kind { None, Welcome, Document, Story };
    Kind Page = None;
    std::string DocName; // a document's link name (Document)
    int32_t Prophet = 0; // 1 to 29 (Story)
    int32_t Position = 0; // the character at the top of the view

    // The same page, wherever in it.
    bool SamePage(const TPageLocation& other) const {
        return Page == other.Page && DocName == other.DocName && Prophet == other.Prophet;
    }
    bool operator==(const TPageLocation&) const = default;
};

// "welcome@0", "doc:MDOC_Intro@120", "story:7@5400"; None gives an empty text.
std::string FormatPageLocation(const TPageLocation& location);
// None for anything FormatPageLocation does not write (a hand-edited or damaged text).
TPageLocation ParsePageLocation(std::string_view text);
