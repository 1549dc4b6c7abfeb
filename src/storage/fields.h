#pragma once
// Tagged fields: "<<" tag ":" value ">>", several on a line joined by "|".
// Readers take a field with TextBetween and an end marker that cannot occur
// earlier on the line (">>|<<", ">>+"), or take the last field with
// TextAfter and drop its ">>".
#include "util/strutils.h"

#include <cstdint>
#include <string>
#include <string_view>

// TextBetween(line, startMarker, endMarker).
std::string FieldText(std::string_view line, std::string_view startMarker, std::string_view endMarker);
// The line's last field: the text after the start marker, without ">>".
std::string LastFieldText(std::string_view line, std::string_view startMarker);
// The value as a number when it is a whole number, else the default.
int32_t FieldNumber(std::string_view value, int32_t defaultValue);
// True when the value, trimmed, is "TRUE" in any letter case.
bool FieldFlag(std::string_view value);
// "<<" tag ":" value ">>".
std::string MakeField(std::string_view tag, std::string_view value);
// Fields joined by "|".
std::string JoinFields(const TStringList& fields);
