#pragma once
// Module files: splitting stored text into lines and deciphering each line
// under its index.
#include "util/strutils.h"

#include <string>
#include <string_view>

// Splits at CR LF, lone CR or lone LF; a last line without an ending counts;
// empty text gives no lines.
TStringList ReadTextLines(std::string_view bytes);
// Reads a whole file into lines; false when the file cannot be read.
bool ReadFileLines(const std::string& fileName, TStringList& lines);
// Deciphers every line in place with its index as key (raises the cipher's errors).
void DecipherLines(TStringList& lines);
// Enciphers every line in place with its index as key.
void EncipherLines(TStringList& lines);
// Writes lines, each followed by CR LF, through a temporary file and a rename.
void WriteFileLines(const std::string& fileName, const TStringList& lines);
