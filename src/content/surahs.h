#pragma once
// Qur'an references: the surah table and the text forms of verses and ranges.
#include <cstdint>
#include <string>
#include <string_view>

// A run of verses; every range built here has the same surah at both ends.
struct TQuranVerseRange {
    int32_t FromSurah = 0;
    int32_t FromVerse = 0;
    int32_t ToSurah = 0;
    int32_t ToVerse = 0;
    bool operator==(const TQuranVerseRange&) const = default;
};

constexpr int32_t kSurahCount = 114;
constexpr int32_t kQuranVerseCount = 6236;
// Lines of the translation module: one per surah plus one per verse.
constexpr int32_t kQuranModuleLineCount = 6350;

// "Al-Qur'an, %s (%s)\r\n%s": range text, surah title (form 2), a further line.
extern const char* const QuranQuoteFormat;

bool IsValidSurah(int32_t surah);
// Form 0: the name; 1: the meaning; 2: name " [" meaning "]". Empty for an
// invalid surah or form.
std::string SurahTitle(int32_t surah, int form);
// Both raise ERangeError outside 1 to 114.
int32_t VerseCount(int32_t surah);
int32_t SurahLineOffset(int32_t surah);
// Counted through the whole Qur'an from 1; the verse is not checked against
// the surah's count. ERangeError for a surah above 115.
int32_t AbsoluteVerse(int32_t surah, int32_t verse);

// A number with exactly three digits: leading zeros, or the first three digits
// of a longer number.
std::string ThreeDigitText(int32_t value);
// "002.255"
std::string FormatVerseRef(int32_t surah, int32_t verse);
bool IsVerseRef(std::string_view text);
// Both 0 unless IsVerseRef.
void ParseVerseRef(std::string_view text, int32_t& surah, int32_t& verse);
TQuranVerseRange VerseRangeOf(int32_t surah, int32_t verse);
// The single verse named before the first "-" (or by the whole text).
TQuranVerseRange ParseVerseRangeStart(std::string_view text);
bool IsSingleVerse(const TQuranVerseRange& range);
// "002.255", "255", "007.011-025" or "011-025"; a first verse of 800 is verse 1.
std::string FormatVerseRange(const TQuranVerseRange& range, bool withSurah);
// The name of a well-known verse for its exact reference text, else the text.
std::string VerseAlias(std::string_view ref);
// QuranQuoteFormat filled in.
std::string FormatQuranQuote(std::string_view rangeText, std::string_view surahTitle,
                             std::string_view furtherLine);
