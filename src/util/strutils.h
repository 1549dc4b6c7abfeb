#pragma once
// Free functions over 8-bit strings (one byte per character, Windows-1252).
// Case-insensitive comparisons fold only the ASCII letters; trimming removes
// codes 0 to 32. Positions are 1-based (0 for none); offsets are 0-based (-1).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using TStringList = std::vector<std::string>;

// Search and test
bool Contains(std::string_view sub, std::string_view text);
int PosFrom(std::string_view sub, std::string_view text, int start);
int Pos(std::string_view sub, std::string_view text);
int FindWholeWord(std::string_view word, std::string_view text, bool caseSensitive);
int FindFrom(std::string_view word, std::string_view text, int start, bool wholeWord,
             bool caseSensitive);
bool IsWordDelimiter(char c);
bool SameTextTrimmed(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool IsYes(std::string_view text);
int IndexOfSameText(const TStringList& list, std::string_view text);

// Cutting
std::string TextBefore(std::string_view text, std::string_view sep);
std::string TextAfter(std::string_view text, std::string_view sep);
std::string TextBetween(std::string_view text, std::string_view open, std::string_view close);
char FirstChar(std::string_view text);
char LastChar(std::string_view text);

// Replacing and building
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText);
std::string RemoveAll(std::string_view text, std::string_view sub);
std::string ReverseText(std::string_view text);
std::string QuoteText(std::string_view text);
std::string DoubleQuoted(std::string_view text);
std::string PadLeft(std::string_view text, int width, char pad);
std::string ZeroPad(int value, int width);

// Splitting and lists
TStringList SplitLines(std::string_view text);
TStringList SplitToList(std::string_view text, std::string_view delimiter);
TStringList SplitTrimmed(std::string_view text, std::string_view delimiter);
TStringList SplitCommas(std::string_view text);
void TrimAllItems(TStringList& list);

// Numbers and text
bool IsInteger(std::string_view text);
// Converts a trimmed decimal (or "$"/"0x" hexadecimal) 32-bit integer; false when it is none.
bool TryStrToInt(std::string_view text, int32_t& value);
// As TryStrToInt, raising EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view text);
std::string DigitChar(int d);
std::string ToBase(int base, uint32_t value);
int CompareInt(int a, int b);
int Negate(int value);

// Trimming and case
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// HTML fragments. Colours are 0x00BBGGRR.
std::string FontTag(std::string_view face, std::string_view size, std::string_view color);
std::string HtmlColor(uint32_t color);

// Files
void SaveTextToFile(std::string_view text, const std::string& fileName);

// System colours (high byte set) are resolved through this hook, which the
// window layer installs; without it they keep their low 24 bits.
using TSystemColorResolver = uint32_t (*)(uint32_t);
void SetSystemColorResolver(TSystemColorResolver resolver);
