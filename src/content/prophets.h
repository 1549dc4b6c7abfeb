#pragma once
// The prophets table, their display names and blessings, the records of a
// loaded story and the location texts that point into a story.
#include "content/surahs.h"
#include "util/strutils.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int32_t kProphetCount = 29;

// Appended to the prophet's display name at the root of the story outline.
extern const char* const kPeaceBeUponHim; // " (Peace be upon him)"

// Form 0: the name; 1: the English name; 2: name " [" English name "]".
// ERangeError outside 1 to 29; an unknown form gives an empty text.
std::string ProphetName(int32_t prophet, int form);
// Form 0: the short blessing of the prophet's row; 1: the long one; another
// form gives an empty text. ERangeError outside 1 to 29.
std::string ProphetBlessing(int32_t prophet, int form);
// The blessing form of the prophet's row: 0 for one person, 1 for more.
int ProphetBlessingForm(int32_t prophet);
// The first prophet whose name, English name or form-2 name equals the text,
// trimmed and ignoring letter case; -1 when none does.
int32_t FindProphet(std::string_view name);

// One sub-topic heading of a story.
struct TProphetsTopics {
    std::string Title;
    int32_t Index = 0;
};

// One Qur'an excerpt of a story.
struct TQuranExcerpt {
    TQuranVerseRange Range;
    std::string SourceLine;  // the marker line, trimmed
    int32_t TopicIndex = -1; // the last heading above it, -1 for none
};

// One prophet's story.
struct TProphetStory {
    TStringList Lines;
    bool Loaded = false;
    std::vector<TProphetsTopics> Topics;
    std::vector<TQuranExcerpt> Excerpts;
};

// Story line syntax: "++" alone is an empty line; a line holding "<[" is a
// heading "<[" title "]>"; a line holding "<<" is an excerpt marker.
bool IsEmptyStoryLine(std::string_view line);
bool IsStoryHeading(std::string_view line);
std::string StoryHeadingTitle(std::string_view line);
bool IsExcerptMarker(std::string_view line);
// "<<" surah ":" verse ">>" or "<<" surah ":" first "-" last ">>". A surah
// that is not a number gives surah 0 (and verses 0); a verse part that is
// not a number raises EConvertError.
TQuranVerseRange ParseExcerptMarker(std::string_view line);

// "016+004" and "003*000"; parsing an empty text gives 0 and 0, a part that is
// not a number raises EConvertError.
std::string FormatTopicLocation(int32_t prophet, int32_t topic);
void ParseTopicLocation(std::string_view text, int32_t& prophet, int32_t& topic);
std::string FormatExcerptLocation(int32_t prophet, int32_t excerpt);
void ParseExcerptLocation(std::string_view text, int32_t& prophet, int32_t& excerpt);
